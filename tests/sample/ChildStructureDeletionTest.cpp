#include "ChildStructureFixture.h"

#include "sample/SubStructureDeletion.h"

#include <ostream>

// Deleting a voucher, or a line in a save, takes the child samples below with their lines and
// attachments; nothing is left pointing nowhere, and nothing else goes.

namespace {

using Step = SubStructureDeletion::Step;

const QString kFiles = QStringLiteral("OR_VN_fileTable");
const QString kLines = QStringLiteral("ManageSamples");
const QString kHeads = QStringLiteral("ManageSample");

QList<Step> wholeHead(qint64 id)
{
    return {{kFiles, id}, {kLines, id}, {kHeads, id}};
}

class ChildStructureDeletion : public ChildStructureTest
{
};

} // namespace

void PrintTo(const SubStructureDeletion::Step &step, std::ostream *os)
{
    *os << step.table.toStdString() << ' ' << step.headId;
}

TEST_P(ChildStructureDeletion, deleting_a_voucher_takes_its_whole_structure_and_nothing_else)
{
    data.line(1, 1004, QStringLiteral("C4"));
    db.exec(QStringLiteral("UPDATE ManageSamples SET ChildGUID = 0 WHERE iSubID = 1004")); // 0 = no child
    load(1);
    engine.domBody().row(2).setValue(QStringLiteral("childguid"), QStringLiteral(" ")); // blank: no child either

    ASSERT_EQ(engine.VoucherDelete(false), QString());
    EXPECT_EQ(heads(kHeads), QList<int>({9, 10}));
    EXPECT_EQ(heads(kLines), QList<int>({9, 10}));
    EXPECT_EQ(heads(kFiles), QList<int>({9, 10}));
    EXPECT_EQ(orphans(), 0);
}

TEST_P(ChildStructureDeletion, children_go_before_their_parent_and_the_voucher_attachments_first)
{
    SubStructureDeletion deletion(db.cnn());
    deletion.deletingVoucher(1);
    deletion.addAttachmentsOf(1);
    ASSERT_TRUE(deletion.addSubTrees({2, 0, 3}));
    const QList<Step> expected = QList<Step>{{kFiles, 1}} + wholeHead(2) + wholeHead(4) + wholeHead(3);
    EXPECT_EQ(deletion.steps(), expected);
    ASSERT_TRUE(deletion.run());
    EXPECT_EQ(heads(kHeads), QList<int>({1, 9, 10}));
    EXPECT_EQ(heads(kFiles), QList<int>({9, 10}));
}

TEST_P(ChildStructureDeletion, a_shared_sub_structure_is_deleted_once)
{
    data.line(2, 2002, QStringLiteral("G1"), 4); // child 2 uses grandchild 4 as well
    SubStructureDeletion deletion(db.cnn());
    deletion.deletingVoucher(1);
    ASSERT_TRUE(deletion.addSubTrees({2, 3}));
    EXPECT_EQ(deletion.steps(), wholeHead(4) + wholeHead(2) + wholeHead(3));
}

TEST_P(ChildStructureDeletion, a_stored_loop_of_links_ends_and_never_takes_the_voucher_itself)
{
    data.line(4, 4002, QStringLiteral("C2"), 3);  // back to its parent
    data.line(4, 4003, QStringLiteral("TOP"), 1); // back to the voucher being saved
    ASSERT_EQ(saveWithoutLine(1, 1002), QString());
    EXPECT_EQ(heads(kHeads), QList<int>({1, 2, 9, 10}));
    EXPECT_EQ(heads(kFiles), QList<int>({1, 2, 9, 10}));
}

TEST_P(ChildStructureDeletion, deleting_a_line_in_a_save_takes_exactly_its_sub_tree)
{
    const QString otherVersion = qvts(9);
    ASSERT_EQ(saveWithoutLine(1, 1002), QString());
    EXPECT_EQ(heads(kHeads), QList<int>({1, 2, 9, 10}));
    EXPECT_EQ(heads(kLines), QList<int>({1, 2, 9, 10}));
    EXPECT_EQ(heads(kFiles), QList<int>({1, 2, 9, 10}));
    EXPECT_EQ(db.count(kLines, QStringLiteral("iAutoID = 1")), 2);
    EXPECT_EQ(orphans(), 0);
    EXPECT_EQ(qvts(9), otherVersion);
}

TEST_P(ChildStructureDeletion, deleting_a_copy_that_shares_child_samples_leaves_the_original_whole)
{
    // A copy made before copies dropped their links: its lines name the original's children.
    data.head(20, QStringLiteral("YP020"), QStringLiteral("TOP2"));
    data.line(20, 20001, QStringLiteral("C1"), 2);
    data.line(20, 20002, QStringLiteral("C2"), 3);
    load(20);
    ASSERT_EQ(engine.VoucherDelete(false), QString());
    EXPECT_EQ(heads(kHeads), QList<int>({1, 2, 3, 4, 9, 10}));
    EXPECT_EQ(heads(kLines), QList<int>({1, 2, 3, 4, 9, 10}));

    // A line deleted in a save takes no child that a line of another voucher still names.
    data.head(21, QStringLiteral("YP021"), QStringLiteral("TOP3"));
    data.line(21, 21001, QStringLiteral("C2"), 3);
    ASSERT_EQ(saveWithoutLine(1, 1002), QString());
    EXPECT_EQ(heads(kHeads), QList<int>({1, 2, 3, 4, 9, 10, 21})) << "a line that stays still names child 3";
}

TEST_P(ChildStructureDeletion, a_link_to_a_numbered_voucher_never_takes_it_along)
{
    data.line(1, 1004, QStringLiteral("OTHER"), 9);
    load(1);
    ASSERT_EQ(engine.VoucherDelete(false), QString());
    EXPECT_EQ(heads(kHeads), QList<int>({9, 10}));
    EXPECT_EQ(heads(kLines), QList<int>({9, 10}));
    EXPECT_EQ(heads(kFiles), QList<int>({9, 10}));
}

TEST_P(ChildStructureDeletion, a_failure_half_way_through_a_voucher_deletion_keeps_every_row)
{
    // Child 2 is gone by the time the grandchild's head is deleted.
    data.refuse(QStringLiteral("DELETE"), kHeads, QStringLiteral("iAutoID"), 4, QStringLiteral("样品4被锁定"));
    load(1);
    const QString answer = engine.VoucherDelete(false);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("VoucherDelete:"))) << answer.toStdString();
    EXPECT_TRUE(answer.contains(QStringLiteral("样品4被锁定"))) << answer.toStdString();
    EXPECT_TRUE(answer.endsWith(QStringLiteral("\r\n")));
    EXPECT_FALSE(engine.connection().inTransaction());
    EXPECT_EQ(db.count(kHeads), 6);
    EXPECT_EQ(db.count(kLines), 8);
    EXPECT_EQ(db.count(kFiles), 6);
}

TEST_P(ChildStructureDeletion, a_failure_half_way_through_a_line_deletion_refuses_the_save_and_says_why)
{
    data.refuse(QStringLiteral("DELETE"), kLines, QStringLiteral("iAutoID"), 3, QStringLiteral("明细3被锁定"));
    const QString answer = saveWithoutLine(1, 1002);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("保存失败,DelOther:"))) << answer.toStdString();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("DelOther:")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("明细3被锁定")));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("销售管理"));
    EXPECT_EQ(db.count(kHeads), 6);
    EXPECT_EQ(db.count(kLines), 8);
    EXPECT_EQ(db.count(kFiles), 6);
    EXPECT_EQ(db.count(kLines, QStringLiteral("iSubID = 1002 AND ChildGUID = 3")), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, ChildStructureDeletion, ORVANE_BOTH_BACKENDS);
