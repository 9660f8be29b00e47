#include "BomStructureData.h"

#include "sample/SampleStructureTree.h"

#include <gtest/gtest.h>

// The tree beside the card: what is shown below a sample, where a loop stops it, and how many
// queries a build takes.
class SampleStructureTreeTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override { ORVANE_REQUIRE(db); }

    // The texts of the children of node `index`, as "(code)" prefixes.
    QStringList codesBelow(int index)
    {
        QStringList codes;
        for (int child : tree.nodes()[index].children) {
            const QString text = tree.nodes()[child].text;
            codes << text.mid(1, text.indexOf(QLatin1Char(')')) - 1);
        }
        return codes;
    }

    int childOf(int index, int position) { return tree.nodes()[index].children.value(position, -1); }

    TestDatabase db{GetParam()};
    BomStructureData data{db};
    SampleStructureTree tree{db.cnn()};
};

TEST_P(SampleStructureTreeTest, shows_child_samples_before_boms_and_leaves_out_unknown_items)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
    data.sample(2, QString(), QStringLiteral("B"), QStringLiteral("V1"));
    data.line(1, 11, {.component = QStringLiteral("B"), .child = 2, .version = QStringLiteral("V1")});
    data.line(1, 12, {.component = QStringLiteral("C")});
    data.line(1, 13, {.component = QStringLiteral("D")});
    // B has a bill of materials too, but its child sample wins.
    const int bomB = data.bom(QStringLiteral("B"), QStringLiteral("V1"));
    data.bomLine(bomB, QStringLiteral("FROM_BOM"), 1, 1);
    data.line(2, 21, {.component = QStringLiteral("E")});
    const int bomD = data.bom(QStringLiteral("D"));
    data.bomLine(bomD, QStringLiteral("F"), 1, 1);
    db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode) VALUES (1, 14, 'GHOST')"));

    ASSERT_TRUE(tree.build(QStringLiteral("1")));
    EXPECT_EQ(tree.nodes()[0].key, QStringLiteral("rr"));
    EXPECT_EQ(tree.nodes()[0].text, QStringLiteral("样品BOM信息"));
    const int top = childOf(0, 0);
    EXPECT_EQ(tree.nodes()[top].text, QStringLiteral("(TOP)样TOP;;;;;;;;;;"));
    EXPECT_EQ(codesBelow(top), (QStringList{"B", "C", "D"}));
    const int b = childOf(top, 0);
    EXPECT_EQ(codesBelow(b), QStringList{"E"});
    EXPECT_EQ(tree.nodes()[b].tag, QStringLiteral("rB\tV1\t2 \t%1 \t 11").arg(bomB));
    EXPECT_EQ(tree.nodes()[b].key, QStringLiteral("rrrTOP1rB2"));
    EXPECT_TRUE(codesBelow(childOf(top, 1)).isEmpty()); // neither child sample nor bill: a leaf
    EXPECT_EQ(codesBelow(childOf(top, 2)), QStringList{"F"});
    EXPECT_EQ(tree.nodes()[childOf(childOf(top, 2), 0)].tag, QStringLiteral("rF\t\t \t \t "));
    EXPECT_FALSE(tree.hasCycle());
}

TEST_P(SampleStructureTreeTest, stops_at_a_loop_and_describes_it)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("A"));
    data.sample(2, QString(), QStringLiteral("B"), QStringLiteral("V1"));
    data.line(1, 11, {.component = QStringLiteral("B"), .child = 2});
    data.line(2, 21, {.component = QStringLiteral("A"), .child = 1});

    ASSERT_TRUE(tree.build(QStringLiteral("1")));
    const int b = childOf(childOf(0, 0), 0);
    const int a = childOf(b, 0);
    EXPECT_EQ(codesBelow(b), QStringList{"A"});
    EXPECT_TRUE(codesBelow(a).isEmpty());
    EXPECT_TRUE(tree.hasCycle());
    EXPECT_EQ(tree.cycleDescription(), QStringLiteral("\r\n子件[A]循环出现，请检查！"));

    ASSERT_TRUE(tree.build(QString())); // a rebuild starts afresh
    EXPECT_FALSE(tree.hasCycle());
    EXPECT_EQ(tree.nodes().size(), 1);
}

TEST_P(SampleStructureTreeTest, picks_the_oldest_of_two_boms_with_one_key_and_reads_a_level_per_query_pair)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
    // Ten lines share the sample S, whose component has two bills of materials with the same key.
    data.sample(2, QString(), QStringLiteral("S"), QStringLiteral("V1"));
    for (int i = 0; i < 10; ++i)
        data.line(1, 100 + i, {.component = QStringLiteral("S"), .child = 2, .version = QStringLiteral("V1")});
    data.line(2, 200, {.component = QStringLiteral("M")});
    const int first = data.bom(QStringLiteral("M"));
    data.bomLine(first, QStringLiteral("X"), 1, 1);
    const int second = data.bom(QStringLiteral("M"));
    data.bomLine(second, QStringLiteral("Y"), 1, 1);

    ASSERT_TRUE(tree.build(QStringLiteral("1")));
    const int top = childOf(0, 0);
    ASSERT_EQ(codesBelow(top).size(), 10);
    for (int i = 0; i < 10; ++i) {
        const int m = childOf(childOf(top, i), 0);
        EXPECT_EQ(codesBelow(m), QStringList{"X"}) << "line " << i;
    }
    // Three levels (sample 1, sample 2, bill `first`): heads and lines of each, once.
    EXPECT_EQ(tree.queryCount(), 6);
}

INSTANTIATE_TEST_SUITE_P(Db, SampleStructureTreeTest, ORVANE_BOTH_BACKENDS);
