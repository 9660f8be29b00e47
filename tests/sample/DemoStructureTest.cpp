#include "support/TestDatabase.h"

#include "platform/DemoData.h"
#include "sample/SampleStructureTree.h"

#include <gtest/gtest.h>

// The demo data shows what the structure tree can do: samples nested three levels, components
// priced from a bill of materials only, and one sample whose stored structure runs in a loop.
class DemoStructureTest : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
};

TEST_P(DemoStructureTest, has_deep_samples_bom_only_components_and_one_stored_loop)
{
    ORVANE_REQUIRE(db);
    ASSERT_TRUE(DemoData::fill(db.cnn()));
    auto tops = db.cnn().Query(QStringLiteral("SELECT iAutoID FROM ManageSample WHERE cCode <> '' ORDER BY iAutoID"));
    ASSERT_TRUE(tops);
    int loops = 0;
    int deepest = 0;
    int bomOnly = 0;
    for (int r = 0; r < tops->RecordCount(); ++r) {
        SampleStructureTree tree(db.cnn());
        ASSERT_TRUE(tree.build(tops->value(r, 0).toString()));
        loops += tree.hasCycle() ? 1 : 0;
        for (const SampleStructureTree::Node &node : tree.nodes()) {
            int depth = 0;
            for (int p = node.parent; p >= 0; p = tree.nodes()[p].parent)
                ++depth;
            deepest = qMax(deepest, depth);
            const QStringList tag = node.tag.split(QLatin1Char('\t'));
            if (tag.size() == 5 && tag[2].trimmed().isEmpty() && !tag[3].trimmed().isEmpty()
                && !node.children.isEmpty())
                ++bomOnly;
        }
        if (r == tops->RecordCount() - 1) {
            EXPECT_FALSE(tree.hasCycle()) << "the card opens on the newest sample";
        }
    }
    EXPECT_EQ(loops, 1);
    EXPECT_GE(deepest, 5); // root, sample and three levels of child samples with their components
    EXPECT_GT(bomOnly, 0);
}

INSTANTIATE_TEST_SUITE_P(Db, DemoStructureTest, ORVANE_BOTH_BACKENDS);
