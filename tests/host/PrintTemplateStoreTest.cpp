// Print templates kept in the template tables: read, edited and stored whole or not at all, and the
// layout, fixed items and printer settings the voucher engine passes on.
#include "support/TestDatabase.h"

#include "host/TemplateService.h"
#include "platform/Recordset.h"
#include "platform/SchemaSeed.h"

namespace {

const int kPrint = SchemaSeed::kPrintTemplateId;

class PrintTemplates : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override { ORVANE_REQUIRE(db); }
    TemplateService service() { return TemplateService(db.cnn()); }

    TestDatabase db{GetParam()};
};

TEST_P(PrintTemplates, the_demo_print_template_lays_out_every_item_the_card_shows)
{
    auto t = service().printTemplate(kPrint);
    ASSERT_TRUE(t) << t.error().toStdString();
    EXPECT_EQ(t->title, QStringLiteral("样品接单管理"));
    EXPECT_TRUE(t->setting.landscape);
    EXPECT_EQ(db.count(QStringLiteral("voucheritems"), QStringLiteral("VT_ID = 180101 AND bShow = 1")),
              t->head.size() + t->body.size());
    auto field = [](const QList<PrintItem> &items, const QString &name) {
        for (const PrintItem &i : items) {
            if (i.field == name)
                return i;
        }
        return PrintItem{};
    };
    EXPECT_EQ(field(t->head, QStringLiteral("ccode")).caption, QStringLiteral("单据号"));
    EXPECT_TRUE(field(t->head, QStringLiteral("ccode")).shown);
    EXPECT_EQ(field(t->body, QStringLiteral("ipsquantity")).decimals, 2);
    EXPECT_EQ(field(t->body, QStringLiteral("cpscode")).decimals, -1);

    EXPECT_EQ(service().printTemplate(SchemaSeed::kDisplayTemplateId).error(),
              QStringLiteral("打印模板[180101]不存在，请检查！"))
        << "a display template is not printed";
}

TEST_P(PrintTemplates, an_edited_layout_is_stored_whole_or_not_at_all)
{
    PrintTemplate t = service().printTemplate(kPrint).value_or({});
    ASSERT_GE(t.body.size(), 2);
    std::swap(t.body[0].order, t.body[1].order);
    t.body[0].caption = QStringLiteral("零件编码");
    t.body[0].width = 20;
    t.body[1].shown = false;
    t.setting = {QStringLiteral("A3"), false};
    ASSERT_TRUE(service().savePrintTemplate(t));
    const PrintTemplate stored = service().printTemplate(kPrint).value_or({});
    EXPECT_EQ(stored.setting.toText(), QStringLiteral("A3;portrait"));
    // Read back in the new order: the former second column comes first.
    EXPECT_EQ(stored.body[1].caption, QStringLiteral("零件编码"));
    EXPECT_EQ(stored.body[1].width, 20);
    EXPECT_FALSE(stored.body[0].shown);

    // One item the template does not have: nothing of the edit is kept.
    PrintTemplate broken = stored;
    broken.setting = {QStringLiteral("A5"), true};
    broken.head[0].caption = QStringLiteral("改过的标题");
    broken.body.append({QStringLiteral("nosuchfield"), QStringLiteral("无"), 99, 0, -1, true});
    auto refused = service().savePrintTemplate(broken);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), QStringLiteral("打印模板[180102]中没有项目[nosuchfield]，请检查！"));
    const PrintTemplate after = service().printTemplate(kPrint).value_or({});
    EXPECT_EQ(after.setting.toText(), QStringLiteral("A3;portrait"));
    EXPECT_EQ(after.head[0].caption, stored.head[0].caption);
}

TEST_P(PrintTemplates, the_engine_calls_read_layout_and_fixed_items_and_keep_settings)
{
    auto layout = service().format(QStringLiteral("1801"), QString::number(kPrint));
    ASSERT_TRUE(layout) << layout.error().toStdString();
    EXPECT_EQ(layout->RecordCount(), db.count(QStringLiteral("voucheritems_prn"), QStringLiteral("VT_ID = 180102")));
    auto shown = service().format(QStringLiteral("1801"), QStringLiteral("180101"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->RecordCount(), db.count(QStringLiteral("voucheritems"), QStringLiteral("VT_ID = 180101")));
    EXPECT_EQ(service().format(QStringLiteral("1802"), QStringLiteral("180101")).value_or({}).RecordCount(), 0)
        << "another card's layout is not handed out";
    EXPECT_EQ(service().format(QStringLiteral("1801"), QStringLiteral("18x")).error(),
              QStringLiteral("模板号[18x]无效，请检查！"));

    auto fixed = TemplateService::fixedItems(db.connectionString(), QString::number(kPrint));
    ASSERT_TRUE(fixed) << fixed.error().toStdString();
    EXPECT_EQ(fixed->text(QStringLiteral("VT_Title")), QStringLiteral("样品接单管理"));

    EXPECT_EQ(service().savePrintSetting(QString::number(kPrint), QStringLiteral("Letter;portrait")).value_or(-1), 1);
    EXPECT_EQ(service().printTemplate(kPrint).value_or({}).setting.paper, QStringLiteral("Letter"));
    EXPECT_EQ(service().savePrintSetting(QStringLiteral("999999"), QStringLiteral("A4")).value_or(-1), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, PrintTemplates, ORVANE_BOTH_BACKENDS);

TEST(PrintSettingText, unknown_parts_keep_the_default)
{
    EXPECT_EQ(PrintSetting::fromText(QStringLiteral("a3;LANDSCAPE")).toText(), QStringLiteral("A3;landscape"));
    EXPECT_EQ(PrintSetting::fromText(QStringLiteral("B9;sideways")).toText(), QStringLiteral("A4;portrait"));
    EXPECT_EQ(PrintSetting::fromText(QString()).toText(), QStringLiteral("A4;portrait"));
}

} // namespace
