#include "ReferenceData.h"

#include "common/basFunction.h"
#include "engine/basVoucher.h"
#include "host/DataPermissionStore.h"

#include <QDate>

namespace {

const QString kDepartmentMissing = QStringLiteral("部门档案不存在或者您没有该数据权限,请检查!");
const QString kItemMissing = QStringLiteral("存货档案不存在或者您没有该数据权限,请检查!");

// A document of one row with the given attributes.
VoucherDocument rowOf(const QList<std::pair<QString, QString>> &values)
{
    VoucherDocument doc;
    VoucherRow row = doc.appendRow();
    for (const auto &[name, value] : values)
        row.setValue(name, value);
    return doc;
}

QString attr(const VoucherDocument &doc, const QString &name)
{
    return doc.headRow().value(name);
}

} // namespace

class FieldChecks : public ReferenceDataTest
{
protected:
    QString check(const QString &field, const QString &value, const QString &where = {})
    {
        returned = VoucherDocument();
        return engine.CheckBase(field, value, returned, where);
    }

    QString head(const QString &field, const QString &value)
    {
        engine.setDomHead(rowOf({{field, value}}));
        returned = VoucherDocument();
        return engine.HeadCheckSingle(field, &returned);
    }

    QString body(const QString &field, const QString &value, const QString &item = QStringLiteral("A001"))
    {
        engine.setDomBody(rowOf({{QStringLiteral("cpscode"), item}, {field, value}}));
        returned = VoucherDocument();
        return engine.BodyCheckSingle(field, &returned, 1);
    }

    VoucherDocument returned;
};

TEST_P(FieldChecks, a_leaf_department_is_found_by_code_or_name_and_a_parent_is_refused_with_empty_columns)
{
    EXPECT_EQ(check(QStringLiteral("cDepCode"), QStringLiteral("0101")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cdepname")), QStringLiteral("研发部"));
    EXPECT_EQ(check(QStringLiteral("cdepname"), QStringLiteral("销售部")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cdepcode")), QStringLiteral("0102"));

    EXPECT_EQ(check(QStringLiteral("cdepcode"), QStringLiteral("01")), kDepartmentMissing);
    const VoucherRow row = returned.headRow();
    ASSERT_FALSE(row.isNull());
    EXPECT_EQ(row.attributeCount(), 2);
    EXPECT_EQ(row.attribute(QStringLiteral("cdepcode")), QString(""));
    EXPECT_EQ(row.attribute(QStringLiteral("cdepname")), QString(""));
}

TEST_P(FieldChecks, persons_and_checking_persons_answer_under_their_own_column_names)
{
    EXPECT_EQ(check(QStringLiteral("cpersonname"), QStringLiteral("张三")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cpersoncode")), QStringLiteral("P01"));
    EXPECT_EQ(check(QStringLiteral("ccheckpersoncode"), QStringLiteral("P02")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("ccheckpersonname")), QStringLiteral("李四"));
    EXPECT_FALSE(returned.headRow().has(QStringLiteral("cpersonname")));
    EXPECT_EQ(check(QStringLiteral("ccheckpersoncode"), QStringLiteral("P99")),
              QStringLiteral("职员档案不存在或者您没有该数据权限,请检查!"));
}

TEST_P(FieldChecks, a_component_brings_its_units_warehouse_price_and_free_item_flags)
{
    EXPECT_EQ(check(QStringLiteral("cpscode"), QStringLiteral("A001")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cpsname")), QStringLiteral("阀体"));
    EXPECT_EQ(attr(returned, QStringLiteral("cpscomunitname")), QStringLiteral("个"));
    EXPECT_EQ(attr(returned, QStringLiteral("ccaacomunitname")), QStringLiteral("箱"));
    EXPECT_EQ(basFunction::TextToNumber(attr(returned, QStringLiteral("iprodchangrate"))), 12.0);
    EXPECT_EQ(attr(returned, QStringLiteral("cwhname")), QStringLiteral("成品库"));
    EXPECT_EQ(basFunction::TextToNumber(attr(returned, QStringLiteral("imaterialcharge"))), 12.5);
    EXPECT_EQ(attr(returned, QStringLiteral("bfree1")), QStringLiteral("1"));
    // A column without value still clears the card's field.
    EXPECT_EQ(returned.headRow().attribute(QStringLiteral("cpsinvstd")), QString(""));

    EXPECT_EQ(check(QStringLiteral("cpsname"), QStringLiteral("阀盖")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cpscode")), QStringLiteral("A002"));
    EXPECT_EQ(check(QStringLiteral("cinvcode"), QStringLiteral("S001")), kItemMissing) << "a service is no component";
    EXPECT_EQ(check(QStringLiteral("cpscode"), QStringLiteral("X404")), kItemMissing);
}

TEST_P(FieldChecks, trailing_blanks_of_a_typed_code_are_ignored_but_letter_case_and_leading_blanks_count)
{
    EXPECT_EQ(check(QStringLiteral("cpscode"), QStringLiteral("A001  ")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cpscode")), QStringLiteral("A001"));
    EXPECT_EQ(check(QStringLiteral("cpscode"), QStringLiteral("a001")), kItemMissing);
    EXPECT_EQ(check(QStringLiteral("cpscode"), QStringLiteral(" A001")), kItemMissing);
}

TEST_P(FieldChecks, a_new_product_that_already_heads_a_product_structure_is_refused)
{
    EXPECT_EQ(check(QStringLiteral("cnewinvcode"), QStringLiteral("N001")),
              QStringLiteral("存货档案不存在或者您没有该数据权限或者该存货已经存在产品结构,请检查!"));
    EXPECT_EQ(check(QStringLiteral("cnewinvname"), QStringLiteral("新阀门二")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cnewinvcode")), QStringLiteral("N002"));
    EXPECT_EQ(attr(returned, QStringLiteral("cnewinvcomunitname")), QStringLiteral("个"));
    // Free items and user-defined texts come back empty, not missing.
    EXPECT_EQ(returned.headRow().attribute(QStringLiteral("cfree10")), QString(""));
    EXPECT_EQ(returned.headRow().attribute(QStringLiteral("cinvdefine16")), QString(""));
}

TEST_P(FieldChecks, a_product_structure_without_parent_code_does_not_hide_every_new_product)
{
    db.exec(QStringLiteral("INSERT INTO ProductStructure (cPSPCode) VALUES (NULL)"));
    EXPECT_EQ(check(QStringLiteral("cnewinvcode"), QStringLiteral("N002")), QString());
}

TEST_P(FieldChecks, a_vendor_past_its_end_date_is_still_accepted_when_typed)
{
    EXPECT_EQ(check(QStringLiteral("cvenabbname"), QStringLiteral("老厂")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cvencode")), QStringLiteral("V02"));
    EXPECT_EQ(check(QStringLiteral("cvencode"), QStringLiteral("V99")), QStringLiteral("录入错误,请检查"));
}

TEST_P(FieldChecks, customers_and_warehouses)
{
    EXPECT_EQ(check(QStringLiteral("ccusabbname"), QStringLiteral("华机")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("ccuscode")), QStringLiteral("C01"));
    EXPECT_EQ(attr(returned, QStringLiteral("ccusdefine1")), QStringLiteral("甲"));
    EXPECT_EQ(check(QStringLiteral("ccuscode"), QStringLiteral("C09")),
              QStringLiteral("客户档案不存在或者您没有该数据权限,请检查!"));
    EXPECT_EQ(check(QStringLiteral("cwhname"), QStringLiteral("成品库")), QString());
    EXPECT_EQ(check(QStringLiteral("cwhcode"), QStringLiteral("W09")),
              QStringLiteral("仓库不存在或者您没有该数据权限,请检查!"));
}

TEST_P(FieldChecks, a_customer_outside_the_users_data_permission_is_refused)
{
    ASSERT_TRUE(DataPermissionStore::setControlled(db.cnn(), DataObject::Customer, true));
    auto clerk = loginUser(db, QStringLiteral("clerk"), QStringLiteral("业务员甲"), false);
    ASSERT_TRUE(clerk);
    ASSERT_TRUE(
        DataPermissionStore::grantValue(db.cnn(), QStringLiteral("clerk"), DataObject::Customer, QStringLiteral("1")));
    clsVoucherCo clerkEngine;
    clerkEngine.Initial(clerk, QStringLiteral("1801"), std::make_shared<clsVoucherShowParameter>());
    VoucherDocument row;
    EXPECT_EQ(clerkEngine.CheckBase(QStringLiteral("ccuscode"), QStringLiteral("C01"), row), QString());
    EXPECT_EQ(clerkEngine.CheckBase(QStringLiteral("ccuscode"), QStringLiteral("C02"), row),
              QStringLiteral("客户档案不存在或者您没有该数据权限,请检查!"));
    // The super user sees both.
    EXPECT_EQ(check(QStringLiteral("ccuscode"), QStringLiteral("C02")), QString());
}

TEST_P(FieldChecks, the_callers_condition_narrows_the_check)
{
    EXPECT_EQ(check(QStringLiteral("cpersoncode"), QStringLiteral("P01"), QStringLiteral("cDepCode = '0102' OR 1=2")),
              QStringLiteral("职员档案不存在或者您没有该数据权限,请检查!"));
    EXPECT_EQ(check(QStringLiteral("cpersoncode"), QStringLiteral("P01"), QStringLiteral("cDepCode = '0101'")),
              QString());
}

TEST_P(FieldChecks, a_field_of_no_family_is_wrong_input)
{
    EXPECT_EQ(check(QStringLiteral("cmemo"), QStringLiteral("x")), QStringLiteral("录入错误,请检查"));
    EXPECT_EQ(check(QStringLiteral("cfree1"), QStringLiteral("天蓝")), QStringLiteral("录入错误,请检查"));
}

TEST_P(FieldChecks, quotes_and_wildcards_in_a_typed_value_are_plain_text)
{
    for (const QString &typed : {QStringLiteral("A00%"), QStringLiteral("A00_"), QStringLiteral("' OR '1'='1"),
                                 QStringLiteral("x') OR 1=1 --")})
        EXPECT_EQ(check(QStringLiteral("cpscode"), typed), kItemMissing) << typed.toStdString();
    db.exec(QStringLiteral("INSERT INTO Department (cDepCode, cDepName, bDepEnd) VALUES ('0103', 'O''Neil''s', 1)"));
    EXPECT_EQ(check(QStringLiteral("cdepname"), QStringLiteral("O'Neil's")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cdepcode")), QStringLiteral("0103"));
}

TEST_P(FieldChecks, head_expand_flag_takes_yes_or_no_only)
{
    const QString refused = QStringLiteral("表头：[是否展开]录入错误，请重新输入！");
    EXPECT_EQ(head(QStringLiteral("bexpand"), QStringLiteral("是")), QString());
    EXPECT_EQ(head(QStringLiteral("bExpand"), QStringLiteral(" 否 ")), QString());
    for (const QString &v : {QStringLiteral("Y"), QStringLiteral("1"), QString(), QStringLiteral("是否")})
        EXPECT_EQ(head(QStringLiteral("bexpand"), v), refused) << v.toStdString();
}

TEST_P(FieldChecks, head_numbers_refuse_zero_where_they_must_be_positive_and_negatives_everywhere)
{
    EXPECT_EQ(head(QStringLiteral("ifinishexch"), QStringLiteral("0")),
              QStringLiteral("表头：成品率不能为负数或者为0，请重新输入！"));
    EXPECT_EQ(head(QStringLiteral("ifinishexch"), QStringLiteral("abc")),
              QStringLiteral("表头：成品率不能为负数或者为0，请重新输入！"));
    // An emptied item reads as 0 here, while the save lets an empty one pass.
    EXPECT_EQ(head(QStringLiteral("ifinishexch"), QString()),
              QStringLiteral("表头：成品率不能为负数或者为0，请重新输入！"));
    EXPECT_EQ(head(QStringLiteral("ifinishexch"), QStringLiteral("0.95")), QString());
    EXPECT_EQ(head(QStringLiteral("isellexch"), QStringLiteral("-1")),
              QStringLiteral("表头：销售加成率%不能为负数或者为0，请重新输入！"));
    EXPECT_EQ(head(QStringLiteral("imanhrs"), QStringLiteral("0")), QString());
    EXPECT_EQ(head(QStringLiteral("iBZGZexch"), QStringLiteral("-0.5")),
              QStringLiteral("表头：标准工资率不能为负数，请重新输入！"));
    EXPECT_EQ(head(QStringLiteral("itoloutcost"), QStringLiteral("-1,000")),
              QStringLiteral("表头：委外加工费不能为负数，请重新输入！"));
    EXPECT_EQ(head(QStringLiteral("cdefine3"), QStringLiteral("anything")), QString());
}

TEST_P(FieldChecks, other_head_fields_are_checked_against_master_data)
{
    EXPECT_EQ(head(QStringLiteral("cdepcode"), QStringLiteral("01")), QStringLiteral("表头：") + kDepartmentMissing);
    EXPECT_EQ(head(QStringLiteral("ccuscode"), QStringLiteral("C01")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("ccusname")), QStringLiteral("华东机械"));
}

TEST_P(FieldChecks, body_checks_refuse_an_empty_body_and_bad_quantities)
{
    engine.setDomBody(VoucherDocument());
    EXPECT_EQ(engine.BodyCheckSingle(QStringLiteral("ipsquantity")), QStringLiteral("表体：没有数据，请检查！"));

    EXPECT_EQ(body(QStringLiteral("ipsquantity"), QString()), QStringLiteral("表体：分子不能为空"));
    EXPECT_EQ(body(QStringLiteral("ipsquantity"), QStringLiteral("0")), QStringLiteral("表体：分子不能为负数或者为0"));
    EXPECT_EQ(body(QStringLiteral("ipsquantity"), QStringLiteral("2")), QString());
    EXPECT_EQ(body(QStringLiteral("tdqtyd"), QStringLiteral(" ")), QStringLiteral("表体：分母不能为空"));
    EXPECT_EQ(body(QStringLiteral("tdqtyd"), QStringLiteral("-3")), QStringLiteral("表体：分母不能为负数或者为0"));
    EXPECT_EQ(body(QStringLiteral("imaterialcharge"), QStringLiteral("-0.01")),
              QStringLiteral("表体：标准单价不能为负数"));
    EXPECT_EQ(body(QStringLiteral("imaterialcost"), QStringLiteral("-1")), QStringLiteral("表体：材料成本不能为负数"));
    EXPECT_EQ(body(QStringLiteral("cmemo"), QStringLiteral("-1")), QString());
}

TEST_P(FieldChecks, waste_rate_of_exactly_100_is_refused_and_99_99_passes)
{
    const QString refused = QStringLiteral("表体：损耗率%不能大于等于100%或者为负数，请重新输入！");
    EXPECT_EQ(body(QStringLiteral("iwasterate"), QStringLiteral("100")), refused);
    EXPECT_EQ(body(QStringLiteral("iwasterate"), QStringLiteral("-0.1")), refused);
    EXPECT_EQ(body(QStringLiteral("iwasterate"), QStringLiteral("99.99")), QString());
    EXPECT_EQ(body(QStringLiteral("iwasterate"), QStringLiteral("0")), QString());
}

TEST_P(FieldChecks, body_component_and_free_items_are_checked_for_the_lines_item)
{
    EXPECT_EQ(body(QStringLiteral("cpscode"), QStringLiteral("S001"), QStringLiteral("S001")),
              QStringLiteral("表体：") + kItemMissing);
    EXPECT_EQ(body(QStringLiteral("cpscode"), QStringLiteral("A002"), QStringLiteral("A002")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cpsname")), QStringLiteral("阀盖"));
    EXPECT_EQ(body(QStringLiteral("cfree1"), QStringLiteral("天蓝"), QStringLiteral("A002")),
              QStringLiteral("表体：该存货没有启用[颜色]设置，不能输入！"));
    EXPECT_EQ(body(QStringLiteral("cfree1"), QStringLiteral("DH"), QStringLiteral("A001")), QString());
    EXPECT_EQ(attr(returned, QStringLiteral("cfree1")), QStringLiteral("大红"));
}

INSTANTIATE_TEST_SUITE_P(Db, FieldChecks, ORVANE_BOTH_BACKENDS);
