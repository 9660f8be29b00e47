#include "ReferenceData.h"

#include "engine/basVoucher.h"
#include "host/DataPermissionStore.h"

#include <QDate>

class ReferenceLookups : public ReferenceDataTest
{
protected:
    bool refer(const QString &field, const QString &typed = {}, const QString &where = {})
    {
        value = typed;
        picked = Recordset();
        return engine.ReferBase(field, value, where, &picked, false, true, 2);
    }

    ScriptedPicker picker;
    QVariant value;
    Recordset picked;
};

TEST_P(ReferenceLookups, picking_a_component_by_name_hands_back_the_name_and_the_record)
{
    picker.choose = {QStringLiteral("A001")};
    EXPECT_TRUE(refer(QStringLiteral("cpsname")));
    EXPECT_EQ(value.toString(), QStringLiteral("阀体"));
    ASSERT_EQ(picked.RecordCount(), 1);
    EXPECT_EQ(picked.text(QStringLiteral("cinvcode")), QStringLiteral("A001"));
    ASSERT_EQ(picker.requests.size(), 1);
    EXPECT_EQ(picker.requests.first().kind, QStringLiteral("inventory"));
    EXPECT_EQ(picker.requests.first().pageSize, 2);

    picker.choose = {QStringLiteral("N002")};
    EXPECT_TRUE(refer(QStringLiteral("cnewinvcode")));
    EXPECT_EQ(value.toString(), QStringLiteral("N002"));
}

TEST_P(ReferenceLookups, items_outside_their_validity_and_ended_vendors_are_not_offered)
{
    EXPECT_FALSE(refer(QStringLiteral("cpscode")));
    EXPECT_TRUE(picker.error.isEmpty()) << picker.error.toStdString();
    EXPECT_EQ(picker.offered, (QStringList{"A001", "A002", "N001", "N002", "S001"}));
    EXPECT_EQ(picker.pages, 3);

    EXPECT_FALSE(refer(QStringLiteral("cvenname")));
    EXPECT_EQ(picker.offered, QStringList{QStringLiteral("V01")});
    EXPECT_EQ(picker.requests.last().treeQuery.isEmpty(), false);
}

TEST_P(ReferenceLookups, the_typed_value_is_a_prefix_of_code_or_name)
{
    EXPECT_FALSE(refer(QStringLiteral("cpscode"), QStringLiteral("N")));
    EXPECT_EQ(picker.offered, (QStringList{"N001", "N002"}));
    EXPECT_FALSE(refer(QStringLiteral("cpscode"), QStringLiteral("阀")));
    EXPECT_EQ(picker.offered, (QStringList{"A001", "A002"}));
    EXPECT_FALSE(refer(QStringLiteral("cpscode"), QStringLiteral("%")));
    EXPECT_TRUE(picker.offered.isEmpty());
}

TEST_P(ReferenceLookups, departments_offer_leaves_within_the_users_data_permission)
{
    EXPECT_FALSE(refer(QStringLiteral("cdepcode")));
    EXPECT_EQ(picker.offered, (QStringList{"0101", "0102"}));

    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Department, true));
    auto clerk = loginUser(db, QStringLiteral("clerk"), QStringLiteral("业务员甲"), false);
    ASSERT_TRUE(clerk);
    ASSERT_TRUE(DataPermissionStore::grantValue(db.cnn(), QStringLiteral("clerk"), DataObject::Department,
                                                QStringLiteral("0102")));
    clsVoucherCo clerkEngine;
    clerkEngine.Initial(clerk, QStringLiteral("1801"), std::make_shared<clsVoucherShowParameter>());
    QVariant typed;
    EXPECT_FALSE(clerkEngine.ReferBase(QStringLiteral("cdepname"), typed));
    EXPECT_EQ(picker.offered, QStringList{QStringLiteral("0102")});
}

TEST_P(ReferenceLookups, the_callers_condition_is_joined)
{
    EXPECT_FALSE(refer(QStringLiteral("cpersoncode"), QString(), QStringLiteral("cDepCode = '0102'")));
    EXPECT_EQ(picker.offered, QStringList{QStringLiteral("P02")});
    picker.choose = {QStringLiteral("P02")};
    EXPECT_TRUE(refer(QStringLiteral("ccheckpersonname")));
    EXPECT_EQ(value.toString(), QStringLiteral("李四"));
}

TEST_P(ReferenceLookups, free_items_list_their_values_searched_by_alias)
{
    picker.choose = {QStringLiteral("大红")};
    EXPECT_TRUE(refer(QStringLiteral("cfree1"), QStringLiteral("D")));
    EXPECT_EQ(value.toString(), QStringLiteral("大红"));
    EXPECT_EQ(picker.requests.last().kind, QStringLiteral("UserdefFree"));

    QVariant typed;
    EXPECT_TRUE(engine.ReferDefine(QStringLiteral("cdefine1"), typed, 1, QStringLiteral("20,颜色")));
    EXPECT_EQ(typed.toString(), QStringLiteral("大红"));
    EXPECT_FALSE(engine.ReferDefine(QStringLiteral("cdefine1"), typed, 0, QString()));
    EXPECT_TRUE(picker.offered.isEmpty()) << "item 01 has no values here";
}

TEST_P(ReferenceLookups, nothing_is_picked_without_a_list_or_a_picker)
{
    EXPECT_FALSE(refer(QStringLiteral("cmemo"), QStringLiteral("x")));
    EXPECT_TRUE(picker.requests.isEmpty());

    ReferencePicker::install(nullptr);
    value = QStringLiteral("A0");
    EXPECT_FALSE(engine.ReferBase(QStringLiteral("cpscode"), value));
    EXPECT_EQ(value.toString(), QStringLiteral("A0"));
}

TEST_P(ReferenceLookups, expand_formula_replaces_bracketed_fields_in_any_case_and_keeps_the_rest_as_written)
{
    const QString add = QStringLiteral("INSERT INTO voucheritems (VT_ID, CardSection, FieldName, CardFormula1) "
                                       "VALUES (7, ?, ?, ?)");
    db.exec(add, {QStringLiteral("t"), QStringLiteral("iA"), QStringLiteral("ib")});
    db.exec(add, {QStringLiteral("t"), QStringLiteral("ib"), QStringLiteral("合计")});
    db.exec(add, {QStringLiteral("t"), QStringLiteral("ic"), QVariant()});
    QString formula = QStringLiteral("[IA]+[ib]*2+[Ic]-[iD]");
    ASSERT_TRUE(basVoucher::ExpandFormula(db.cnn(), 7, formula));
    EXPECT_EQ(formula, QStringLiteral("[合计]+[合计]*2+[]-[iD]"));
    // Codes and values in a message are the user's, not field names: their case stays.
    QString message = QStringLiteral("母件[CP0006;;;;;;;;;;]在[IB]中重复");
    ASSERT_TRUE(basVoucher::ExpandFormula(db.cnn(), 7, message));
    EXPECT_EQ(message, QStringLiteral("母件[CP0006;;;;;;;;;;]在[合计]中重复"));
}

INSTANTIATE_TEST_SUITE_P(Db, ReferenceLookups, ORVANE_BOTH_BACKENDS);
