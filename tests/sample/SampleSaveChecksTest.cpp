#include "SampleDocuments.h"

#include "sample/SampleSaveChecks.h"

#include <gtest/gtest.h>

namespace {

const QString kBr = QStringLiteral("\r\n");

Cells goodLine(const QString &component)
{
    return {{"cpscode", component}, {"ipsquantity", "2"}, {"tdqtyd", "1"},
            {"iwasterate", "0"},    {"cwhcode", "01"},    {"editprop", "A"}};
}

QString headCheck(const Cells &cells)
{
    return SampleSaveChecks::checkHead(documentOf({cells}));
}

QString lineCheck(const QString &name, const QString &value)
{
    Cells line = goodLine(QStringLiteral("C1"));
    for (auto &cell : line) {
        if (cell.first == name)
            cell.second = value;
    }
    return SampleSaveChecks::checkBody(documentOf({line}));
}

} // namespace

TEST(SampleHeadCheck, collects_every_complaint_with_the_column_name_in_brackets)
{
    EXPECT_EQ(headCheck({{"cnewinvname", ""}, {"cnewinvcomunitcode", ""}, {"ifinishexch", "0"}}),
              QStringLiteral("表头 [cnewinvname] 不能为空,请检查!") + kBr
                  + QStringLiteral("表头 [cnewinvcomunitcode] 不能为空,请检查!") + kBr
                  + QStringLiteral("表头 [ifinishexch] 不能为负数或者为0,请检查!") + kBr);
    EXPECT_EQ(headCheck({{"ifinishexch", "-2"}}), QStringLiteral("表头 [ifinishexch] 不能为负数或者为0,请检查!") + kBr);
}

TEST(SampleHeadCheck, passes_blank_ratios_and_columns_the_head_does_not_carry)
{
    EXPECT_EQ(headCheck({{"cnewinvname", "泵"}, {"ifinishexch", " "}}), QString());
    EXPECT_EQ(headCheck({{"ifinishexch", "1,000.5"}}), QString()) << "thousands commas are read as a number";
    EXPECT_EQ(headCheck({{"ccode", "YP1"}}), QString()) << "an absent item name is not looked at";
}

TEST(SampleBodyCheck, refuses_a_body_whose_rows_are_all_deleted_with_that_message_alone)
{
    Cells gone = goodLine(QStringLiteral("C1"));
    gone.last().second = QStringLiteral("D");
    gone.append({QStringLiteral("cwhcode"), QString()}); // would complain if the row were looked at
    EXPECT_EQ(SampleSaveChecks::checkBody(documentOf({gone, gone})),
              QStringLiteral("表体没有数据不能保存,请检查!") + kBr);
    EXPECT_EQ(SampleSaveChecks::checkBody(VoucherDocument()), QStringLiteral("表体没有数据不能保存,请检查!") + kBr);
}

TEST(SampleBodyCheck, names_a_repeated_component_once_with_its_free_items_and_version)
{
    Cells line = goodLine(QStringLiteral("C1"));
    for (int k = 1; k <= 10; ++k)
        line.append({QStringLiteral("cfree%1").arg(k), k == 2 ? QStringLiteral("红") : QString()});
    line.append({QStringLiteral("csocode"), QStringLiteral("V1")});
    Cells otherVersion = line;
    otherVersion.last().second = QStringLiteral("V2");

    EXPECT_EQ(SampleSaveChecks::checkBody(documentOf({line, otherVersion, line})),
              QStringLiteral("子件[C1;;红;;;;;;;;(V1)]重复，请检查！"))
        << "one message, for the third row; another version is another structure; no line break follows";
}

TEST(SampleBodyCheck, tells_an_absent_free_item_from_an_empty_one)
{
    Cells bare = goodLine(QStringLiteral("C1"));
    Cells withEmptyFree = bare;
    withEmptyFree.append({QStringLiteral("cfree1"), QString()});
    EXPECT_EQ(SampleSaveChecks::checkBody(documentOf({bare, withEmptyFree})), QString());
    EXPECT_EQ(SampleSaveChecks::checkBody(documentOf({bare, bare})), QStringLiteral("子件[C1()]重复，请检查！"));
}

TEST(SampleBodyCheck, checks_quantities_warehouse_and_waste_rate_by_line)
{
    struct Case
    {
        const char *name;
        const char *value;
        QString expected;
    };
    const QString empty = QStringLiteral("] 不能为空,请检查!") + kBr;
    const QString waste = QStringLiteral("表体第1行 [iwasterate] 不能大于等于100%或者为负数,请检查!") + kBr;
    const QList<Case> cases{
        {"ipsquantity", "", QStringLiteral("表体第1行 [ipsquantity") + empty},
        {"ipsquantity", "0", QStringLiteral("表体第1行 [ipsquantity] 不能为0,请检查!") + kBr},
        {"tdqtyd", "", QStringLiteral("表体第1行 [tdqtyd") + empty},
        {"tdqtyd", "0.00", QString()}, // only the bare "0" is refused
        {"cwhcode", "", QStringLiteral("表体第1行 [cwhcode") + empty},
        {"iwasterate", "99.99", QString()},
        {"iwasterate", "100", waste},
        {"iwasterate", "150", waste},
        {"iwasterate", "-1", waste},
        {"iwasterate", "", QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lineCheck(QLatin1String(c.name), QLatin1String(c.value)), c.expected) << c.name << "=" << c.value;
}

TEST(SampleBodyCheck, counts_lines_among_the_live_rows_and_goes_on_after_a_complaint)
{
    Cells deleted = goodLine(QStringLiteral("X"));
    deleted.last().second = QStringLiteral("D");
    Cells second = goodLine(QStringLiteral("C2"));
    second[1].second = QStringLiteral("0");
    second[4].second = QString();
    EXPECT_EQ(SampleSaveChecks::checkBody(documentOf({goodLine(QStringLiteral("C1")), deleted, second})),
              QStringLiteral("表体第2行 [ipsquantity] 不能为0,请检查!") + kBr
                  + QStringLiteral("表体第2行 [cwhcode] 不能为空,请检查!") + kBr);
}
