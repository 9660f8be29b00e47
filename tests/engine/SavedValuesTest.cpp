#include "SaveClient.h"

#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "engine/basVoucher.h"

// What the save writes is what was typed, on both databases alike, or the save is refused naming
// the item and nothing is written: numbers typed as text, over-long text, characters a database
// cannot keep, voucher numbers that differ only in letter case or blanks.

namespace {

const QString kNumberTaken = QStringLiteral("保存失败,可能因为单号或ID重复,请重新保存或查看并修改当前流水号!\r\n");

} // namespace

class SavedValues : public SaveClientTest
{
protected:
    QVariant scalar(const QString &sql, const QVariantList &params = {})
    {
        auto v = db.cnn().Scalar(sql, params);
        EXPECT_TRUE(v) << v.error().toStdString();
        return v ? *v : QVariant();
    }
    void setHead(const QString &field, const QString &value)
    {
        client->engine.domHead().headRow().setValue(field, value);
    }
    void setLine(int index, const QString &field, const QString &value)
    {
        client->engine.domBody().row(index).setValue(field, value);
    }
    void expectNothingWritten()
    {
        EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);
        EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 0);
    }

    SampleWriter samples{db};
    FakeMessageService messages;
};

TEST_P(SavedValues, numbers_typed_with_text_are_refused_naming_the_item_and_nothing_is_written)
{
    client->newVoucher(QStringLiteral("YP1"), 3);
    setHead(QStringLiteral("ifinishexch"), QStringLiteral("1.5kg"));
    setLine(1, QStringLiteral("ipsquantity"), QStringLiteral("2个"));
    setLine(2, QStringLiteral("imaterialcharge"), QStringLiteral("3小时"));
    setHead(QStringLiteral("ibomautoid"), QStringLiteral("1.5"));
    setHead(QStringLiteral("ddate"), QStringLiteral("2026-13-01"));
    const QString answer = client->save(2);
    EXPECT_TRUE(answer.contains(QStringLiteral("表头 [成品率] 的值“1.5kg”不是有效的数字,请检查!\r\n")))
        << answer.toStdString();
    EXPECT_TRUE(answer.contains(QStringLiteral("表体第2行 [基本用量分子] 的值“2个”不是有效的数字,请检查!\r\n")))
        << answer.toStdString();
    EXPECT_TRUE(answer.contains(QStringLiteral("表体第3行 [材料单价] 的值“3小时”不是有效的数字,请检查!\r\n")))
        << answer.toStdString();
    EXPECT_TRUE(answer.contains(QStringLiteral("[BOM标识] 的值“1.5”不是有效的整数"))) << answer.toStdString();
    EXPECT_TRUE(answer.contains(QStringLiteral("[单据日期] 的值“2026-13-01”不是有效的日期"))) << answer.toStdString();
    expectNothingWritten();
}

TEST_P(SavedValues, numbers_are_read_one_way_with_thousands_commas_and_blanks_and_stored_as_typed)
{
    client->newVoucher(QStringLiteral("YP1"), 2);
    setHead(QStringLiteral("imakecharge"), QStringLiteral("1,234.5"));
    setHead(QStringLiteral("ipercharge"), QStringLiteral(" 12 "));
    setLine(0, QStringLiteral("ipsquantity"), QStringLiteral("1e3"));
    setLine(1, QStringLiteral("iwasterate"), QString()); // an emptied number is no number: NULL
    ASSERT_EQ(client->save(2), QString());
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT iMakeCharge FROM ManageSample")).toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT iPerCharge FROM ManageSample")).toDouble(), 12);
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT iPSQuantity FROM ManageSamples ORDER BY iSubID")).toDouble(), 1000);
    EXPECT_TRUE(scalar(QStringLiteral("SELECT iWasteRate FROM ManageSamples ORDER BY iSubID DESC")).isNull());
}

TEST_P(SavedValues, an_edit_never_replaces_a_stored_number_with_null)
{
    client->newVoucher(QStringLiteral("YP1"), 1);
    ASSERT_EQ(client->save(2), QString());
    client->open(client->returnedId.toLongLong());
    setHead(QStringLiteral("ifinishexch"), QStringLiteral("九十"));
    const QString answer = client->save(1);
    EXPECT_TRUE(answer.contains(QStringLiteral("[成品率] 的值“九十”不是有效的数字"))) << answer.toStdString();
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("SELECT iFinishExch FROM ManageSample")).toDouble(), 1);
}

TEST_P(SavedValues, text_longer_than_its_column_is_refused_on_both_databases_alike)
{
    client->newVoucher(QStringLiteral("YP1"), 1);
    setHead(QStringLiteral("cmemo"), QString(256, QLatin1Char('x')));
    EXPECT_EQ(client->save(2), QStringLiteral("表头 [备注] 超过了最大长度 255 个字符,请检查!\r\n"));
    expectNothingWritten();

    // The length counts characters: 255 characters outside the basic plane fit.
    QString wide;
    for (int i = 0; i < 255; ++i)
        wide += QString::fromUcs4(U"😀", 1);
    setHead(QStringLiteral("cmemo"), wide);
    ASSERT_EQ(client->save(2), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT cMemo FROM ManageSample")).toString(), wide);
}

TEST_P(SavedValues, hostile_text_is_stored_exactly)
{
    const QStringList corpus{
        QStringLiteral("O'Brien \"quoted\" ''"),
        QStringLiteral("'; DROP TABLE ManageSample; --"),
        QStringLiteral("/* comment */ -- end"),
        QStringLiteral("100% _under_ \\back\\slash"),
        QStringLiteral("$$ $tag$ body $tag$"),
        QStringLiteral("tab\there\r\nnew line\u0001\u001f\u007f"),
        QStringLiteral("\u202Eעברית مرحبا\u202C"),
        QString::fromUcs4(U"𠀀𝄞😀 4-byte", 10),
        QStringLiteral("e\u0301 combining \u200B zero width"),
        QStringLiteral("   blanks around   "),
        QStringLiteral("\uFDD0 \U0001FFFE other non-characters"),
        QStringLiteral("中文 全角　空格"),
    };
    client->newVoucher(QStringLiteral("YP1"), int(corpus.size()));
    for (int i = 0; i < corpus.size(); ++i)
        setLine(i, QStringLiteral("cdefine22"), corpus[i]);
    setHead(QStringLiteral("cmemo"), corpus[1]);
    ASSERT_EQ(client->save(2), QString());
    auto rs = db.cnn().Query(QStringLiteral("SELECT cdefine22 FROM ManageSamples ORDER BY iSubID"));
    ASSERT_TRUE(rs) << rs.error().toStdString();
    ASSERT_EQ(rs->RecordCount(), corpus.size());
    for (int i = 0; i < corpus.size(); ++i)
        EXPECT_EQ(rs->value(i, 0).toString(), corpus[i]) << "entry " << i;
    EXPECT_EQ(scalar(QStringLiteral("SELECT cMemo FROM ManageSample")).toString(), corpus[1]);
}

TEST_P(SavedValues, characters_no_database_keeps_are_refused_instead_of_changed)
{
    struct Case
    {
        QString text;
        QString named;
    };
    const QList<Case> cases{{QStringLiteral("\uFEFFbom first"), QStringLiteral("U+FEFF")},
                            {QStringLiteral("swapped \uFFFE"), QStringLiteral("U+FFFE")},
                            {QStringLiteral("\uFFFF"), QStringLiteral("U+FFFF")}};
    for (const Case &c : cases) {
        client->newVoucher(QStringLiteral("YP1"), 1);
        setHead(QStringLiteral("cmemo"), c.text);
        EXPECT_EQ(client->save(2),
                  QStringLiteral("表头 [备注] 含有不能保存的字符 ") + c.named + QStringLiteral(",请检查!\r\n"))
            << c.named.toStdString();
        expectNothingWritten();
    }
}

TEST_P(SavedValues, voucher_numbers_ignore_letter_case_and_surrounding_blanks)
{
    db.exec(QStringLiteral("UPDATE VoucherNumberRule SET RuleXml = ?"),
            {QStringLiteral(
                "<单据编号 重号自动重取='false' 允许手工修改='true'><前缀 对象类型='5' 种子='M'/></单据编号>")});
    client->newVoucher(QStringLiteral(" M-7 "), 1);
    ASSERT_EQ(client->save(2), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT cCode FROM ManageSample")).toString(), QStringLiteral("M-7"));
    for (const QString &typed : {QStringLiteral("m-7"), QStringLiteral("M-7 ")}) {
        client->newVoucher(typed, 1);
        EXPECT_EQ(client->save(2), kNumberTaken) << typed.toStdString();
    }
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    // The database itself refuses a second number that differs only in case, whoever writes it.
    auto other = db.cnn().Execute(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode) VALUES (99, 'm-7')"));
    EXPECT_FALSE(other);
    EXPECT_TRUE(db.cnn().lastErrorIsUniqueViolation());
}

TEST_P(SavedValues, row_marks_in_lower_case_are_read_as_the_save_reads_them)
{
    client->newVoucher(QStringLiteral("YP1"), 3);
    ASSERT_EQ(client->save(2), QString());
    client->open(client->returnedId.toLongLong());
    setLine(0, QStringLiteral("editprop"), QStringLiteral("d"));
    setLine(1, QStringLiteral("editprop"), QStringLiteral("m"));
    setLine(1, QStringLiteral("cdefine22"), QStringLiteral("changed"));
    // The card hands its documents over as text.
    VoucherDocument body;
    ASSERT_TRUE(body.loadXML(client->engine.domBody().xml()));
    EXPECT_EQ(body.selectNodes(QStringLiteral("//z:row [@editprop!='D']")).size(), 2);
    EXPECT_EQ(body.selectNodes(QStringLiteral("//z:row [@editprop='M']")).size(), 1);
    client->engine.setDomBody(std::move(body));
    ASSERT_EQ(client->save(1), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 2);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("cdefine22 = 'changed'")), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, SavedValues, ORVANE_BOTH_BACKENDS);
