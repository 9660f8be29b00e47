// The card's templates and decimals on a real database: which templates a user may choose, the
// default one, the views and voucher checks with their messages, the decimals written to the card
// and the print template, and where the print commands go.
#include "CardFixture.h"
#include "FakeCardParts.h"

#include "card/CardTemplates.h"
#include "host/ReportRunner.h"
#include "platform/Recordset.h"
#include "platform/SchemaSeed.h"

namespace {

const QString kNoPermission = QStringLiteral("没有任何显示模板权限，请检查！");
const QString kNoPrintTemplate = QStringLiteral("当前没有可用的打印模板");

class RecordingRunner final : public ReportRunner
{
public:
    RecordingRunner() { install(this); }
    ~RecordingRunner() override { install(nullptr); }
    QString ReportExec(const QString &, const QString &, const QString &card, const QString &id, const QString &mode,
                       const QString &, const QString &, const QString &options) override
    {
        calls << QStringList{card, id, mode, options};
        return {};
    }
    QList<QStringList> calls;
};

class CardTemplatesOnDb : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        db.exec(QStringLiteral("INSERT INTO vouchertemplates (VT_ID, VT_Name, VT_CardNumber, VT_TemplateMode) "
                               "VALUES (180103, '简易显示', '1801', 0)"));
    }
    CardTemplates templates() { return CardTemplates(db.cnn(), permission); }
    QList<int> ids(const QList<TemplateChoice> &list)
    {
        QList<int> out;
        for (const TemplateChoice &c : list)
            out << c.id;
        return out;
    }

    FakeDataPermission permission;
};

TEST_P(CardTemplatesOnDb, the_template_permission_decides_the_list)
{
    auto all = templates().GetTemplateList(QStringLiteral("1801"), CardTemplates::Display);
    ASSERT_TRUE(all) << all.error().toStdString();
    EXPECT_EQ(ids(*all), (QList<int>{SchemaSeed::kDisplayTemplateId, 180103}));

    permission.kinds[QStringLiteral("DJMB")] = QStringLiteral("180103,180102");
    EXPECT_EQ(ids(templates().GetTemplateList(QStringLiteral("1801"), CardTemplates::Display).value_or({})),
              QList<int>{180103});
    EXPECT_EQ(ids(templates().GetTemplateList(QStringLiteral("1801"), CardTemplates::Print).value_or({})),
              QList<int>{SchemaSeed::kPrintTemplateId});

    // None, or an answer that is a condition rather than a list, lets nothing through; an
    // identifier list cannot smuggle SQL in.
    for (const char *answer : {"1=2", "1=1", "VT_ID=180101", "180101) or (1=1"}) {
        SCOPED_TRACE(answer);
        permission.kinds[QStringLiteral("DJMB")] = QString::fromLatin1(answer);
        auto none = templates().GetTemplateList(QStringLiteral("1801"), CardTemplates::Display);
        ASSERT_FALSE(none);
        EXPECT_EQ(none.error(), kNoPermission);
    }
    permission.kinds.clear();
    EXPECT_EQ(templates().GetTemplateList(QStringLiteral("1802"), CardTemplates::Print).error(), kNoPermission);
}

TEST_P(CardTemplatesOnDb, the_default_is_the_chosen_one_then_the_cards_then_the_first)
{
    const QList<TemplateChoice> both{{SchemaSeed::kDisplayTemplateId, {}}, {180103, {}}};
    const QString card = QStringLiteral("1801");
    EXPECT_EQ(templates().GetDefaultTemplate(card, both, 180103, CardTemplates::Display).value_or(0), 180103);
    EXPECT_EQ(templates().GetDefaultTemplate(card, both, 999, CardTemplates::Display).value_or(0),
              SchemaSeed::kDisplayTemplateId);
    // The card's default is not among those the user may use.
    const QList<TemplateChoice> other{{180103, {}}};
    EXPECT_EQ(templates().GetDefaultTemplate(card, other, 0, CardTemplates::Display).value_or(0), 180103);

    EXPECT_EQ(templates().GetDefaultTemplate(card, {}, 0, CardTemplates::Display).error(),
              QStringLiteral("没有可以显示的模板，请检查！"));
    EXPECT_EQ(templates().GetDefaultTemplate(card, {}, 0, CardTemplates::Print).error(),
              QStringLiteral("没有可以打印的模板，请检查！"));
}

TEST_P(CardTemplatesOnDb, views_and_vouchers_that_are_not_there_are_named)
{
    auto views = templates().GetVoucherViews(QStringLiteral("1801"));
    ASSERT_TRUE(views);
    EXPECT_EQ(views->first.toLower(), QStringLiteral("v_managesample"));
    EXPECT_EQ(templates().GetVoucherViews(QStringLiteral("9999")).error(),
              QStringLiteral("没有可用的表头、表体视图，请检查！"));

    SampleWriter(db).voucher(7, QStringLiteral("YP007"));
    const QString table = QStringLiteral("ManageSample");
    const QString key = QStringLiteral("iAutoID");
    EXPECT_EQ(templates().CheckVoucherExists(table, key, QStringLiteral("7"), QStringLiteral("ccode")), QString());
    EXPECT_EQ(templates().CheckVoucherExists(table, key, QStringLiteral(" "), QStringLiteral("ccode")),
              QStringLiteral("没有单据，请检查！"));
    EXPECT_EQ(templates().CheckVoucherExists(table, key, QStringLiteral("8"), QStringLiteral("ccode")),
              QStringLiteral("不存在该单据，请检查！"));
    // The identifier is bound: text that would change the statement finds nothing.
    EXPECT_EQ(templates().CheckVoucherExists(table, key, QStringLiteral("8 or 1=1"), QStringLiteral("ccode")),
              QStringLiteral("不存在该单据，请检查！"));
}

TEST_P(CardTemplatesOnDb, decimals_come_from_the_options_and_reach_the_print_template)
{
    auto numPoint = [this](const char *field) {
        auto v = db.cnn().Scalar(QStringLiteral("SELECT NumPoint FROM voucheritems_prn WHERE fieldname = ?"),
                                 {QString::fromLatin1(field)});
        return v ? v->toInt() : -1;
    };
    FakeCardControl card;
    card.headFields << QStringLiteral("isellcost") << QStringLiteral("imakecharge") << QStringLiteral("cmemo");
    card.bodyFields << QStringLiteral("imaterialcharge") << QStringLiteral("iprodchangrate");

    // No options at all: every count is 2.
    db.exec(QStringLiteral("DELETE FROM AccInformation WHERE cSysID = 'AA'"));
    ASSERT_TRUE(templates().ApplyDecimals(card));
    EXPECT_EQ(card.decimals.value(QStringLiteral("head:isellcost")), 2);
    EXPECT_EQ(card.decimals.value(QStringLiteral("body:ipsquantity")), 2);
    EXPECT_EQ(card.decimals.value(QStringLiteral("body:iprodchangrate")), 2);
    EXPECT_FALSE(card.decimals.contains(QStringLiteral("head:cmemo")));
    for (const char *field : {"isellcost", "imaterialcharge", "ipsquantity", "tdqtyd", "iprodchangrate"})
        EXPECT_EQ(numPoint(field), 2) << field;

    // A value, or the fallback when the value is empty.
    db.exec(QStringLiteral("INSERT INTO AccInformation (cSysID, cName, cValue, cDefault) VALUES "
                           "('AA', 'istrspridecdgt', '4', '2'), ('AA', 'istrsquandecdgt', '', '3'), "
                           "('AA', 'iexchratedecdgt', '6', '2')"));
    ASSERT_TRUE(templates().ApplyDecimals(card));
    EXPECT_EQ(card.decimals.value(QStringLiteral("head:isellcost")), 4);
    EXPECT_EQ(card.decimals.value(QStringLiteral("head:imakecharge")), 2);
    EXPECT_EQ(card.decimals.value(QStringLiteral("head:isellexch")), 4);
    EXPECT_EQ(card.decimals.value(QStringLiteral("body:imaterialcharge")), 4);
    EXPECT_EQ(card.decimals.value(QStringLiteral("body:tdqtyd")), 3);
    EXPECT_EQ(card.decimals.value(QStringLiteral("body:iprodchangrate")), 6);
    EXPECT_EQ(numPoint("isellcost"), 4);
    EXPECT_EQ(numPoint("tdqtyd"), 3);
    EXPECT_EQ(numPoint("iprodchangrate"), 6);
    EXPECT_EQ(numPoint("imaterialcost"), 2) << "a fixed count stays";
}

TEST(CardTemplateCombos, fill_in_order_and_read_the_print_template_before_the_blank)
{
    FakeTemplateCombo combo;
    CardTemplates::FillTemplateCombo(combo, {{180101, QStringLiteral("甲")}, {180105, QStringLiteral("乙 丙")}},
                                     180105);
    EXPECT_EQ(combo.entries, (QStringList{QStringLiteral("180101 甲"), QStringLiteral("180105 乙 丙")}));
    EXPECT_EQ(CardTemplates::GetPrintTemplateID(combo).value_or(0), 180105);
    CardTemplates::FillTemplateCombo(combo, {}, 0);
    EXPECT_EQ(CardTemplates::GetPrintTemplateID(combo).error(), kNoPrintTemplate);
}

// The card over two samples: the template lists at show, and the print commands.
class CardPrintCommands : public CardTest
{
protected:
    void seed() override { seedTwoSamples(SchemaSeed::kDisplayTemplateId); }
    RecordingRunner runner;
};

TEST_P(CardPrintCommands, the_card_opens_with_both_choosers_filled)
{
    EXPECT_TRUE(view->showCombo.chosen.startsWith(QStringLiteral("180101 ")));
    EXPECT_EQ(view->printCombo.entries, QStringList{QStringLiteral("180102 样品接单管理打印模版")});
    EXPECT_TRUE(control().decimals.contains(QStringLiteral("head:isellexch")));
}

TEST_P(CardPrintCommands, a_user_without_templates_cannot_open_the_card)
{
    card->Unload();
    permission = std::make_shared<FakeDataPermission>();
    permission->kinds[QStringLiteral("DJMB")] = QStringLiteral("1=2");
    messages.shown.clear();
    EXPECT_FALSE(show({}, 1));
    EXPECT_EQ(error, kNoPermission);
}

TEST_P(CardPrintCommands, print_preview_and_output_hand_the_template_to_the_card_control)
{
    const qint64 printRows = db.count(QStringLiteral("voucheritems_prn"), QStringLiteral("VT_ID = 180102"));
    const qint64 showRows = db.count(QStringLiteral("voucheritems"), QStringLiteral("VT_ID = 180101"));
    dispatch(QStringLiteral("tlbPrint"));
    dispatch(QStringLiteral("tlbPreview"));
    dispatch(QStringLiteral("tlbSend"));
    EXPECT_EQ(control().printed,
              (QStringList{QStringLiteral("print:%1").arg(printRows), QStringLiteral("preview:%1").arg(printRows),
                           QStringLiteral("export:%1").arg(showRows)}));
    EXPECT_TRUE(runner.calls.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(CardPrintCommands, the_new_print_commands_go_to_the_report_runner_with_their_mode)
{
    control().head[QStringLiteral("iautoid")] = state().strVoucherID;
    for (const char *item : {"newprint", "newpreview", "newdesign", "somethingelse"})
        card->PrintMenuClick(QString::fromLatin1(item));
    ASSERT_EQ(runner.calls.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(runner.calls[i][0], QStringLiteral("1801"));
        EXPECT_EQ(runner.calls[i][1], state().strVoucherID);
        EXPECT_EQ(runner.calls[i][3], QStringLiteral("AllowPrint=True"));
    }
    EXPECT_EQ(runner.calls[1][2], QStringLiteral("preview"));
    EXPECT_EQ(runner.calls[2][2], QStringLiteral("design"));
}

TEST_P(CardPrintCommands, without_a_print_template_nothing_prints_and_the_user_is_told)
{
    control().head[QStringLiteral("iautoid")] = state().strVoucherID;
    view->printCombo.chosen.clear();
    card->PrintMenuClick(QStringLiteral("newpreview"));
    dispatch(QStringLiteral("tlbPrint"));
    EXPECT_TRUE(runner.calls.isEmpty());
    EXPECT_TRUE(control().printed.isEmpty());
    EXPECT_EQ(messages.texts(), (QStringList{kNoPrintTemplate, kNoPrintTemplate}));
}

TEST_P(CardPrintCommands, a_voucher_deleted_meanwhile_is_not_printed)
{
    control().head[QStringLiteral("iautoid")] = state().strVoucherID;
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = ?"), {state().strVoucherID.toInt()});
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = ?"), {state().strVoucherID.toInt()});
    dispatch(QStringLiteral("tlbPrint"));
    card->PrintMenuClick(QStringLiteral("newprint"));
    EXPECT_TRUE(runner.calls.isEmpty());
    EXPECT_TRUE(control().printed.isEmpty());
    EXPECT_EQ(messages.texts().value(0), QStringLiteral("不存在该单据，请检查！"));
}

INSTANTIATE_TEST_SUITE_P(Db, CardTemplatesOnDb, ORVANE_BOTH_BACKENDS);
INSTANTIATE_TEST_SUITE_P(Db, CardPrintCommands, ORVANE_BOTH_BACKENDS);

} // namespace
