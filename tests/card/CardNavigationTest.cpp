#include "CardFixture.h"

#include "card/VoucherLoader.h"

namespace {

// Three numbered samples and a child sample (no number) in between.
class CardNavigation : public CardTest
{
protected:
    void seed() override
    {
        samples.voucher(1, QStringLiteral("YP001"));
        samples.voucher(2, QStringLiteral("YP002"), QStringLiteral("李娜"));
        samples.voucher(3, QString());
        samples.voucher(4, QStringLiteral("YP004"));
    }
    // Puts the components of the samples into the item master, numbered 100 + n.
    void itemsInMaster()
    {
        int n = 0;
        for (const char *item : {"P1-1", "P1-2", "P2-1", "P2-2", "P3-1", "P3-2", "P4-1", "P4-2"})
            db.exec(QStringLiteral("INSERT INTO Inventory (cInvCode, cInvName, iId) VALUES (?, ?, ?)"),
                    {QString::fromLatin1(item), QStringLiteral("子件"), 100 + ++n});
    }
    QString moves(const QStringList &keys)
    {
        QStringList seen;
        for (const QString &key : keys) {
            dispatch(key);
            seen << state().strVoucherID;
        }
        return seen.join(',');
    }
};

TEST_P(CardNavigation, moves_walk_the_numbered_samples_and_stay_at_the_ends)
{
    ASSERT_TRUE(show({}, 1));
    EXPECT_EQ(moves({"tlbNext", "tlbNext", "tlbNext", "tlbPrevious", "tlbFrist", "tlbPrevious", "TLBLAST"}),
              QStringLiteral("2,4,4,2,1,1,4"));
    EXPECT_FALSE(view->enabled("tlbNext") || view->enabled("tlbLast")) << "next on the last voucher keeps it";
    EXPECT_TRUE(view->enabled("tlbFrist") && view->enabled("tlbPrevious"));
    EXPECT_EQ(state().strPrevVoucherID, QStringLiteral("2"));
    EXPECT_EQ(state().strEditRootID, QStringLiteral("4"));
    EXPECT_EQ(view->tree.rebuilt.last(), QStringLiteral("4"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(CardNavigation, a_child_sample_is_shown_by_identifier_only)
{
    ASSERT_TRUE(show(QStringLiteral("3")));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("3"));
    EXPECT_EQ(state().strPrevVoucherID, QStringLiteral("2"));
    EXPECT_EQ(state().strNextVoucherID, QStringLiteral("4"));
    dispatch(QStringLiteral("tlbPrevious"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    dispatch(QStringLiteral("tlbNext"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("4"));
}

TEST_P(CardNavigation, a_neighbour_deleted_meanwhile_leaves_the_card_at_the_end)
{
    ASSERT_TRUE(show({}, 4));
    dispatch(QStringLiteral("tlbPrevious"));
    ASSERT_EQ(state().strVoucherID, QStringLiteral("2"));
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    dispatch(QStringLiteral("tlbPrevious"));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_FALSE(view->enabled("tlbPrevious"));
    EXPECT_EQ(control().body.size(), 2);
}

TEST_P(CardNavigation, a_line_outside_the_users_items_hides_the_whole_voucher)
{
    itemsInMaster();
    permission = std::make_shared<FakeDataPermission>();
    // Every item but P2-2 (104): voucher 2 has a line the user may not see.
    permission->fields[QStringLiteral("InventoryIID")]
        = QStringLiteral("InventoryIID in (101,102,103,105,106,107,108)");
    permission->fields[QStringLiteral("COALESCE(InventoryIID,0) not")]
        = QStringLiteral("COALESCE(InventoryIID,0) not in (101,102,103,105,106,107,108)");
    EXPECT_FALSE(show(QStringLiteral("2")));
    EXPECT_EQ(error, kNotFound);

    ASSERT_TRUE(show({}, 1));
    EXPECT_EQ(state().strNextVoucherID, QStringLiteral("4"));
    EXPECT_EQ(moves({"tlbNext", "tlbPrevious"}), QStringLiteral("4,1"));
}

TEST_P(CardNavigation, an_unrestricted_item_condition_shows_only_the_permitted_lines)
{
    itemsInMaster();
    permission = std::make_shared<FakeDataPermission>();
    // A condition that does not name the column restricts the lines read, not the vouchers.
    permission->fields[QStringLiteral("InventoryIID")] = QStringLiteral("cpscode <> 'P1-2'");
    ASSERT_TRUE(show(QStringLiteral("1")));
    ASSERT_EQ(control().body.size(), 1);
    EXPECT_EQ(control().body[0].value(QStringLiteral("cpscode")), QStringLiteral("P1-1"));
    EXPECT_EQ(control().body[0].value(QStringLiteral("editprop")), QString());
}

TEST_P(CardNavigation, the_maker_condition_keeps_other_makers_vouchers_away)
{
    permission = std::make_shared<FakeDataPermission>();
    permission->kinds[QStringLiteral("r")] = QStringLiteral("'李娜'");
    ASSERT_TRUE(show({}, 1));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("2"));
    EXPECT_TRUE(state().strPrevVoucherID.isEmpty() && state().strNextVoucherID.isEmpty());

    // Nothing permitted: an empty card, every move disabled.
    permission->kinds[QStringLiteral("r")] = QStringLiteral("1=2");
    ASSERT_TRUE(show({}, 4));
    EXPECT_EQ(state().strVoucherID, QStringLiteral("-1"));
    EXPECT_EQ(view->shownCode(), QStringLiteral("<none>"));
    EXPECT_FALSE(view->enabled("tlbFrist") || view->enabled("tlbNext") || view->enabled("tlbEdit"));
}

TEST(CardConditions, are_built_from_the_services_answers)
{
    FakeDataPermission permission;
    Connection none;
    VoucherLoader loader(none, permission, QStringLiteral("v_managesample"), QStringLiteral("v_managesamples"));
    EXPECT_EQ(loader.BuildAuthCondition(QStringLiteral("t")),
              QStringLiteral(" (1=1 or COALESCE(ccuscode,'') = '') and (1=1 or NewInvIID = -1 ) and (1=1 or "
                             "COALESCE(cdepcode,'') = '')"));
    EXPECT_EQ(loader.BuildAuthCondition(QStringLiteral("v")), QStringLiteral(" (1=1)"));
    EXPECT_EQ(loader.BuildAuthCondition(QStringLiteral("UserR")), QStringLiteral("1=1"));

    permission.kinds[QStringLiteral("r")] = QStringLiteral("'李娜','O''Brien'");
    EXPECT_EQ(loader.BuildAuthCondition(QStringLiteral("UserR")),
              QStringLiteral(" (cmaker in('李娜','O''Brien') or COALESCE(cmaker,'')='')"));
    permission.fields[QStringLiteral("InventoryIID")] = QStringLiteral("InventoryIID in (7)");
    permission.fields[QStringLiteral("COALESCE(InventoryIID,0) not")]
        = QStringLiteral("COALESCE(InventoryIID,0) not in (7)");
    EXPECT_EQ(loader.BuildAuthCondition(QStringLiteral("v")),
              QStringLiteral(" (not exists(select 1 from v_managesamples hidden where hidden.iautoid = "
                             "v_managesamples.iautoid and COALESCE(InventoryIID,0) not in (7)))"));
}

TEST_P(CardNavigation, refresh_reads_the_voucher_again_and_moves_on_when_it_is_gone)
{
    ASSERT_TRUE(show({}, 1));
    db.exec(QStringLiteral("UPDATE ManageSample SET cNewInvName = '改名' WHERE iAutoID = 1"));
    const QString before = state().strTimeStamp;
    dispatch(QStringLiteral("tlbRefresh"));
    EXPECT_EQ(control().head.value(QStringLiteral("cnewinvname")), QStringLiteral("改名"));
    EXPECT_NE(state().strTimeStamp, before);

    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iAutoID = 1"));
    db.exec(QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1"));
    dispatch(QStringLiteral("tlbRefresh"));
    EXPECT_EQ(messages.texts(), QStringList{kNotFound});
    EXPECT_EQ(state().strVoucherID, QStringLiteral("4")) << "nothing readable is shown: next means the last";
}

INSTANTIATE_TEST_SUITE_P(Db, CardNavigation, ORVANE_BOTH_BACKENDS);

} // namespace
