#include "ChildStructureFixture.h"

// Saving a child sample points its parent line at it and renews the parent voucher's row version,
// so a card showing the parent sees the change. Nothing else is touched.

namespace {

class ChildStructureLink : public ChildStructureTest
{
protected:
    // New documents for a sample of `item` with one new line; psguid names the parent line.
    void newSample(const QString &code, const QString &item, const QString &psguid)
    {
        sp->ID = 0;
        engine.GetVoucherData();
        MasterDataRows::items(db.cnn(), {item, QStringLiteral("RAW")});
        addRow(engine.domHead(), {{"ccode", code},
                                  {"ddate", "2026-12-01"},
                                  {"cnewinvcode", item},
                                  {"cnewinvname", "子件样品"},
                                  {"cnewinvcomunitcode", "PCS"},
                                  {"ifinishexch", "1"},
                                  {"csocode", "V2"},
                                  {"psguid", psguid},
                                  {"vt_id", ""}});
        addRow(engine.domBody(),
               {{"cpscode", "RAW"}, {"ipsquantity", "1"}, {"tdqtyd", "1"}, {"cwhcode", "01"}, {"editprop", "A"}});
    }

    QString save(int parent)
    {
        QVariant id;
        qint32 parentId = parent;
        QString parentVersion = qvts(parent);
        const QString answer = engine.VoucherSave(2, id, parentId, parentVersion);
        savedId = id.toInt();
        return answer;
    }

    // The links and versions of the fixture's lines and the row versions of its heads: what a save
    // of another sample must leave alone.
    QStringList snapshot()
    {
        QStringList rows;
        auto lines = db.cnn().Query(QStringLiteral(
            "SELECT iSubID, COALESCE(ChildGUID, 0), COALESCE(csocode, '') FROM ManageSamples WHERE iAutoID <= 10 "
            "ORDER BY iSubID"));
        for (int row = 0; lines && row < lines->RecordCount(); ++row)
            rows << QStringLiteral("%1>%2 %3")
                        .arg(lines->value(row, 0).toString(), lines->value(row, 1).toString(),
                             lines->value(row, 2).toString());
        auto versions = db.cnn().Query(
            QStringLiteral("SELECT iAutoID, qvts FROM ManageSample WHERE iAutoID <= 10 ORDER BY iAutoID"));
        for (int row = 0; versions && row < versions->RecordCount(); ++row)
            rows << QStringLiteral("%1@%2").arg(versions->value(row, 0).toString(), versions->value(row, 1).toString());
        return rows;
    }

    int savedId = 0;
};

} // namespace

TEST_P(ChildStructureLink, a_child_sample_shown_on_its_own_card_saves_after_an_edit)
{
    // The card names the voucher it shows as the one the save is for: here the child itself, whose
    // version the head's own update has just renewed.
    load(2);
    engine.domHead().headRow().setValue(QStringLiteral("cmemo"), QStringLiteral("改过"));
    QVariant id;
    qint32 shown = 2;
    QString version = qvts(2);
    EXPECT_EQ(engine.VoucherSave(1, id, shown, version), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iAutoID = 2 AND cMemo = '改过'")), 1);
}

TEST_P(ChildStructureLink, saving_a_child_links_its_parent_line_and_renews_the_parent_version)
{
    const QString before = qvts(1);
    newSample(QString(), QStringLiteral("C3"), QStringLiteral("1003"));
    ASSERT_EQ(save(1), QString());
    ASSERT_GT(savedId, 10);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"),
                       QStringLiteral("iSubID = 1003 AND ChildGUID = %1 AND csocode = 'V2'").arg(savedId)),
              1);
    EXPECT_GT(qvts(1).toLongLong(), before.toLongLong());
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("ChildGUID = %1").arg(savedId)), 1);
}

TEST_P(ChildStructureLink, a_child_whose_parent_line_is_gone_links_nothing_and_renews_nothing)
{
    const QStringList before = snapshot();
    newSample(QString(), QStringLiteral("C9"), QStringLiteral("999999"));
    ASSERT_EQ(save(1), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("iAutoID = %1").arg(savedId)), 1);
    EXPECT_EQ(snapshot(), before);
}

TEST_P(ChildStructureLink, saving_a_top_level_sample_touches_no_other_row)
{
    const QStringList before = snapshot();
    newSample(QStringLiteral("YP002"), QStringLiteral("NEWTOP"), QStringLiteral("1003")); // a stray psguid
    QVariant id;
    qint32 parentId = 0;
    QString parentVersion;
    ASSERT_EQ(engine.VoucherSave(2, id, parentId, parentVersion), QString());
    EXPECT_EQ(snapshot(), before);
}

TEST_P(ChildStructureLink, a_link_the_database_refuses_shows_the_error_and_rolls_the_child_back)
{
    data.refuse(QStringLiteral("UPDATE"), QStringLiteral("ManageSamples"), QStringLiteral("iSubID"), 1003,
                QStringLiteral("明细被锁定"));
    const QStringList before = snapshot();
    newSample(QString(), QStringLiteral("C3"), QStringLiteral("1003"));
    const QString answer = save(1);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("保存失败,SaveOther:"))) << answer.toStdString();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("SaveOther:")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("明细被锁定")));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("销售管理"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 6);
}

INSTANTIATE_TEST_SUITE_P(Db, ChildStructureLink, ORVANE_BOTH_BACKENDS);
