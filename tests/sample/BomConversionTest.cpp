#include "BomStructureData.h"

#include "sample/BomConversion.h"

#include <gtest/gtest.h>

// Conversion of a sample structure into bills of materials: what is written, every refusal and its
// text, and how children that exist already are linked.
class BomConversionTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        db.exec(QStringLiteral("INSERT INTO Warehouse (cWhCode, cWhName, iWhpROPERTY) VALUES ('SHOP', '车间', 1), "
                               "('MAIN', '总库', 0)"));
    }

    // The structure TOP (YP1) -> line 11 CHILD (child sample 2, V1) -> line 21 LEAF; line 12 PART.
    void twoLevels(const QString &childVersion = QStringLiteral("V1"))
    {
        data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"), {}, 8, 2);
        data.sample(2, QString(), QStringLiteral("CHILD"), childVersion);
        data.line(1, 11,
                  {.component = QStringLiteral("CHILD"),
                   .quantity = 2,
                   .charge = 5,
                   .child = 2,
                   .version = childVersion,
                   .warehouse = QStringLiteral("SHOP")});
        data.line(1, 12, {.component = QStringLiteral("PART"), .quantity = 3, .warehouse = QStringLiteral("MAIN")});
        data.line(2, 21, {.component = QStringLiteral("LEAF")});
    }

    qint16 convert(int id)
    {
        message.clear();
        return BomConversion(db.cnn()).ConvertSampleToBom(id, message);
    }

    int bomOf(int sampleId)
    {
        return int(data.number(QStringLiteral("SELECT iBOMAutoId FROM ManageSample WHERE iAutoID = ?"), {sampleId}));
    }

    TestDatabase db{GetParam()};
    BomStructureData data{db};
    QString message;
};

TEST_P(BomConversionTest, writes_children_first_and_links_each_line_to_its_component)
{
    twoLevels();
    ASSERT_EQ(convert(1), 0) << message.toStdString();
    EXPECT_EQ(message,
              QStringLiteral("\r\n转换母件[CHILD 样CHILD;;;;;;;;;;]成功！\r\n转换母件[TOP 样TOP;;;;;;;;;;]成功！"));
    const int top = bomOf(1);
    const int child = bomOf(2);
    ASSERT_GT(child, 0);
    EXPECT_GT(top, child);
    EXPECT_EQ(data.number(QStringLiteral("SELECT fbzcb FROM ProductStructure WHERE iAutoId = ?"), {top}), 10);
    EXPECT_EQ(
        data.number(QStringLiteral("SELECT ChildGUID FROM ProductStructures WHERE iPId = ? AND cPSCode = 'CHILD'"),
                    {top}),
        child);
    EXPECT_EQ(data.number(QStringLiteral("SELECT WIPType FROM ProductStructures WHERE cPSCode = 'CHILD'")), 1);
    EXPECT_EQ(data.number(QStringLiteral("SELECT WIPType FROM ProductStructures WHERE cPSCode = 'PART'")), 3);
    EXPECT_EQ(data.number(QStringLiteral("SELECT WIPType FROM ProductStructures WHERE cPSCode = 'LEAF'")), 3);
    EXPECT_EQ(data.number(QStringLiteral("SELECT fbzdj FROM ProductStructures WHERE cPSCode = 'CHILD'")), 5);
    EXPECT_EQ(db.count(QStringLiteral("ProductStructures")), 3);

    EXPECT_EQ(convert(1), 6);
    EXPECT_EQ(message,
              QStringLiteral("\r\n母件(或下级母件)[TOP 样TOP;;;;;;;;;;]已经存在版本号为()的产品结构，请检查！"));
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 2);
}

TEST_P(BomConversionTest, a_child_without_version_stops_the_whole_structure)
{
    twoLevels(QString());
    EXPECT_EQ(convert(1), -1);
    EXPECT_EQ(message, QStringLiteral("\r\n母件(或下级母件)[CHILD 样CHILD;;;;;;;;;;]必须输入本版号，请检查！"));
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 0);
}

TEST_P(BomConversionTest, refuses_items_the_structure_cannot_be_made_of)
{
    struct Case
    {
        const char *what;
        bool self, outsourced;
        int planPolicy;
        bool service;
        qint16 status;
        QString text;
    };
    const QList<Case> cases{
        {"reorder point, even when self-made", true, false, 2, false, 5,
         QStringLiteral("\r\n母件[TOP]是ROP件，不能生成BOM！")},
        {"neither made nor outsourced", false, false, 0, false, 5,
         QStringLiteral("\r\n母件[TOP]没有自制或委外属性，请检查！")},
        {"a service", true, false, 0, true, 3,
         QStringLiteral("\r\n存货[TOP 样TOP]在存货档案中不存在或者属于应税劳务，请检查！")},
    };
    for (const Case &c : cases) {
        db.exec(QStringLiteral("DELETE FROM Inventory WHERE cInvCode = 'TOP'"));
        data.item(QStringLiteral("TOP"), c.self, c.outsourced, c.planPolicy, c.service);
        if (db.count(QStringLiteral("ManageSample")) == 0) {
            data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
            data.line(1, 11, {.component = QStringLiteral("PART")});
        }
        EXPECT_EQ(convert(1), c.status) << c.what;
        EXPECT_EQ(message, c.text) << c.what;
    }
    data.sample(5, QStringLiteral("YP5"), QStringLiteral("EMPTY"));
    EXPECT_EQ(convert(5), 4);
    EXPECT_EQ(message, QStringLiteral("\r\n意外错误：母件[EMPTY 样EMPTY;;;;;;;;;;]不存在对应的子件，请检查！"));
    EXPECT_EQ(convert(77), 2);
    EXPECT_EQ(convert(0), 1);
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 0);
}

TEST_P(BomConversionTest, accepts_a_child_whose_structure_exists_and_links_it)
{
    twoLevels();
    const int existing = data.bom(QStringLiteral("CHILD"), QStringLiteral("V1"));
    ASSERT_EQ(convert(1), 0) << message.toStdString();
    EXPECT_EQ(message,
              QStringLiteral("\r\n母件(或下级母件)[CHILD 样CHILD;;;;;;;;;;]已经存在版本号为(V1)的产品结构，请检查！"
                             "\r\n转换母件[TOP 样TOP;;;;;;;;;;]成功！"));
    EXPECT_EQ(data.number(QStringLiteral("SELECT ChildGUID FROM ProductStructures WHERE cPSCode = 'CHILD'")), existing);
}

TEST_P(BomConversionTest, links_no_structure_of_other_free_items_and_writes_each_line_once)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
    data.line(1, 11, {.component = QStringLiteral("PART"), .free1 = QStringLiteral("红")});
    data.bom(QStringLiteral("PART"), {}, 0, 0, QStringLiteral("蓝"));
    data.line(1, 12, {.component = QStringLiteral("TWICE")});
    const int first = data.bom(QStringLiteral("TWICE"));
    data.bom(QStringLiteral("TWICE"));

    ASSERT_EQ(convert(1), 0) << message.toStdString();
    EXPECT_EQ(db.count(QStringLiteral("ProductStructures"), QStringLiteral("cPSCode = 'PART' AND ChildGUID IS NULL")),
              1);
    EXPECT_EQ(db.count(QStringLiteral("ProductStructures"), QStringLiteral("cPSCode = 'TWICE'")), 1);
    EXPECT_EQ(data.number(QStringLiteral("SELECT ChildGUID FROM ProductStructures WHERE cPSCode = 'TWICE'")), first);
}

TEST_P(BomConversionTest, refuses_a_stored_loop_without_writing)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("A"));
    data.sample(2, QString(), QStringLiteral("B"), QStringLiteral("V1"));
    data.line(1, 11, {.component = QStringLiteral("B"), .child = 2});
    data.line(2, 21, {.component = QStringLiteral("A"), .child = 1});
    EXPECT_EQ(convert(1), -1);
    EXPECT_EQ(message, QStringLiteral("\r\n子件[A]循环出现，请检查！"));
    EXPECT_EQ(db.count(QStringLiteral("ProductStructure")), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, BomConversionTest, ORVANE_BOTH_BACKENDS);
