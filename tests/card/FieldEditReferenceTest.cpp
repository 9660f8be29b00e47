#include "FieldEditFixture.h"

namespace {

// References opened from the card's cells, answered by a scripted picker.
class CellReference : public FieldEditTest
{
protected:
    ScriptedPicker picker;
};

TEST_P(CellReference, writes_each_picked_component_into_a_line_of_its_own)
{
    setCell(1, QStringLiteral("cpscode"), QStringLiteral("A")); // the search text
    picker.choose = {QStringLiteral("A001"), QStringLiteral("A002")};
    edits().bodyReference(QStringLiteral("cpscode"), 1);
    EXPECT_EQ(picker.offered, (QStringList{QStringLiteral("A001"), QStringLiteral("A002")}));
    ASSERT_EQ(control().body.size(), 3);
    EXPECT_EQ(cell(1, QStringLiteral("cpscode")), QStringLiteral("A001"));
    EXPECT_EQ(cell(1, QStringLiteral("cpsname")), QStringLiteral("阀体"));
    EXPECT_EQ(cell(3, QStringLiteral("cpscode")), QStringLiteral("A002"));
    EXPECT_EQ(cell(3, QStringLiteral("cpsname")), QStringLiteral("阀盖"));
    EXPECT_EQ(cell(2, QStringLiteral("cpscode")), QStringLiteral("P1-2")); // untouched
    EXPECT_FALSE(card->state().bolReferring);
}

TEST_P(CellReference, drops_the_line_of_a_picked_component_that_its_check_refuses)
{
    head(QStringLiteral("cnewinvcode"), QStringLiteral("A002"));
    picker.choose = {QStringLiteral("A001"), QStringLiteral("A002")};
    edits().bodyReference(QStringLiteral("cpsname"), 2);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("母件与子件重复！")});
    ASSERT_EQ(control().body.size(), 2);
    EXPECT_EQ(cell(2, QStringLiteral("cpscode")), QStringLiteral("A001"));
    EXPECT_TRUE(control().calls.contains(QStringLiteral("deleteRow(3)")));
}

TEST_P(CellReference, fills_warehouse_and_department_cells_from_the_picked_record)
{
    picker.choose = {QStringLiteral("W01")};
    setCell(1, QStringLiteral("cwhcode"), QString());
    edits().bodyReference(QStringLiteral("cwhcode"), 1);
    EXPECT_EQ(cell(1, QStringLiteral("cwhcode")), QStringLiteral("W01"));
    EXPECT_EQ(cell(1, QStringLiteral("cwhname")), QStringLiteral("成品库"));

    picker.choose = {QStringLiteral("0102")};
    edits().headReference(QStringLiteral("cdepcode"));
    EXPECT_EQ(control().head.value(QStringLiteral("cdepcode")), QStringLiteral("0102"));
    EXPECT_EQ(control().head.value(QStringLiteral("cdepname")), QStringLiteral("销售部"));
}

TEST_P(CellReference, checks_the_picked_customer_as_if_typed)
{
    head(QStringLiteral("ccuscode"), QString());
    picker.choose = {QStringLiteral("C01")};
    edits().headReference(QStringLiteral("ccusname"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccusname")), QStringLiteral("华东机械"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccuscode")), QStringLiteral("C01"));
    EXPECT_EQ(control().head.value(QStringLiteral("ccusabbname")), QStringLiteral("华机"));
}

TEST_P(CellReference, offers_only_items_without_a_structure_as_the_new_item)
{
    head(QStringLiteral("cnewinvcode"), QString());
    picker.choose = {QStringLiteral("N002")};
    edits().headReference(QStringLiteral("cnewinvcode"));
    EXPECT_FALSE(picker.offered.contains(QStringLiteral("N001")));
    EXPECT_TRUE(picker.offered.contains(QStringLiteral("A001")));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcode")), QStringLiteral("N002"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvname")), QStringLiteral("新阀门二"));
}

TEST_P(CellReference, lists_the_units_of_the_items_group)
{
    head(QStringLiteral("cnewinvcode"), QStringLiteral("A001"));
    picker.choose = {QStringLiteral("U03")};
    edits().headReference(QStringLiteral("cnewinvcomunitname"));
    EXPECT_EQ(picker.offered, (QStringList{QStringLiteral("U01"), QStringLiteral("U02"), QStringLiteral("U03"),
                                           QStringLiteral("U04")}));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcomunitcode")), QStringLiteral("U03"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcomunitname")), QStringLiteral("包"));
}

TEST_P(CellReference, changes_nothing_when_nothing_is_picked)
{
    edits().bodyReference(QStringLiteral("cpscode"), 1);
    EXPECT_EQ(cell(1, QStringLiteral("cpscode")), QStringLiteral("P1-1"));
    EXPECT_EQ(control().body.size(), 2);
    EXPECT_TRUE(messages.shown.isEmpty());
}

using BodyRows = FieldEditTest;

TEST_P(BodyRows, a_new_row_is_an_added_line_with_a_divisor_of_one)
{
    control().body.append(QMap<QString, QString>());
    edits().rowAdded(3);
    EXPECT_EQ(cell(3, QStringLiteral("editprop")), QStringLiteral("A"));
    EXPECT_EQ(cell(3, QStringLiteral("tdqtyd")), QStringLiteral("1"));
}

TEST_P(BodyRows, unit_cells_follow_the_group_of_the_lines_main_unit)
{
    auto calls = [this](int row) {
        control().calls.clear();
        edits().rowChanged(row);
        return control().calls.filter(QStringLiteral("comunit")) + control().calls.filter(QStringLiteral("changrate"));
    };
    setCell(1, QStringLiteral("cpscomunitcode"), QStringLiteral("U05")); // floating rates
    EXPECT_EQ(calls(1), (QStringList{QStringLiteral("clearCell(ccaacomunitcode,1)"),
                                     QStringLiteral("clearCell(ccaacomunitname,1)"),
                                     QStringLiteral("clearCell(iprodchangrate,1)")}));
    setCell(1, QStringLiteral("cpscomunitcode"), QStringLiteral("U01")); // fixed rates
    EXPECT_EQ(calls(1), (QStringList{QStringLiteral("clearCell(ccaacomunitcode,1)"),
                                     QStringLiteral("clearCell(ccaacomunitname,1)"),
                                     QStringLiteral("markCell(iprodchangrate,1)")}));
    setCell(2, QStringLiteral("cpscomunitcode"), QStringLiteral("U06")); // no conversion
    EXPECT_EQ(calls(2).size(), 3);
    EXPECT_TRUE(calls(2).filter(QStringLiteral("clearCell")).isEmpty());
    setCell(2, QStringLiteral("cpscomunitcode"), QString());
    EXPECT_TRUE(calls(2).filter(QStringLiteral("clearCell")).isEmpty());

    control().editState = CardControl::Viewing;
    EXPECT_TRUE(calls(1).isEmpty());
}

TEST(FieldEditKeys, parent_item_fields_take_enter_and_backspace_only)
{
    EXPECT_FALSE(FieldEditHandler::acceptsHeadKey(QStringLiteral("cpspinvcode"), 'A'));
    EXPECT_FALSE(FieldEditHandler::acceptsHeadKey(QStringLiteral("cpspinvname"), '1'));
    EXPECT_TRUE(FieldEditHandler::acceptsHeadKey(QStringLiteral("cpspinvcode"), 13));
    EXPECT_TRUE(FieldEditHandler::acceptsHeadKey(QStringLiteral("cpspinvcode"), 8));
    EXPECT_TRUE(FieldEditHandler::acceptsHeadKey(QStringLiteral("cnewinvcode"), 'A'));
}

TEST(FieldEditChoices, expand_flags_offer_yes_and_no_unless_filled)
{
    EXPECT_EQ(FieldEditHandler::choiceItems(QStringLiteral("bexpandend"), {}),
              (QStringList{QStringLiteral("是"), QStringLiteral("否")}));
    EXPECT_EQ(FieldEditHandler::choiceItems(QStringLiteral("bexpand"), {QStringLiteral("否")}),
              QStringList{QStringLiteral("否")});
    EXPECT_TRUE(FieldEditHandler::choiceItems(QStringLiteral("cmemo"), {}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Db, CellReference, ORVANE_BOTH_BACKENDS);
INSTANTIATE_TEST_SUITE_P(Db, BodyRows, ORVANE_BOTH_BACKENDS);

} // namespace
