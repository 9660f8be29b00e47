#include "SampleDocuments.h"
#include "StructureData.h"

#include "sample/SampleStructureChecks.h"

#include <QElapsedTimer>

#include <list>

namespace {

const QString kDeleted = QStringLiteral("单据已经被删除，请检查！");
const QString kChanged = QStringLiteral("单据已经被修改，请检查！");

QString sampleLoop(const QString &item)
{
    return QStringLiteral("子件[") + item + QStringLiteral("]在样品单据中循环出现，请检查！");
}

QString bomLoop(const QString &item)
{
    return QStringLiteral("子件[") + item + QStringLiteral("]在产品结构中构成循环，请检查！");
}

class SampleStructureChecksTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override { ORVANE_REQUIRE(db); }

    // The head row of a saved sample as the save hands it to the checks.
    VoucherRow head(int id, const QString &code, const QString &item, const QString &version,
                    const QString &free1 = QString())
    {
        m_heads.push_back(documentOf({{{"iautoid", QString::number(id)},
                                       {"ccode", code},
                                       {"cnewinvcode", item},
                                       {"csocode", version},
                                       {"cfree1", free1}}}));
        return m_heads.back().headRow();
    }
    QString checkHead(const VoucherRow &row, qint32 parentId = 0, const QString &parentVersion = {})
    {
        auto why = SampleStructureChecks(db.cnn()).checkHead(row, parentId, parentVersion);
        EXPECT_TRUE(why) << why.error().toStdString();
        return why ? *why : why.error();
    }
    QString checkBody(const VoucherRow &row)
    {
        auto why = SampleStructureChecks(db.cnn()).checkBody(row);
        EXPECT_TRUE(why) << why.error().toStdString();
        return why ? *why : why.error();
    }
    QString qvts(int id)
    {
        return db.cnn()
            .Scalar(QStringLiteral("SELECT CAST(qvts AS TEXT) FROM ManageSample WHERE iAutoID = ?"), {id})
            ->toString();
    }

    TestDatabase db{GetParam()};
    StructureData data{db};
    std::list<VoucherDocument> m_heads; // rows stay valid while their documents live
};

} // namespace

TEST_P(SampleStructureChecksTest, refuses_a_second_sample_of_the_same_structure)
{
    data.sample(1, QString(), QStringLiteral("P1"), QStringLiteral("V1"), {QStringLiteral("C1")}, QStringLiteral("红"));
    data.sample(2, QString(), QStringLiteral("P1"), QStringLiteral("V1 "), {QStringLiteral("C1")},
                QStringLiteral("红"));
    const QString parent = qvts(1);
    EXPECT_EQ(
        checkHead(head(2, QString(), QStringLiteral("P1"), QStringLiteral("V1 "), QStringLiteral("红")), 1, parent),
        QStringLiteral("母件[P1;红;;;;;;;;;]在样品单据中已经存在版本号为(V1 )的结构"))
        << "a trailing blank does not make another version";
}

TEST_P(SampleStructureChecksTest, tells_versions_and_free_items_apart_by_letter_case)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("P1"), QStringLiteral("v1"), {QStringLiteral("C1")});
    data.sample(2, QStringLiteral("YP2"), QStringLiteral("P1"), QStringLiteral("V1"), {QStringLiteral("C1")});
    EXPECT_EQ(checkHead(head(2, QStringLiteral("YP2"), QStringLiteral("P1"), QStringLiteral("V1"))), QString());
}

TEST_P(SampleStructureChecksTest, lets_top_level_samples_without_an_item_share_their_empty_key)
{
    data.sample(1, QStringLiteral("YP1"), QString(), QString(), {QStringLiteral("C1")});
    data.sample(2, QStringLiteral("YP2"), QString(), QString(), {QStringLiteral("C1")});
    EXPECT_EQ(checkHead(head(2, QStringLiteral("YP2"), QString(), QString())), QString());
}

TEST_P(SampleStructureChecksTest, refuses_a_structure_the_bill_of_materials_already_holds)
{
    data.bom(QStringLiteral("P1"), QStringLiteral("V1"), {QStringLiteral("C9")});
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("P1"), QStringLiteral("V1"), {QStringLiteral("C1")});
    EXPECT_EQ(checkHead(head(1, QStringLiteral("YP1"), QStringLiteral("P1"), QStringLiteral("V1"))),
              QStringLiteral("母件[P1;;;;;;;;;;]在物料清单中已经存在版本号为(V1)的结构"));
}

TEST_P(SampleStructureChecksTest, saves_a_child_only_while_its_parent_is_there_and_unchanged)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("P1"), QString(), {QStringLiteral("C1")});
    data.sample(2, QString(), QStringLiteral("C1"), QStringLiteral("V1"), {QStringLiteral("D1")});
    const VoucherRow child = head(2, QString(), QStringLiteral("C1"), QStringLiteral("V1"));
    const QString loaded = qvts(1);

    EXPECT_EQ(checkHead(child, 1, loaded + QStringLiteral(" ")), QString()) << "the parent as the card loaded it";
    db.exec(QStringLiteral("UPDATE ManageSample SET cMemo = 'x' WHERE iAutoID = 1"));
    EXPECT_EQ(checkHead(child, 1, loaded), kChanged);
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    EXPECT_EQ(checkHead(child, 1, loaded), kDeleted);
}

TEST_P(SampleStructureChecksTest, finds_a_loop_through_samples_bills_of_materials_and_both)
{
    // Sample S1 (A) uses B: a sample for B that uses A closes a loop.
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("A"), QString(), {QStringLiteral("B")});
    data.sample(2, QStringLiteral("YP2"), QStringLiteral("B"), QString(), {QStringLiteral("A")});
    EXPECT_EQ(checkBody(head(2, QStringLiteral("YP2"), QStringLiteral("B"), QString())),
              sampleLoop(QStringLiteral("A")));

    // The bill of materials of E uses F: a sample for F that uses E.
    data.bom(QStringLiteral("E"), QString(), {QStringLiteral("F")});
    data.sample(3, QStringLiteral("YP3"), QStringLiteral("F"), QString(), {QStringLiteral("E")});
    EXPECT_EQ(checkBody(head(3, QStringLiteral("YP3"), QStringLiteral("F"), QString())), bomLoop(QStringLiteral("E")));

    // Mixed: G is used in sample H, H in the bill of materials of K; a sample for G using K.
    data.sample(4, QStringLiteral("YP4"), QStringLiteral("H"), QString(), {QStringLiteral("G")});
    data.bom(QStringLiteral("K"), QString(), {QStringLiteral("H")});
    data.sample(5, QStringLiteral("YP5"), QStringLiteral("G"), QString(), {QStringLiteral("K")});
    EXPECT_EQ(checkBody(head(5, QStringLiteral("YP5"), QStringLiteral("G"), QString())), bomLoop(QStringLiteral("K")));

    // Used nowhere: nothing to walk.
    data.sample(6, QStringLiteral("YP6"), QStringLiteral("LONE"), QString(), {QStringLiteral("A")});
    EXPECT_EQ(checkBody(head(6, QStringLiteral("YP6"), QStringLiteral("LONE"), QString())), QString());
}

TEST_P(SampleStructureChecksTest, tells_items_apart_by_letter_case_as_the_lookups_do)
{
    // "a" is not "A": no loop is made up from codes that differ in case; blanks around a code do
    // not count.
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("A "), QString(), {QStringLiteral("B")});
    data.sample(2, QStringLiteral("YP2"), QStringLiteral("B"), QString(), {QStringLiteral("a")});
    EXPECT_EQ(checkBody(head(2, QStringLiteral("YP2"), QStringLiteral("B"), QString())), QString());
    data.sample(3, QStringLiteral("YP3"), QStringLiteral("B"), QStringLiteral("V2"), {QStringLiteral("A")});
    EXPECT_EQ(checkBody(head(3, QStringLiteral("YP3"), QStringLiteral("B"), QStringLiteral("V2"))),
              sampleLoop(QStringLiteral("A ")));
}

TEST_P(SampleStructureChecksTest, an_item_walked_before_does_not_answer_for_one_that_differs_in_case)
{
    // N is used in "a" (used nowhere) and in "A", which K uses; a sample of N using K closes a loop
    // through "A" that the answer for "a" must not hide.
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("a"), QString(), {QStringLiteral("N")});
    data.sample(2, QStringLiteral("YP2"), QStringLiteral("A"), QString(), {QStringLiteral("N")});
    data.sample(3, QStringLiteral("YP3"), QStringLiteral("K"), QString(), {QStringLiteral("A")});
    data.sample(4, QStringLiteral("YP4"), QStringLiteral("N"), QString(), {QStringLiteral("K")});
    EXPECT_EQ(checkBody(head(4, QStringLiteral("YP4"), QStringLiteral("N"), QString())),
              sampleLoop(QStringLiteral("K")));
}

TEST_P(SampleStructureChecksTest, refuses_instead_of_walking_round_a_loop_already_stored)
{
    // A uses B and B uses A, written without the checks; then a new version of A is saved.
    data.sample(1, QString(), QStringLiteral("A"), QStringLiteral("V1"), {QStringLiteral("B")});
    data.sample(2, QString(), QStringLiteral("B"), QStringLiteral("V1"), {QStringLiteral("A")});
    data.sample(3, QStringLiteral("YP3"), QStringLiteral("A"), QString(), {QStringLiteral("Z")});
    EXPECT_EQ(checkBody(head(3, QStringLiteral("YP3"), QStringLiteral("A"), QString())),
              sampleLoop(QStringLiteral("A")));
}

TEST_P(SampleStructureChecksTest, walks_a_doubly_shared_structure_once_per_item)
{
    // Twenty levels of two items each; every item uses both items of the next level, so the
    // bottom item has 2^20 paths to the top but only 40 ancestors.
    const int levels = 20;
    int id = 0;
    for (int level = 0; level < levels; ++level) {
        const QStringList below{QStringLiteral("L%1A").arg(level + 1), QStringLiteral("L%1B").arg(level + 1)};
        data.sample(++id, QString(), QStringLiteral("L%1A").arg(level), QString(), below);
        data.sample(++id, QString(), QStringLiteral("L%1B").arg(level), QString(), below);
    }
    data.sample(++id, QStringLiteral("YP"), QStringLiteral("L%1A").arg(levels), QString(), {QStringLiteral("X")});
    const VoucherRow bottom = head(id, QStringLiteral("YP"), QStringLiteral("L%1A").arg(levels), QString());

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(checkBody(bottom), QString());
    data.sample(++id, QStringLiteral("YQ"), QStringLiteral("L%1A").arg(levels), QStringLiteral("V2"),
                {QStringLiteral("L0B")});
    EXPECT_EQ(checkBody(head(id, QStringLiteral("YQ"), QStringLiteral("L%1A").arg(levels), QStringLiteral("V2"))),
              sampleLoop(QStringLiteral("L0B")));
    // Generous for a slow machine; walking every path would take hours.
    EXPECT_LT(timer.elapsed(), 5000);
}

INSTANTIATE_TEST_SUITE_P(Db, SampleStructureChecksTest, ORVANE_BOTH_BACKENDS);
