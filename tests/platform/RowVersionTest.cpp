#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>

// The head's row version "qvts" is what tells a save or a state change that someone else changed
// the voucher since it was loaded. It must change on every update, never repeat, and read as the
// same plain decimal text on both backends.

class RowVersion : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        if (!db.available())
            return;
        db.exec(
            QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvName) VALUES (1, 'YP2026120001', 'A')"));
        db.exec(
            QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvName) VALUES (2, 'YP2026120002', 'B')"));
    }

    qint64 version(int id)
    {
        auto v = db.cnn().Scalar(QStringLiteral("SELECT qvts FROM ManageSample WHERE iAutoID = ?"), {id});
        EXPECT_TRUE(v && !v->isNull());
        return v ? v->toLongLong() : -1;
    }

    QString versionText(int id)
    {
        auto v = db.cnn().Scalar(QStringLiteral("SELECT CAST(qvts AS TEXT) FROM ManageSample WHERE iAutoID = ?"), {id});
        return v ? v->toString() : QString();
    }

    TestDatabase db{GetParam()};
};

TEST_P(RowVersion, a_new_row_gets_a_version_that_reads_as_a_plain_number)
{
    ORVANE_REQUIRE(db);
    const QString text = versionText(1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[1-9][0-9]*$")).match(text).hasMatch()) << text.toStdString();
    EXPECT_EQ(text, QString::number(version(1)));
}

TEST_P(RowVersion, every_update_renews_it_even_one_that_changes_nothing)
{
    ORVANE_REQUIRE(db);
    const qint64 before = version(1);
    const qint64 otherRow = version(2);
    db.exec(QStringLiteral("UPDATE ManageSample SET iAutoID = iAutoID WHERE iAutoID = 1"));
    const qint64 once = version(1);
    db.exec(QStringLiteral("UPDATE ManageSample SET cNewInvName = cNewInvName WHERE iAutoID = 1"));
    const qint64 twice = version(1);
    EXPECT_GT(once, before);
    EXPECT_GT(twice, once);
    EXPECT_EQ(version(2), otherRow) << "the other row is untouched";

    // A column added to the table later is covered as well.
    db.exec(QStringLiteral("ALTER TABLE ManageSample ADD cLater VARCHAR(10)"));
    db.exec(QStringLiteral("UPDATE ManageSample SET cLater = 'x' WHERE iAutoID = 1"));
    EXPECT_GT(version(1), twice);
}

TEST_P(RowVersion, never_repeats_across_rows_and_updates)
{
    ORVANE_REQUIRE(db);
    QList<qint64> seen{version(1), version(2)};
    db.exec(QStringLiteral("UPDATE ManageSample SET cMemo = 'x'"));
    seen << version(1) << version(2);
    db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode) VALUES (3, 'YP2026120003')"));
    seen << version(3);
    const QSet<qint64> distinct(seen.cbegin(), seen.cend());
    EXPECT_EQ(distinct.size(), seen.size());
    EXPECT_GT(qMin(seen[2], seen[3]), qMax(seen[0], seen[1]));
}

// What the save and the confirmation do: update only while the version is still the one loaded.
TEST_P(RowVersion, a_guarded_update_misses_a_row_another_user_changed)
{
    ORVANE_REQUIRE(db);
    const QString loaded = versionText(1);

    Connection other;
    ASSERT_TRUE(other.Open(db.connectionString()));
    ASSERT_TRUE(other.Execute(QStringLiteral("UPDATE ManageSample SET cMemo = ? WHERE iAutoID = ?"),
                              {QStringLiteral("他人修改"), 1}));

    const QString guarded
        = QStringLiteral("UPDATE ManageSample SET cHandler = ? WHERE iAutoID = ? AND CAST(qvts AS TEXT) = ?");
    auto stale = db.cnn().Execute(guarded, {QStringLiteral("张明"), 1, loaded});
    ASSERT_TRUE(stale);
    EXPECT_EQ(*stale, 0);
    auto fresh = db.cnn().Execute(guarded, {QStringLiteral("张明"), 1, versionText(1)});
    ASSERT_TRUE(fresh);
    EXPECT_EQ(*fresh, 1);
}

INSTANTIATE_TEST_SUITE_P(Db, RowVersion, ORVANE_BOTH_BACKENDS);
