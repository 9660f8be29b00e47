#include "CardFixture.h"

#include "sample/BomStructureData.h"

#include "card/CardStructureWork.h"
#include "card/StructureNodeClick.h"

// The card's cost fetch, conversion and tree clicks on a real database: what is written, what is
// shown, and that a refusal or a failure leaves the database as it was.
class CardStructureWorkTest : public CardTest
{
protected:
    // YP1 (TOP, voucher 1) -> line 11 CHILD (child sample 2, V1) -> line 21 LEAF at 4; line 12 PART.
    void seed() override
    {
        data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"), {}, 3, 2);
        data.sample(2, QString(), QStringLiteral("CHILD"), QStringLiteral("V1"), 1);
        data.line(1, 11,
                  {.component = QStringLiteral("CHILD"), .quantity = 2, .child = 2, .version = QStringLiteral("V1")});
        data.line(1, 12, {.component = QStringLiteral("PART"), .quantity = 1, .charge = 6});
        data.line(2, 21, {.component = QStringLiteral("LEAF"), .quantity = 1, .charge = 4});
    }

    void confirm() { db.exec(QStringLiteral("UPDATE ManageSample SET cHandler = '测试员' WHERE iAutoID = 1")); }

    BomStructureData data{db};
};

TEST_P(CardStructureWorkTest, cost_fetch_rolls_up_stores_and_reloads)
{
    ASSERT_TRUE(show(1)) << error.toStdString();
    view->tree.rebuilt.clear();
    dispatch(QStringLiteral("tlbGet"));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
    // CHILD costs 4 + 1 a unit; TOP: 2 x 5 + 6.
    EXPECT_EQ(data.number(QStringLiteral("SELECT iTolMaterialCost FROM ManageSample WHERE iAutoID = 1")), 16);
    EXPECT_EQ(control().head.value(QStringLiteral("itolmaterialcost")).toDouble(), 16);
    EXPECT_EQ(view->tree.rebuilt, QStringList{QStringLiteral("1")});
}

TEST_P(CardStructureWorkTest, cost_fetch_is_refused_on_a_loop_and_rolled_back_on_a_stored_one)
{
    ASSERT_TRUE(show(1)) << error.toStdString();
    state().bolCycle = true;
    view->tree.description = QStringLiteral("\r\n子件[TOP]循环出现，请检查！");
    dispatch(QStringLiteral("tlbGet"));
    EXPECT_EQ(messages.texts(),
              QStringList{QStringLiteral("\r\n子件[TOP]循环出现，请检查！不能取数，存在循环结构，请检查！")});

    // The tree was not told of the loop: the roll-up finds it itself and writes nothing.
    state().bolCycle = false;
    messages.shown.clear();
    data.line(2, 22, {.component = QStringLiteral("TOP"), .charge = 1, .child = 1});
    dispatch(QStringLiteral("tlbGet"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("取数发生错误，请检查！")});
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iMaterialCost IS NOT NULL")), 0);
}

TEST_P(CardStructureWorkTest, conversion_commits_the_whole_structure_and_shows_the_new_bom)
{
    confirm();
    ASSERT_TRUE(show(1)) << error.toStdString();
    dispatch(QStringLiteral("tlbSaveBom"));
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().endsWith(QStringLiteral("]成功！转换成功")));
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 2);
    EXPECT_FALSE(control().head.value(QStringLiteral("ibomautoid")).isEmpty());

    messages.shown.clear();
    dispatch(QStringLiteral("tlbSaveBom")); // the structure exists now
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("已经存在版本号为(")));
    EXPECT_TRUE(messages.texts().first().endsWith(QStringLiteral("转换失败")));
}

TEST_P(CardStructureWorkTest, a_failed_conversion_takes_back_every_child_and_says_so)
{
    confirm();
    // A second child converts before the one without a version is refused.
    data.sample(3, QString(), QStringLiteral("GOOD"), QStringLiteral("V1"));
    data.line(3, 31, {.component = QStringLiteral("LEAF")});
    data.line(1, 13, {.component = QStringLiteral("GOOD"), .child = 3, .version = QStringLiteral("V1")});
    db.exec(QStringLiteral("UPDATE ManageSamples SET iSubID = 99 WHERE iSubID = 11"));
    db.exec(QStringLiteral("UPDATE ManageSample SET csocode = '' WHERE iAutoID = 2"));
    ASSERT_TRUE(show(1)) << error.toStdString();
    dispatch(QStringLiteral("tlbSaveBom"));
    ASSERT_EQ(messages.texts().size(), 1);
    const QString text = messages.texts().first();
    EXPECT_TRUE(text.contains(QStringLiteral("转换母件[GOOD 样GOOD;;;;;;;;;;]失败！"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("成功")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("必须输入本版号，请检查！转换失败")));
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iBOMAutoId IS NOT NULL")), 0);
}

TEST_P(CardStructureWorkTest, conversion_of_a_voucher_changed_meanwhile_is_refused)
{
    confirm();
    ASSERT_TRUE(show(1)) << error.toStdString();
    db.exec(QStringLiteral("UPDATE ManageSample SET cMemo = '别人改过' WHERE iAutoID = 1"));
    dispatch(QStringLiteral("tlbSaveBom"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("单据已经被修改，请检查！")});
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 0);
}

TEST_P(CardStructureWorkTest, a_tree_click_opens_a_child_sample_or_starts_one_from_a_bom)
{
    ASSERT_TRUE(show(1)) << error.toStdString();
    StructureNodeClick click(*card, card->structureWork());
    ASSERT_TRUE(click.click(QStringLiteral("rCHILD\tV1\t2 \t \t 11")));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_EQ(control().head.value(QStringLiteral("psguid")), QStringLiteral("11"));

    const int bom = data.bom(QStringLiteral("BOUGHT"), QStringLiteral("V2"), 0, 0);
    data.bomLine(bom, QStringLiteral("RAW"), 2, 3);
    const QString bomTag = QStringLiteral("rBOUGHT\tV2\t \t%1 \t 12").arg(bom);
    ASSERT_TRUE(click.click(bomTag));
    EXPECT_EQ(control().EditState(), CardControl::Viewing);
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvcode")), QStringLiteral("BOUGHT"));
    EXPECT_EQ(control().head.value(QStringLiteral("csocode")), QStringLiteral("V2"));
    EXPECT_EQ(control().head.value(QStringLiteral("psguid")), QStringLiteral("12"));
    ASSERT_EQ(control().BodyRows(), 1);
    EXPECT_EQ(control().bodyText(1, QStringLiteral("cpscode")), QStringLiteral("RAW"));
    EXPECT_EQ(control().bodyText(1, QStringLiteral("imaterialcost")).toDouble(), 6);

    // Edit with that node chosen adds the new sample as the line's child (the card keeps the
    // structure of voucher 1, as after a move onto it).
    state().strEditRootID = QStringLiteral("1");
    view->tree.tags = {QStringLiteral("r"), bomTag};
    dispatch(QStringLiteral("tlbEdit"));
    EXPECT_EQ(control().EditState(), CardControl::AddingVoucher);
    // The structure's own version exists as a bill of materials already: the sample takes a new one.
    control().setHeaderText(QStringLiteral("csocode"), QStringLiteral("V3"));
    control().setHeaderText(QStringLiteral("ifinishexch"), QStringLiteral("1"));
    control().setHeaderText(QStringLiteral("cnewinvcomunitcode"), QStringLiteral("PCS"));
    control().setBodyText(1, QStringLiteral("cwhcode"), QStringLiteral("01"));
    db.exec(QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName) VALUES ('01', '原料库')"));
    db.exec(QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName) VALUES ('PCS', '个')"));
    messages.shown.clear();
    dispatch(QStringLiteral("tlbSave"));
    ASSERT_EQ(control().EditState(), CardControl::Viewing) << messages.texts().join(QLatin1Char('|')).toStdString();
    const int made = int(data.number(QStringLiteral("SELECT iAutoID FROM ManageSample WHERE cNewInvCode = 'BOUGHT'")));
    EXPECT_EQ(data.number(QStringLiteral("SELECT ChildGUID FROM ManageSamples WHERE iSubID = 12")), made);
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSample"), QStringLiteral("cNewInvCode = 'BOUGHT' AND COALESCE(cCode, '') = ''")),
        1);
    ASSERT_TRUE(click.click(bomTag)); // shown again, then edited
    state().strEditRootID = QStringLiteral("1");
    dispatch(QStringLiteral("tlbEdit"));
    ASSERT_EQ(control().EditState(), CardControl::AddingVoucher);

    // While adding, a click asks first; Cancel keeps the new voucher.
    messages.answers = {MessageService::AnswerCancel};
    EXPECT_FALSE(click.click(QStringLiteral("rCHILD\tV1\t2 \t \t 11")));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("是否保存对当前单据的编辑？"));
    EXPECT_EQ(control().EditState(), CardControl::AddingVoucher);
}

INSTANTIATE_TEST_SUITE_P(Db, CardStructureWorkTest, ORVANE_BOTH_BACKENDS);

// The parent-item fetch fills the head and lines from the structure and recalculates; a line that
// is the new item itself is kept and reported; an unknown item clears the parent-item fields.
TEST_P(CardStructureWorkTest, parent_item_fetch_fills_lines_and_reports_the_new_item_among_them)
{
    const int bom = data.bom(QStringLiteral("FRAME"), QStringLiteral("V2"));
    data.bomLine(bom, QStringLiteral("TUBE"), 2, 1.5, 10);
    data.bomLine(bom, QStringLiteral("TOP"), 1, 1);
    ASSERT_TRUE(show(1)) << error.toStdString();
    CardStructureWork &work = card->structureWork();

    EXPECT_EQ(work.fetchParentItem(QStringLiteral("品FRAME"), false), QStringLiteral("母子与子件重复，请检查！"));
    EXPECT_EQ(control().head.value(QStringLiteral("cpspinvcode")), QStringLiteral("FRAME"));
    EXPECT_EQ(control().head.value(QStringLiteral("ibomautoid")).toInt(), bom);
    ASSERT_EQ(control().BodyRows(), 2);
    EXPECT_EQ(control().bodyText(1, QStringLiteral("cpscode")), QStringLiteral("TUBE"));
    EXPECT_DOUBLE_EQ(control().bodyText(1, QStringLiteral("imaterialcost")).toDouble(), 3.3);
    EXPECT_EQ(control().bodyText(2, QStringLiteral("cpscode")), QStringLiteral("TOP"));

    EXPECT_FALSE(work.fetchParentItem(QStringLiteral("NOSUCH"), false).isEmpty());
    EXPECT_TRUE(control().head.value(QStringLiteral("cpspinvcode")).isEmpty());
    EXPECT_TRUE(control().head.value(QStringLiteral("ibomautoid")).toInt() == bom); // only the reference fields
}
