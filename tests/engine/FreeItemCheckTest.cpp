#include "ReferenceData.h"

#include "engine/basVoucher.h"
#include "platform/SchemaSeed.h"

#include <QDate>

namespace {

const QString kNotListed = QStringLiteral("[颜色]录入错误，请检查！");
const QString kNotUsed = QStringLiteral("该存货没有启用[颜色]设置，不能输入！");

} // namespace

class FreeItems : public ReferenceDataTest
{
protected:
    QString free2(const QString &value, QString templateId = QString::number(SchemaSeed::kDisplayTemplateId))
    {
        returned = VoucherDocument();
        built = false;
        return engine.CheckFree2(QStringLiteral("cfree1"), value, QStringLiteral("A001"), &returned, templateId,
                                 section, built);
    }

    void allowNewEntries(const QString &cardSection, bool allow)
    {
        db.exec(QStringLiteral("UPDATE voucheritems SET BuildArchives = ? WHERE VT_ID = ? AND FieldName = 'cfree1' "
                               "AND CardSection = ?"),
                {allow ? 1 : 0, SchemaSeed::kDisplayTemplateId, cardSection});
    }

    VoucherDocument returned;
    QString section;
    bool built = false;
};

TEST_P(FreeItems, a_value_is_accepted_by_value_or_alias_only_for_an_item_that_uses_the_free_item)
{
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree1"), QStringLiteral("天蓝"), QStringLiteral("A001"), &returned),
              QString());
    EXPECT_EQ(returned.headRow().value(QStringLiteral("cfree1")), QStringLiteral("天蓝"));
    EXPECT_EQ(engine.CheckFree(QStringLiteral("CFREE1"), QStringLiteral("DH"), QStringLiteral("A001"), &returned),
              QString());
    EXPECT_EQ(returned.headRow().value(QStringLiteral("cfree1")), QStringLiteral("大红"));

    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree1"), QStringLiteral("墨绿"), QStringLiteral("A001"), &returned),
              kNotListed);
    EXPECT_EQ(returned.headRow().attribute(QStringLiteral("cfree1")), QString(""));
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree1"), QStringLiteral("天蓝"), QStringLiteral("A002")), kNotUsed);
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree1"), QStringLiteral("天蓝"), QStringLiteral("X404")), kNotUsed);
}

TEST_P(FreeItems, an_empty_value_and_fields_that_are_no_free_items_pass)
{
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree1"), QString(), QStringLiteral("A002")), QString());
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree3"), QStringLiteral("  "), QStringLiteral("A001")), QString());
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cdepcode"), QStringLiteral("zz"), QStringLiteral("A001")), QString());
    EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree11"), QStringLiteral("zz"), QStringLiteral("A001")), QString());
}

TEST_P(FreeItems, a_value_with_quotes_or_wildcards_is_not_listed)
{
    for (const QString &typed : {QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("' OR '1'='1")})
        EXPECT_EQ(engine.CheckFree(QStringLiteral("cfree1"), typed, QStringLiteral("A001")), kNotListed)
            << typed.toStdString();
}

// The sample's confirmation checks the new item's free items through a fresh engine set up with
// the login only, as SampleStateRules' free-item hook does.
TEST_P(FreeItems, works_on_a_fresh_engine_that_has_only_the_login)
{
    auto check = [this](const QString &field, const QString &value, const QString &item) {
        clsVoucherCo fresh;
        fresh.Initial(login, QStringLiteral("1801"), std::make_shared<clsVoucherShowParameter>());
        return fresh.CheckFree(field, value, item);
    };
    QStringList answers;
    for (int k = 1; k <= 10; ++k)
        answers << check(QStringLiteral("cfree%1").arg(k), k == 1 ? QStringLiteral("天蓝") : QString(),
                         QStringLiteral("A001"));
    EXPECT_EQ(answers.join(QString()), QString());
    EXPECT_EQ(check(QStringLiteral("cfree1"), QStringLiteral("墨绿"), QStringLiteral("A001")), kNotListed);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join('\n').toStdString();
}

TEST_P(FreeItems, check2_refuses_a_value_outside_the_list_unless_the_template_field_builds_archives)
{
    section = QStringLiteral("t");
    EXPECT_EQ(free2(QStringLiteral("墨绿")), kNotListed);
    EXPECT_FALSE(built);

    allowNewEntries(QStringLiteral("t"), true);
    EXPECT_EQ(free2(QStringLiteral("墨绿")), QString());
    EXPECT_TRUE(built);
    EXPECT_EQ(returned.headRow().value(QStringLiteral("cfree1")), QStringLiteral("墨绿"));

    // Only the head allows it; the body field does not.
    section = QStringLiteral("b");
    EXPECT_EQ(free2(QStringLiteral("墨绿")), kNotListed);
    EXPECT_FALSE(built);
}

TEST_P(FreeItems, check2_finds_the_section_itself_when_none_is_given)
{
    allowNewEntries(QStringLiteral("b"), true);
    db.exec(QStringLiteral("DELETE FROM voucheritems WHERE VT_ID = ? AND FieldName = 'cfree1' AND CardSection = 't'"),
            {SchemaSeed::kDisplayTemplateId});
    section.clear();
    EXPECT_EQ(free2(QStringLiteral("墨绿")), QString());
    EXPECT_TRUE(built);
    EXPECT_EQ(section, QStringLiteral("b"));
}

TEST_P(FreeItems, check2_names_the_missing_template_field)
{
    section = QStringLiteral("t");
    EXPECT_EQ(free2(QStringLiteral("墨绿"), QStringLiteral("999")),
              QStringLiteral("查找单据号[999]中的表头字段[cfree1]不成功"));
    section = QStringLiteral("b");
    EXPECT_EQ(free2(QStringLiteral("墨绿"), QStringLiteral("999")),
              QStringLiteral("查找单据号[999]中的表体字段[cfree1]不成功"));
    section = QStringLiteral("t");
    EXPECT_EQ(free2(QStringLiteral("墨绿"), QStringLiteral("x'1")),
              QStringLiteral("查找单据号[x'1]中的表头字段[cfree1]不成功"));
}

TEST_P(FreeItems, check2_accepts_listed_and_empty_values_without_asking_the_template)
{
    section = QStringLiteral("t");
    EXPECT_EQ(free2(QStringLiteral("TL"), QStringLiteral("999")), QString());
    EXPECT_EQ(returned.headRow().value(QStringLiteral("cfree1")), QStringLiteral("天蓝"));
    EXPECT_EQ(free2(QString(), QStringLiteral("999")), QString());
    EXPECT_EQ(returned.headRow().attribute(QStringLiteral("cfree1")), QString(""));
    EXPECT_FALSE(built);
}

TEST_P(FreeItems, check2_asks_the_given_connection_about_the_template)
{
    Connection other;
    ASSERT_TRUE(other.Open(db.connectionString()));
    allowNewEntries(QStringLiteral("t"), true);
    section = QStringLiteral("t");
    returned = VoucherDocument();
    EXPECT_EQ(engine.CheckFree2(QStringLiteral("cfree1"), QStringLiteral("墨绿"), QStringLiteral("A001"), &returned,
                                QString::number(SchemaSeed::kDisplayTemplateId), section, built, &other),
              QString());
    EXPECT_TRUE(built);
}

INSTANTIATE_TEST_SUITE_P(Db, FreeItems, ORVANE_BOTH_BACKENDS);
