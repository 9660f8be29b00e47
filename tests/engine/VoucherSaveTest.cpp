#include "SaveClient.h"

#include "support/FakeMessageService.h"
#include "support/MasterDataRows.h"
#include "support/SampleFixture.h"

#include "engine/basVoucher.h"

namespace {

const QString kChanged = QStringLiteral("保存失败，可能该单据已被其它用户修改或删除!\r\n");
const QString kNumberTaken = QStringLiteral("保存失败,可能因为单号或ID重复,请重新保存或查看并修改当前流水号!\r\n");
const QString kMonth = QStringLiteral("YP202612");

} // namespace

class VoucherSave : public SaveClientTest
{
protected:
    QVariant scalar(const QString &sql, const QVariantList &params = {})
    {
        auto v = db.cnn().Scalar(sql, params);
        EXPECT_TRUE(v) << v.error().toStdString();
        return v ? *v : QVariant();
    }
    QString stored(const QString &column, qlonglong id = 1)
    {
        return scalar(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM ManageSample WHERE iAutoID = ?"), {id})
            .toString();
    }
    // The serial last taken for December 2026; -1 when none was ever taken.
    int counter()
    {
        const QVariant v
            = scalar(QStringLiteral("SELECT MaxNumber FROM VoucherNumberSeed WHERE SeedText = ?"), {kMonth});
        return v.isNull() ? -1 : v.toInt();
    }
    QString number(int serial) { return kMonth + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0')); }
    void expectNothingWritten()
    {
        EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);
        EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 0);
        EXPECT_EQ(counter(), -1) << "no number may be consumed by a save that failed";
        EXPECT_FALSE(client->engine.connection().inTransaction());
    }

    SampleWriter samples{db};
    FakeMessageService messages;
};

TEST_P(VoucherSave, a_new_voucher_gets_keys_and_its_number_with_the_callbacks_in_order)
{
    int headsSeenByHeadCheck = -1;
    int linesSeenByBodyCheck = -1;
    client->business->actions[QStringLiteral("HeadSaveCheck2")] = [&](Connection &cnn) {
        headsSeenByHeadCheck = cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ManageSample"))->toInt();
    };
    client->business->actions[QStringLiteral("BodySaveCheck2")] = [&](Connection &cnn) {
        linesSeenByBodyCheck = cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ManageSamples"))->toInt();
    };
    client->newVoucher(number(1), 3);
    ASSERT_EQ(client->save(2), QString());
    EXPECT_EQ(client->business->calls, QStringList({"BodyDeleteEmptyRow", "HeadSaveCheck", "BodySaveCheck",
                                                    "DomSetDefault", "HeadSaveCheck2", "SaveOther", "BodySaveCheck2"}));
    EXPECT_EQ(headsSeenByHeadCheck, 1) << "the second-stage checks run inside the save, after the writes";
    EXPECT_EQ(linesSeenByBodyCheck, 3);
    EXPECT_EQ(client->returnedId.toLongLong(), 1);
    EXPECT_EQ(client->head(QStringLiteral("iautoid")), QStringLiteral("1"));
    EXPECT_EQ(basVoucher::GetBodyValue(client->engine.domBody(), QStringLiteral("isubid"), 2), QStringLiteral("3"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iAutoID = 1")), 3);
    EXPECT_EQ(counter(), 1) << "the number is taken for good with the save";

    samples.voucher(7, QStringLiteral("OTHER"), QStringLiteral("x"), 2); // lines 7001, 7002
    client->newVoucher(number(2), 1);
    ASSERT_EQ(client->save(2), QString());
    EXPECT_EQ(client->returnedId.toLongLong(), 8);
    EXPECT_EQ(scalar(QStringLiteral("SELECT iSubID FROM ManageSamples WHERE iAutoID = 8")).toInt(), 7003);
    EXPECT_EQ(counter(), 2);
}

TEST_P(VoucherSave, an_edit_writes_lines_by_their_marks_and_deletes_dependents_first)
{
    samples.voucher(1, number(1), QStringLiteral("x"), 3); // lines 1001..1003
    client->open(1);
    VoucherDocument &body = client->engine.domBody();
    body.row(0).setValue(QStringLiteral("ipsquantity"), QStringLiteral("9"));
    body.row(0).setValue(QStringLiteral("editprop"), QStringLiteral("M"));
    body.row(1).setValue(QStringLiteral("editprop"), QStringLiteral("D"));
    body.row(2).setValue(QStringLiteral("ipsquantity"), QStringLiteral("77")); // unmarked: not written
    client->addLine(QStringLiteral("NEW"), QStringLiteral("a"));
    client->engine.domHead().headRow().setValue(QStringLiteral("cmemo"), QStringLiteral("改过"));
    bool lineStillThereForDelOther = false;
    client->business->actions[QStringLiteral("DelOther")] = [&](Connection &cnn) {
        lineStillThereForDelOther
            = cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ManageSamples WHERE iSubID = 1002"))->toInt() == 1;
    };

    ASSERT_EQ(client->save(1), QString());
    EXPECT_EQ(client->business->calls,
              QStringList({"BodyDeleteEmptyRow", "HeadSaveCheck", "BodySaveCheck", "DomSetDefault", "HeadSaveCheck2",
                           "SaveOther", "DelOther:1002", "BodySaveCheck2"}));
    EXPECT_TRUE(lineStillThereForDelOther);
    EXPECT_EQ(stored(QStringLiteral("cMemo")), QStringLiteral("改过"));
    auto quantity = [&](int line) {
        return scalar(QStringLiteral("SELECT iPSQuantity FROM ManageSamples WHERE iSubID = ?"), {line}).toDouble();
    };
    EXPECT_EQ(quantity(1001), 9.0);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iSubID = 1002")), 0);
    EXPECT_EQ(quantity(1003), 4.5) << "an unmarked line is left as stored";
    EXPECT_EQ(
        db.count(QStringLiteral("ManageSamples"), QStringLiteral("iSubID = 1004 AND iAutoID = 1 AND cPSCode = 'NEW'")),
        1)
        << "a line marked \"a\" is inserted like \"A\"";
    EXPECT_EQ(counter(), -1) << "an edit takes no number";
}

TEST_P(VoucherSave, an_edit_of_the_head_alone_runs_no_body_statement)
{
    samples.voucher(1, number(1));
    client->open(1);
    client->engine.domHead().headRow().setValue(QStringLiteral("cmemo"), QStringLiteral("只改表头"));
    EXPECT_EQ(client->save(1), QString());
    EXPECT_EQ(stored(QStringLiteral("cMemo")), QStringLiteral("只改表头"));
}

TEST_P(VoucherSave, complaints_of_the_first_checks_are_returned_unchanged_and_nothing_is_written)
{
    client->business->complaints[QStringLiteral("HeadSaveCheck")]
        = QStringLiteral("表头 [cnewinvname] 不能为空,请检查!\r\n");
    client->business->complaints[QStringLiteral("BodySaveCheck")] = QStringLiteral("表体没有数据不能保存,请检查!\r\n");
    client->newVoucher(number(1), 1);
    EXPECT_EQ(client->save(2),
              QStringLiteral("表头 [cnewinvname] 不能为空,请检查!\r\n表体没有数据不能保存,请检查!\r\n"));
    EXPECT_EQ(client->business->calls, QStringList({"BodyDeleteEmptyRow", "HeadSaveCheck", "BodySaveCheck"}));
    expectNothingWritten();
}

TEST_P(VoucherSave, a_refused_second_stage_check_rolls_back_head_lines_and_number)
{
    for (const QString &check : {QStringLiteral("HeadSaveCheck2"), QStringLiteral("BodySaveCheck2")}) {
        SCOPED_TRACE(check.toStdString());
        client->business->complaints = {{check, QStringLiteral("母件[X]在样品单据中已经存在版本号为(1)的结构")}};
        client->newVoucher(number(1), 2);
        EXPECT_EQ(client->save(2), QStringLiteral("保存失败,母件[X]在样品单据中已经存在版本号为(1)的结构\r\n"));
        EXPECT_EQ(client->business->calls.last(), check) << "the save stops at the refusing check";
        expectNothingWritten();
    }
}

TEST_P(VoucherSave, an_edit_of_a_voucher_changed_or_deleted_elsewhere_fails_and_writes_nothing)
{
    samples.voucher(1, number(1));
    Connection other;
    ASSERT_TRUE(other.Open(db.connectionString()));
    const QStringList elsewhere{QStringLiteral("UPDATE ManageSample SET cMemo = 'theirs' WHERE iAutoID = 1"),
                                QStringLiteral("DELETE FROM ManageSample WHERE iAutoID = 1")};
    for (const QString &change : elsewhere) {
        SCOPED_TRACE(change.toStdString());
        client->open(1);
        client->engine.domHead().headRow().setValue(QStringLiteral("cmemo"), QStringLiteral("mine"));
        client->engine.domBody().row(0).setValue(QStringLiteral("ipsquantity"), QStringLiteral("99"));
        client->engine.domBody().row(0).setValue(QStringLiteral("editprop"), QStringLiteral("M"));
        ASSERT_TRUE(other.Execute(change));
        EXPECT_EQ(client->save(1), kChanged);
        EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("iPSQuantity = 99")), 0);
        EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cMemo = 'mine'")), 0);
    }
}

TEST_P(VoucherSave, a_body_that_changes_no_row_fails_and_rolls_back_the_head)
{
    samples.voucher(1, number(1));
    client->open(1);
    const QString version = client->head(QStringLiteral("qvts"));
    client->engine.domBody().row(0).setValue(QStringLiteral("editprop"), QStringLiteral("M"));
    MasterDataRows::forStoredVouchers(db.cnn());
    db.exec(QStringLiteral("DELETE FROM ManageSamples WHERE iSubID = 1001"));
    EXPECT_EQ(client->save(1), kChanged);
    EXPECT_EQ(stored(QStringLiteral("CAST(qvts AS TEXT)")), version) << "the head update was rolled back";
}

TEST_P(VoucherSave, document_values_are_stored_as_typed_and_never_change_a_statement)
{
    const QStringList hostile{QStringLiteral("O'Brien'; DROP TABLE ManageSamples; --"), QStringLiteral("x' OR '1'='1"),
                              QStringLiteral("/* */ SELECT 1; \\' \"q\""), QStringLiteral("?, ?) --"),
                              QStringLiteral("$$ $1 :name")};
    client->newVoucher(number(1), 0);
    VoucherRow head = client->engine.domHead().headRow();
    for (int i = 0; i < hostile.size(); ++i)
        head.setValue(QStringLiteral("cdefine%1").arg(i + 1), hostile[i]);
    client->addLine(hostile[0]);
    ASSERT_EQ(client->save(2), QString());
    for (int i = 0; i < hostile.size(); ++i)
        EXPECT_EQ(stored(QStringLiteral("cdefine%1").arg(i + 1)), hostile[i]);
    EXPECT_EQ(scalar(QStringLiteral("SELECT cPSCode FROM ManageSamples")).toString(), hostile[0]);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
}

TEST_P(VoucherSave, values_follow_their_column_types_and_a_null_is_left_out)
{
    struct Case
    {
        const char *text;
        QVariant expanded;
    };
    const QList<Case> flags{{"是", 1}, {"否", 0}, {"1", 1}, {"False", 0}, {" ", 0}, {"True", 1}};
    for (int i = 0; i < flags.size(); ++i) {
        client->newVoucher(number(i + 1), 1);
        VoucherRow head = client->engine.domHead().headRow();
        head.setValue(QStringLiteral("bexpand"), QString::fromUtf8(flags[i].text));
        head.setValue(QStringLiteral("ddate"), QStringLiteral("2026-12-05T08:30:00"));
        head.setValue(QStringLiteral("imanhrs"), QString()); // empty number: NULL
        head.setValue(QStringLiteral("cmemo"), QStringLiteral("kept"));
        ASSERT_EQ(client->save(2), QString()) << flags[i].text;
        const qlonglong id = client->returnedId.toLongLong();
        EXPECT_EQ(scalar(QStringLiteral("SELECT bExpand FROM ManageSample WHERE iAutoID = ?"), {id}), flags[i].expanded)
            << flags[i].text;
        EXPECT_EQ(stored(QStringLiteral("CAST(dDate AS TEXT)"), id), QStringLiteral("2026-12-05"));
        EXPECT_TRUE(scalar(QStringLiteral("SELECT iManhrs FROM ManageSample WHERE iAutoID = ?"), {id}).isNull());
    }
    // A column the document holds as NULL is not touched by the update.
    client->open(1);
    client->engine.domHead().headRow().removeValue(QStringLiteral("cmemo"));
    client->engine.domHead().headRow().setValue(QStringLiteral("cnewinvname"), QStringLiteral("改名"));
    ASSERT_EQ(client->save(1), QString());
    EXPECT_EQ(stored(QStringLiteral("cMemo")), QStringLiteral("kept"));
    EXPECT_EQ(stored(QStringLiteral("cNewInvName")), QStringLiteral("改名"));
}

TEST_P(VoucherSave, a_taken_number_is_replaced_up_to_five_times_under_automatic_numbering)
{
    // Numbers 1..held are in use without the counter knowing; the document asks for number 1.
    for (int held : {4, 5}) {
        SCOPED_TRACE(held);
        db.exec(QStringLiteral("DELETE FROM ManageSamples"));
        db.exec(QStringLiteral("DELETE FROM ManageSample"));
        db.exec(QStringLiteral("DELETE FROM VoucherNumberSeed"));
        for (int i = 1; i <= held; ++i)
            samples.voucher(100 + i, number(i), QStringLiteral("x"), 0);
        client->newVoucher(number(1), 1);
        const QString result = client->save(2);
        if (held == 4) {
            EXPECT_EQ(result, QString()) << "the fifth fetched number is free";
            EXPECT_EQ(client->head(QStringLiteral("ccode")), number(5));
            EXPECT_EQ(stored(QStringLiteral("cCode"), client->returnedId.toLongLong()), number(5));
            EXPECT_EQ(client->business->calls.count(QStringLiteral("HeadSaveCheck2")), 6);
            EXPECT_EQ(counter(), 5) << "each fetched number was taken, none twice";
        } else {
            EXPECT_EQ(result, kNumberTaken) << "a sixth clash gives up";
            EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 5);
            EXPECT_EQ(counter(), -1) << "the numbers fetched by the failed save were given back";
        }
    }
}

TEST_P(VoucherSave, under_fully_manual_numbering_a_taken_number_fails_at_once)
{
    db.exec(QStringLiteral("UPDATE VoucherNumberRule SET RuleXml = ?"),
            {QStringLiteral(
                "<单据编号 重号自动重取='false' 允许手工修改='true'><前缀 对象类型='5' 种子='M'/></单据编号>")});
    samples.voucher(1, QStringLiteral("M-7"), QStringLiteral("x"), 0);
    client->newVoucher(QStringLiteral("M-7"), 1);
    EXPECT_EQ(client->save(2), kNumberTaken);
    EXPECT_EQ(client->business->calls.count(QStringLiteral("SaveOther")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 0);
}

TEST_P(VoucherSave, child_vouchers_share_the_empty_number_and_take_none)
{
    samples.voucher(1, number(1));
    client->parentId = 1;
    for (int i = 0; i < 2; ++i) {
        client->newVoucher(QString(), 1);
        EXPECT_EQ(client->save(2), QString()) << "an empty number is not guarded";
    }
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"), QStringLiteral("cCode = ''")), 2);
    EXPECT_EQ(counter(), -1) << "a voucher saved for another one takes no number";
}

TEST_P(VoucherSave, a_line_refused_by_the_database_rolls_back_everything)
{
    // Someone takes the line key the save is about to use.
    client->business->actions[QStringLiteral("SaveOther")] = [](Connection &cnn) {
        const int next = cnn.Scalar(QStringLiteral("SELECT COALESCE(MAX(iSubID), 0) + 1 FROM ManageSamples"))->toInt();
        cnn.Execute(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID) VALUES (999, ?)"), {next});
    };
    client->newVoucher(number(1), 3);
    EXPECT_FALSE(client->save(2).isEmpty());
    EXPECT_EQ(client->business->calls.last(), QStringLiteral("SaveOther"));
    expectNothingWritten();
}

TEST_P(VoucherSave, a_connection_lost_in_the_middle_leaves_nothing)
{
    const QString connectionString = db.connectionString();
    client->business->actions[QStringLiteral("BodySaveCheck2")] = [&](Connection &cnn) {
        if (cnn.backend() == Backend::Sqlite) {
            cnn.Close();
            return;
        }
        const QVariant pid = cnn.Scalar(QStringLiteral("SELECT pg_backend_pid()")).value_or(QVariant());
        Connection admin;
        ASSERT_TRUE(admin.Open(connectionString));
        ASSERT_TRUE(admin.Scalar(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid}));
    };
    client->newVoucher(number(1), 2);
    EXPECT_FALSE(client->save(2).isEmpty());
    expectNothingWritten();
}

INSTANTIATE_TEST_SUITE_P(Db, VoucherSave, ORVANE_BOTH_BACKENDS);
