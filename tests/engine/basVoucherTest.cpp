#include "FakeVoucherCardControl.h"

#include "engine/basVoucher.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

VoucherDocument document(const char *rows)
{
    VoucherDocument doc;
    const Result<void> r = doc.loadXML(QStringLiteral("<xml><rs:data>%1</rs:data></xml>").arg(QLatin1String(rows)));
    EXPECT_TRUE(r.has_value()) << r.error().toStdString();
    return doc;
}

} // namespace

// --- Value functions -----------------------------------------------------------------------------

TEST(basVoucherValues, reads_a_null_head_column_as_empty_like_an_unknown_name)
{
    const VoucherDocument head = document("<z:row ccode='0001' cmemo=''/><z:row ccode='second'/>");
    EXPECT_EQ(basVoucher::GetHeadValue(head, QStringLiteral(" CCode ")), QStringLiteral("0001"));
    EXPECT_EQ(basVoucher::GetHeadValue(head, QStringLiteral("cdepcode")), QString()); // NULL
    EXPECT_EQ(basVoucher::GetHeadValue(head, QStringLiteral("nosuchcolumn")), QString());
    EXPECT_EQ(basVoucher::GetHeadValue(VoucherDocument(), QStringLiteral("ccode")), QString());
}

TEST(basVoucherValues, counts_body_rows_marked_for_deletion)
{
    const VoucherDocument body = document("<z:row cpscode='gone' editprop='D'/><z:row cpscode='kept' editprop=''/>");
    EXPECT_EQ(basVoucher::GetBodyValue(body, QStringLiteral("CPSCODE"), 0), QStringLiteral("gone"));
    EXPECT_EQ(basVoucher::GetBodyValue(body, QStringLiteral("cpscode"), 1), QStringLiteral("kept"));
    EXPECT_EQ(basVoucher::GetBodyValue(body, QStringLiteral("cpscode"), 2), QString());
    EXPECT_EQ(basVoucher::GetBodyValue(body, QStringLiteral("cpscode"), -1), QString());
}

TEST(basVoucherValues, writes_head_values_as_the_document_stores_them)
{
    VoucherDocument head = document("<z:row ccode='1' cmemo='x'/>");
    basVoucher::SetHeadValue(head, QStringLiteral("DDate"), QDate(2009, 11, 19));
    basVoucher::SetHeadValue(head, QStringLiteral("ivtid"), 91);
    basVoucher::SetHeadValue(head, QStringLiteral("bexpand"), false);
    basVoucher::SetHeadValue(head, QStringLiteral("cmemo"), QVariant());
    const VoucherRow row = head.headRow();
    EXPECT_EQ(row.attributes(), (QList<VoucherAttribute>{
                                    {"ccode", "1"}, {"ddate", "2009-11-19"}, {"ivtid", "91"}, {"bexpand", "False"}}));

    VoucherDocument none;
    basVoucher::SetHeadValue(none, QStringLiteral("ccode"), QStringLiteral("1"));
    EXPECT_TRUE(none.isEmpty());
}

// --- Required items ------------------------------------------------------------------------------

class basVoucherRequiredItems : public testing::Test
{
protected:
    void SetUp() override
    {
        card.headItems = {{true, "ccode", "单据号"},
                          {true, "cdepcode", "部门"},
                          {false, "cmemo", "备注"},
                          {true, "cinvcode", "存货编码"}};
        card.headTexts = {"", "", "", "P-100"};
        card.bodyItems = {{true, "cpscode", "子件编码"},
                          {true, "iqty", "基本用量"},
                          {false, "cmemo", "备注"},
                          {true, "cwhcode", "仓库"}};
        card.bodyCells = {{"C1", "1", "", "01"}, {" ", "", "", ""}, {"C3", "", "", ""}};
        card.bodyDocument = document("<z:row cpscode='C1' editprop=''/><z:row cpscode='' editprop='A'/>"
                                     "<z:row cpscode='C3' editprop='A'/>");
    }

    FakeVoucherCardControl card;
    QString msg = QStringLiteral("left over");
};

TEST_F(basVoucherRequiredItems, lists_every_empty_required_item_of_head_and_named_body_rows)
{
    EXPECT_TRUE(basVoucher::CheckRequiredItems(card, QString(), msg));
    // Row 2 names no product and is not checked; optional items never are.
    EXPECT_EQ(msg, QStringLiteral("\r\n表头：[单据号]为必输项！\r\n表头：[部门]为必输项！"
                                  "\r\n表体：第3行[基本用量]为必输项！\r\n表体：第3行[仓库]为必输项！"));
}

TEST_F(basVoucherRequiredItems, skips_excluded_fields_in_head_and_body)
{
    EXPECT_TRUE(basVoucher::CheckRequiredItems(card, QStringLiteral("ccode,cwhcode"), msg));
    EXPECT_EQ(msg, QStringLiteral("\r\n表头：[部门]为必输项！\r\n表体：第3行[基本用量]为必输项！"));
}

TEST_F(basVoucherRequiredItems, passes_a_complete_voucher_with_an_empty_message)
{
    card.headTexts = {"0001", "D1", "", "P-100"};
    card.bodyCells[2] = QStringList{"C3", "2", "", "01"};
    EXPECT_TRUE(basVoucher::CheckRequiredItems(card, QStringLiteral(",ccode,"), msg));
    EXPECT_EQ(msg, QString());
}

TEST_F(basVoucherRequiredItems, refuses_a_body_of_only_deleted_lines)
{
    card.bodyDocument = document("<z:row cpscode='C1' editprop='D'/><z:row cpscode='C2' editprop='D'/>");
    EXPECT_FALSE(basVoucher::CheckRequiredItems(card, QStringLiteral(",ccode,"), msg));
    // Head complaints come first; the body complaint follows without a line break.
    EXPECT_EQ(msg, QStringLiteral("\r\n表头：[部门]为必输项！表体没有有效数据，请检查！"));
}

TEST_F(basVoucherRequiredItems, refuses_a_body_whose_lines_name_no_product)
{
    card.headTexts = {"0001", "D1", "", "P-100"};
    card.bodyDocument = document("<z:row cpscode='' editprop='A'/><z:row editprop='M'/>");
    EXPECT_FALSE(basVoucher::CheckRequiredItems(card, QString(), msg));
    EXPECT_EQ(msg, QStringLiteral("表体没有有效数据，请检查！"));

    card.bodyDocument = VoucherDocument();
    EXPECT_FALSE(basVoucher::CheckRequiredItems(card, QString(), msg));
}

// --- Refused characters --------------------------------------------------------------------------

TEST(basVoucherBadStr, gives_every_head_item_the_given_or_the_body_characters)
{
    FakeVoucherCardControl card;
    card.headItems = {{}, {}};
    card.bodyBadStr = QStringLiteral("'\"");

    basVoucher::SetHeadBadStr(card, true, QStringLiteral("%"));
    EXPECT_EQ(card.headBadStrCalls, (QList<QPair<int, QString>>{{0, "%"}, {1, "%"}, {2, "%"}}));

    card.headBadStrCalls.clear();
    basVoucher::SetHeadBadStr(card, false, QStringLiteral("%"));
    EXPECT_EQ(card.headBadStrCalls.size(), 3);
    EXPECT_EQ(card.headBadStrCalls.last().second, QStringLiteral("'\""));
}
