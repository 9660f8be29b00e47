#include "BomStructureData.h"

#include "sample/CostRollUp.h"

#include <gtest/gtest.h>

#include <cmath>

// The cost roll-up over stored structures: what each line and head gets, and that the totals agree
// with an independent walk over every path of a structure with shared sub-structures.
class CostRollUpTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override { ORVANE_REQUIRE(db); }

    bool rollUp(int sampleId, const QString &bomId = {})
    {
        material = 0;
        outsourcing = 0;
        CostRollUp rollUp(db.cnn());
        const bool done = rollUp.RollUpSampleCost(sampleId, bomId, material, outsourcing);
        error = rollUp.error();
        return done;
    }

    double lineValue(const QString &column, int subId)
    {
        return data.number(QStringLiteral("SELECT %1 FROM ManageSamples WHERE iSubID = ?").arg(column), {subId});
    }

    TestDatabase db{GetParam()};
    BomStructureData data{db};
    double material = 0;
    double outsourcing = 0;
    QString error;
};

TEST_P(CostRollUpTest, prices_lines_with_waste_children_and_boms)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"), {}, 100, 50, 7);
    // 2 x 10 x 1.05 = 21
    data.line(1, 11, {.component = QStringLiteral("P"), .quantity = 2, .charge = 10, .waste = 5, .outPrice = 3});
    // A child sample: 1 x 4 of material plus its charges 1 + 2 + 3, 10 a unit; 3 of them.
    data.sample(2, QString(), QStringLiteral("C"), QStringLiteral("V1"), 1, 2, 3);
    data.line(
        1, 12,
        {.component = QStringLiteral("C"), .quantity = 3, .charge = 999, .child = 2, .version = QStringLiteral("V1")});
    data.line(2, 21, {.component = QStringLiteral("Q"), .quantity = 1, .charge = 4});
    // A component with only a bill of materials: 2 x 5 of material plus 6 + 4 of labour and overhead.
    const int bom = data.bom(QStringLiteral("B"), {}, 6, 4);
    data.bomLine(bom, QStringLiteral("R"), 2, 5);
    data.line(1, 13, {.component = QStringLiteral("B"), .quantity = 0.5, .charge = 999});

    ASSERT_TRUE(rollUp(1)) << error.toStdString();
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCost"), 11), 21);
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCharge"), 12), 10);
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCost"), 12), 30);
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCharge"), 13), 20);
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCost"), 13), 10);
    EXPECT_DOUBLE_EQ(data.number(QStringLiteral("SELECT iTolMaterialCost FROM ManageSample WHERE iAutoID = 2")), 4);
    EXPECT_DOUBLE_EQ(data.number(QStringLiteral("SELECT iTolMaterialCost FROM ManageSample WHERE iAutoID = 1")), 61);
    EXPECT_DOUBLE_EQ(material, 61 + 157);
    EXPECT_DOUBLE_EQ(outsourcing, 6);
}

TEST_P(CostRollUpTest, a_zero_divisor_counts_nothing_and_keeps_the_stored_cost)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
    data.line(1, 11, {.component = QStringLiteral("P"), .quantity = 2, .divisor = 0.0, .charge = 10});
    data.line(1, 12, {.component = QStringLiteral("Q"), .quantity = 3, .divisor = QVariant(), .charge = 2});
    db.exec(QStringLiteral("UPDATE ManageSamples SET iMaterialCost = 77 WHERE iSubID = 11"));

    ASSERT_TRUE(rollUp(1)) << error.toStdString();
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCost"), 11), 77);
    EXPECT_DOUBLE_EQ(lineValue(QStringLiteral("iMaterialCost"), 12), 6); // a missing divisor is 1
    EXPECT_DOUBLE_EQ(material, 6);
}

TEST_P(CostRollUpTest, counts_a_component_with_two_boms_of_one_key_once)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
    data.line(1, 11, {.component = QStringLiteral("B"), .quantity = 1});
    data.bomLine(data.bom(QStringLiteral("B")), QStringLiteral("R"), 1, 5);
    data.bomLine(data.bom(QStringLiteral("B")), QStringLiteral("S"), 1, 50);

    ASSERT_TRUE(rollUp(1)) << error.toStdString();
    EXPECT_DOUBLE_EQ(material, 5);
}

TEST_P(CostRollUpTest, refuses_a_stored_loop_and_writes_nothing)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("A"));
    data.sample(2, QString(), QStringLiteral("B"), QStringLiteral("V1"));
    data.line(1, 11, {.component = QStringLiteral("B"), .charge = 3, .child = 2});
    data.line(2, 21, {.component = QStringLiteral("A"), .charge = 3, .child = 1});

    EXPECT_FALSE(rollUp(1));
    EXPECT_EQ(error, QStringLiteral("子件[A]循环出现，请检查！"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iMaterialCost IS NOT NULL")), 0);
}

// Four levels of child samples; every sample of a level uses every sample of the next one, so each
// is reached along many paths. The independent total walks every path with a recursive query:
// each sample's charges weighted by the product of the quantities (with waste) above it, plus each
// leaf line's price weighted the same way.
TEST_P(CostRollUpTest, agrees_to_the_cent_with_a_walk_over_every_path)
{
    const int width = 3;
    const int depth = 4;
    auto sampleId = [&](int level, int i) {
        return level == 0 ? 1 : 10 * level + i;
    };
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("ROOT"), {}, 12.5, 3.25, 1);
    int subId = 1000;
    for (int level = 1; level <= depth; ++level) {
        for (int i = 0; i < width; ++i)
            data.sample(sampleId(level, i), QString(), QStringLiteral("S%1_%2").arg(level).arg(i), QStringLiteral("V1"),
                        0.1 * (i + level), 0.07 * level, 0.03 * i);
    }
    for (int level = 0; level <= depth; ++level) {
        for (int i = 0; i < (level == 0 ? 1 : width); ++i) {
            const int id = sampleId(level, i);
            data.line(id, ++subId,
                      {.component = QStringLiteral("LEAF%1").arg(subId),
                       .quantity = 1.5 + i,
                       .divisor = 2.0,
                       .charge = 3.17 * (level + 1),
                       .waste = 2.5});
            if (level == depth)
                continue;
            for (int j = 0; j < width; ++j)
                data.line(id, ++subId,
                          {.component = QStringLiteral("S%1_%2").arg(level + 1).arg(j),
                           .quantity = 0.5 + j,
                           .divisor = 1.0,
                           .waste = 1.0 * j,
                           .child = sampleId(level + 1, j),
                           .version = QStringLiteral("V1")});
        }
    }
    const QString real = db.cnn().dialect().realType();
    const QString walk
        = QStringLiteral(
              "WITH RECURSIVE walk(sample, mult) AS (SELECT 1, CAST(1 AS %1) UNION ALL "
              "SELECT l.ChildGUID, w.mult * l.iPSQuantity / l.tdQtyD * (1 + l.iWasteRate / 100.0) "
              "FROM walk w JOIN ManageSamples l ON l.iAutoID = w.sample WHERE l.ChildGUID IS NOT NULL) "
              "SELECT (SELECT SUM(w.mult * (h.iPerCharge + h.iMakeCharge + h.iTolOutCost)) FROM walk w "
              "JOIN ManageSample h ON h.iAutoID = w.sample) + (SELECT SUM(w.mult * l.iPSQuantity / l.tdQtyD * "
              "(1 + l.iWasteRate / 100.0) * l.iMaterialCharge) FROM walk w JOIN ManageSamples l ON l.iAutoID = "
              "w.sample "
              "WHERE l.ChildGUID IS NULL)")
              .arg(real);
    const double expected = data.number(walk);

    ASSERT_TRUE(rollUp(1)) << error.toStdString();
    EXPECT_EQ(std::llround(material * 100), std::llround(expected * 100));
    const double stored = data.number(QStringLiteral("SELECT iTolMaterialCost FROM ManageSample WHERE iAutoID = 1"));
    EXPECT_EQ(std::llround((stored + 12.5 + 3.25 + 1) * 100), std::llround(expected * 100));
}

INSTANTIATE_TEST_SUITE_P(Db, CostRollUpTest, ORVANE_BOTH_BACKENDS);
