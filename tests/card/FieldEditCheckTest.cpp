#include "FieldEditFixture.h"

namespace {

const QString kDuplicate = QStringLiteral("母件与子件重复！");

using HeadCellCheck = FieldEditTest;

TEST_P(HeadCellCheck, refuses_a_new_item_that_stands_as_a_component)
{
    setCell(2, QStringLiteral("cpscode"), QStringLiteral("N002 "));
    head(QStringLiteral("cnewinvcode"), QStringLiteral("NEW1"));
    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcode"), QStringLiteral("N002")), 0);
    EXPECT_EQ(lastMessage(), kDuplicate);
    EXPECT_EQ(messages.shown.last().title, QStringLiteral("销售管理"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcode")), QStringLiteral("NEW1"));
}

TEST_P(HeadCellCheck, fills_the_new_item_from_the_archive_and_locks_its_unused_free_items)
{
    head(QStringLiteral("cnewinvcode"), QStringLiteral("X900"));
    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcode"), QStringLiteral("N002")), 2);
    EXPECT_TRUE(messages.shown.isEmpty()) << lastMessage().toStdString();
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvname")), QStringLiteral("新阀门二"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcomunitcode")), QStringLiteral("U01"));
    // N002 uses free item 1 only.
    EXPECT_FALSE(control().headEditable.contains(QStringLiteral("cfree1")));
    EXPECT_FALSE(control().isEditable(VoucherCardControl::Head, QStringLiteral("cfree2")));
    EXPECT_TRUE(control().calls.contains(QStringLiteral("applyEditable(cfree10)")));
}

TEST_P(HeadCellCheck, refuses_an_item_that_already_has_a_structure)
{
    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcode"), QStringLiteral("N001")), 0);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("表头：")));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("已经存在产品结构")));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcode")), QStringLiteral("N002"));
}

TEST_P(HeadCellCheck, takes_a_new_item_and_its_free_items_unchecked_before_it_is_in_the_archive)
{
    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcode"), QStringLiteral("X900")), 2);
    EXPECT_EQ(typeHead(QStringLiteral("cfree1"), QStringLiteral("任意颜色")), 2);
    EXPECT_TRUE(messages.shown.isEmpty()) << lastMessage().toStdString();
    EXPECT_EQ(control().head.value(QStringLiteral("cfree1")), QStringLiteral("任意颜色"));
}

TEST_P(HeadCellCheck, copies_the_customer_row_and_refuses_an_unknown_customer)
{
    head(QStringLiteral("ccuscode"), QStringLiteral("C02"));
    EXPECT_EQ(typeHead(QStringLiteral("ccuscode"), QStringLiteral("C01")), 2);
    EXPECT_EQ(control().head.value(QStringLiteral("ccusname")), QStringLiteral("华东机械"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccusdefine1")), QStringLiteral("甲"));

    EXPECT_EQ(typeHead(QStringLiteral("ccuscode"), QStringLiteral("C99")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("表头：客户档案不存在或者您没有该数据权限,请检查!"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccuscode")), QStringLiteral("C01"));
}

TEST_P(HeadCellCheck, a_refused_entry_leaves_the_item_as_it_was_and_an_accepted_one_goes_in_cleaned)
{
    control().badStr = QStringLiteral("'");
    head(QStringLiteral("ccuscode"), QStringLiteral("C01"));
    head(QStringLiteral("ccusname"), QStringLiteral("华东机械"));
    // Cleaned to KH9999 first, which no customer has.
    EXPECT_EQ(typeHead(QStringLiteral("ccuscode"), QStringLiteral("KH'9999")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("表头：客户档案不存在或者您没有该数据权限,请检查!"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccuscode")), QStringLiteral("C01"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccusname")), QStringLiteral("华东机械"));

    EXPECT_EQ(typeHead(QStringLiteral("ccuscode"), QStringLiteral("C'02")), 2);
    EXPECT_EQ(control().head.value(QStringLiteral("ccuscode")), QStringLiteral("C02"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccusname")), QStringLiteral("华南机械"));
}

TEST_P(HeadCellCheck, finds_the_unit_by_name_among_the_units_of_the_new_items_group)
{
    head(QStringLiteral("cnewinvcode"), QStringLiteral("A001"));
    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcomunitcode"), QStringLiteral("箱")), 2);
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcomunitcode")), QStringLiteral("U02"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcomunitname")), QStringLiteral("箱"));

    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcomunitcode"), QStringLiteral("公斤")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("计量单位输入有误，请重新输入！"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcomunitcode")), QStringLiteral("U02"));
}

TEST_P(HeadCellCheck, asks_for_the_item_before_its_unit)
{
    head(QStringLiteral("cnewinvcode"), QString());
    EXPECT_EQ(typeHead(QStringLiteral("cnewinvcomunitcode"), QStringLiteral("U01")), 0);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("必须先输入存货！"));
    EXPECT_EQ(messages.shown[0].icon, MessageService::Critical);
}

TEST_P(HeadCellCheck, takes_free_text_fields_as_typed)
{
    EXPECT_EQ(typeHead(QStringLiteral("cmemo"), QStringLiteral("加急")), 2);
    EXPECT_EQ(typeHead(QStringLiteral("ddate"), QStringLiteral("2026-12-02")), 2);
    EXPECT_TRUE(messages.shown.isEmpty()) << lastMessage().toStdString();
}

TEST_P(HeadCellCheck, refuses_a_user_defined_value_longer_than_its_fixed_length)
{
    db.exec(
        QStringLiteral("UPDATE voucheritems SET DefineLength = '1,4' WHERE FieldName IN ('cdefine1', 'cdefine22')"));
    EXPECT_EQ(typeHead(QStringLiteral("cdefine1"), QStringLiteral("ABCD")), 2);
    EXPECT_EQ(typeHead(QStringLiteral("cdefine1"), QStringLiteral("ABCDE")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("[样品等级]超出了定长!"));
    EXPECT_EQ(control().head.value(QStringLiteral("cdefine1")), QStringLiteral("ABCD"));
    EXPECT_EQ(typeCell(1, QStringLiteral("cdefine22"), QStringLiteral("ABCDE")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("[工艺要求]超出了定长！"));

    // Not fixed: any length.
    db.exec(QStringLiteral("UPDATE voucheritems SET DefineLength = '0,4' WHERE FieldName = 'cdefine1'"));
    EXPECT_EQ(typeHead(QStringLiteral("cdefine1"), QStringLiteral("ABCDEFG")), 2);
}

TEST_P(HeadCellCheck, refuses_a_user_defined_value_its_archive_does_not_hold)
{
    // cdefine1 keeps its values in the archive under identifier 01; cdefine22 keeps none there.
    const QString value = QStringLiteral("INSERT INTO UserDefine (cID, cValue, cAlias, iOrder) VALUES ('01', ?, ?, ?)");
    db.exec(value, {QStringLiteral("A级"), QStringLiteral("甲"), 1});
    db.exec(value, {QStringLiteral("B级"), QStringLiteral("乙"), 2});
    EXPECT_EQ(typeHead(QStringLiteral("cdefine1"), QStringLiteral("B级")), 2);
    EXPECT_EQ(typeHead(QStringLiteral("cdefine1"), QStringLiteral("C级")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("样品等级不合法,请重新录入！"));
    EXPECT_EQ(control().head.value(QStringLiteral("cdefine1")), QStringLiteral("B级"));
    EXPECT_EQ(typeHead(QStringLiteral("cdefine1"), QString()), 2) << "an empty value clears the item";
    messages.shown.clear();
    EXPECT_EQ(typeCell(1, QStringLiteral("cdefine22"), QStringLiteral("随意")), 2) << "no archive, any value";
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(HeadCellCheck, rolls_costs_up_after_accepted_entries_only)
{
    auto hooks = std::make_shared<RecordingHooks>();
    edits().setHooks(hooks);
    typeHead(QStringLiteral("imanhrs"), QStringLiteral("3"));
    typeHead(QStringLiteral("imanhrs"), QStringLiteral("-1"));
    EXPECT_EQ(lastMessage(), QStringLiteral("表头：标准工时不能为负数，请重新输入！"));
    EXPECT_EQ(hooks->rollUps, QStringList{QStringLiteral("head:imanhrs:0")});
}

TEST_P(HeadCellCheck, hands_the_parent_item_to_the_structure_fetch)
{
    auto hooks = std::make_shared<RecordingHooks>();
    edits().setHooks(hooks);
    hooks->fetchAnswer = QStringLiteral("no structure");
    EXPECT_EQ(typeHead(QStringLiteral("cpspinvcode"), QStringLiteral("A001")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("母件有误，请重新输入！"));
    EXPECT_EQ(hooks->fetched, QStringList{QStringLiteral("A001:0")});
}

using BodyCellCheck = FieldEditTest;

TEST_P(BodyCellCheck, refuses_the_new_item_as_its_own_component)
{
    const QString before = cell(1, QStringLiteral("cpscode"));
    EXPECT_EQ(typeCell(1, QStringLiteral("cpscode"), QStringLiteral("新阀门二")), 0);
    EXPECT_EQ(lastMessage(), kDuplicate);
    EXPECT_EQ(cell(1, QStringLiteral("cpscode")), before);
}

TEST_P(BodyCellCheck, fills_the_line_from_the_component_and_greys_its_unused_free_items)
{
    EXPECT_EQ(typeCell(2, QStringLiteral("cpscode"), QStringLiteral("A001")), 2);
    EXPECT_TRUE(messages.shown.isEmpty()) << lastMessage().toStdString();
    EXPECT_EQ(cell(2, QStringLiteral("cpsname")), QStringLiteral("阀体"));
    EXPECT_EQ(cell(2, QStringLiteral("cpscomunitcode")), QStringLiteral("U01"));
    EXPECT_EQ(cell(2, QStringLiteral("ccaacomunitcode")), QStringLiteral("U02"));
    EXPECT_EQ(cell(2, QStringLiteral("cwhname")), QStringLiteral("成品库"));
    EXPECT_TRUE(control().calls.contains(QStringLiteral("clearCell(cfree1,2)")));
    EXPECT_TRUE(control().calls.contains(QStringLiteral("markCell(cfree2,2)")));
    EXPECT_FALSE(control().calls.contains(QStringLiteral("markCell(cfree1,2)")));
}

TEST_P(BodyCellCheck, refuses_unknown_components_and_bad_quantities_with_the_engines_text)
{
    EXPECT_EQ(typeCell(1, QStringLiteral("cpscode"), QStringLiteral("ZZZ")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("表体：存货档案不存在或者您没有该数据权限,请检查!"));
    EXPECT_EQ(typeCell(1, QStringLiteral("ipsquantity"), QStringLiteral("0")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("表体：分子不能为负数或者为0"));
    EXPECT_EQ(typeCell(1, QStringLiteral("iwasterate"), QStringLiteral("100")), 0);
    EXPECT_EQ(typeCell(1, QStringLiteral("iwasterate"), QStringLiteral("99.99")), 2);
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_P(BodyCellCheck, counts_the_auxiliary_quantity_in_the_chosen_unit)
{
    setCell(1, QStringLiteral("cpscode"), QStringLiteral("A001"));
    setCell(1, QStringLiteral("ipsquantity"), QStringLiteral("10"));
    setCell(1, QStringLiteral("tdqtyd"), QStringLiteral("2"));
    EXPECT_EQ(typeCell(1, QStringLiteral("ccaacomunitname"), QStringLiteral("U03")), 2);
    EXPECT_EQ(cell(1, QStringLiteral("ccaacomunitcode")), QStringLiteral("U03"));
    EXPECT_EQ(cell(1, QStringLiteral("ccaacomunitname")), QStringLiteral("包"));
    EXPECT_EQ(cell(1, QStringLiteral("iprodchangrate")), QStringLiteral("5"));
    EXPECT_EQ(cell(1, QStringLiteral("icaaquantity")), QStringLiteral("1"));
    // Fixed rates: the rate is not typed.
    EXPECT_TRUE(control().calls.contains(QStringLiteral("markCell(iprodchangrate,1)")));

    EXPECT_EQ(typeCell(1, QStringLiteral("ccaacomunitcode"), QStringLiteral("散")), 2);
    EXPECT_EQ(cell(1, QStringLiteral("ccaacomunitcode")), QStringLiteral("U04"));
    EXPECT_EQ(cell(1, QStringLiteral("icaaquantity")), QString());
}

TEST_P(BodyCellCheck, refuses_a_unit_outside_the_components_group)
{
    setCell(1, QStringLiteral("cpscode"), QStringLiteral("A001"));
    setCell(1, QStringLiteral("ccaacomunitcode"), QStringLiteral("U02"));
    EXPECT_EQ(typeCell(1, QStringLiteral("ccaacomunitcode"), QStringLiteral("U05")), 0);
    EXPECT_EQ(lastMessage(), QStringLiteral("辅助单位输入有误，请重新输入！"));
    EXPECT_EQ(cell(1, QStringLiteral("ccaacomunitcode")), QStringLiteral("U02"));
}

INSTANTIATE_TEST_SUITE_P(Db, HeadCellCheck, ORVANE_BOTH_BACKENDS);
INSTANTIATE_TEST_SUITE_P(Db, BodyCellCheck, ORVANE_BOTH_BACKENDS);

} // namespace
