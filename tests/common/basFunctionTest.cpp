#include "common/basFunction.h"

#include <QDate>
#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>

using namespace basFunction;

namespace {

// Thursday, 19 November 2009, 14:30:05.
const QDateTime kMoment(QDate(2009, 11, 19), QTime(14, 30, 5));

} // namespace

// --- Date patterns -------------------------------------------------------------------------------

struct DateCase
{
    const char *name;
    int kind;
    const char *dateSeparator;
    const char *timeSeparator;
    const char *pattern;  // GetDateFormat
    const char *rendered; // FormatDateText of kMoment, no weekday
};

class basFunctionDate : public testing::TestWithParam<DateCase>
{
};

TEST_P(basFunctionDate, builds_the_pattern_and_renders_it)
{
    const DateCase &c = GetParam();
    const QString ds = QString::fromUtf8(c.dateSeparator);
    const QString ts = QString::fromUtf8(c.timeSeparator);
    EXPECT_EQ(GetDateFormat(c.kind, ds, ts), QString::fromUtf8(c.pattern));
    EXPECT_EQ(FormatDateText(kMoment, c.kind, ds, ts, false), QString::fromUtf8(c.rendered));
}

INSTANTIATE_TEST_SUITE_P(Kinds, basFunctionDate,
                         testing::Values(DateCase{"date", 0, "/", ".", "yyyy/MM/dd", "2009/11/19"},
                                         // "mm" with no hour before it is the month.
                                         DateCase{"short_date", 1, "-", ":", "yy-mm-dd", "09-11-19"},
                                         DateCase{"minutes", 2, "/", ".", "yyyy/MM/dd hh.mm", "2009/11/19 14.30"},
                                         DateCase{"seconds", 3, "-", ":", "yyyy-MM-dd hh:mm:ss", "2009-11-19 14:30:05"},
                                         DateCase{"month_first", 4, ".", ":", "MM.dd.yyyy", "11.19.2009"},
                                         DateCase{"month_first_short", 5, "-", ":", "MM-dd-yy", "11-19-09"},
                                         DateCase{"day_first", 6, "-", ":", "dd-MM-yyyy", "19-11-2009"},
                                         DateCase{"day_first_short", 7, "/", ":", "dd/MM/yy", "19/11/09"},
                                         DateCase{"time", 8, "/", "时", "hh时mm时ss", "14时30时05"},
                                         DateCase{"time_short", 9, "-", ":", "hh:mm", "14:30"},
                                         // Separators are never put into the compact kinds; "mm" is the month until an
                                         // hour precedes it.
                                         DateCase{"compact", 10, "/", ".", "yyyymmddhhmmss", "20091119143005"},
                                         DateCase{"compact_short", 11, "/", ".", "yymmddhhmm", "0911191430"},
                                         DateCase{"compact_no_year", 12, "/", ".", "mmddhhmm", "11191430"},
                                         // Unknown kinds fall back to the plain date without replacing anything.
                                         DateCase{"unknown", 13, "/", ".", "yyyy-MM-dd", "2009-11-19"},
                                         DateCase{"negative", -1, "/", ".", "yyyy-MM-dd", "2009-11-19"},
                                         // A separator holding the other separator's character is not replaced twice.
                                         DateCase{"separator_with_colon", 2, ":", "-", "yyyy:MM:dd hh-mm",
                                                  "2009:11:19 14-30"}),
                         [](const testing::TestParamInfo<DateCase> &p) { return std::string(p.param.name); });

TEST(basFunctionDateText, appends_the_weekday_after_one_blank)
{
    EXPECT_EQ(FormatDateText(QDate(2009, 11, 19), 0, "-", ":", true), QStringLiteral("2009-11-19 星期四"));
    EXPECT_EQ(FormatDateText(QStringLiteral("2009-11-19"), 3, "-", ":", false), QStringLiteral("2009-11-19 00:00:00"));
    EXPECT_EQ(FormatDateText(QStringLiteral("2009/11/19 8:05"), 2, "-", ":", false),
              QStringLiteral("2009-11-19 08:05"));
    EXPECT_EQ(FormatDateText(QStringLiteral("no date"), 0, "-", ":", true), QString());
}

TEST(basFunctionDateText, names_the_weekday_with_sunday_first)
{
    EXPECT_EQ(GetWeekDayName(QDate(2009, 11, 21)), QStringLiteral("星期六"));
    EXPECT_EQ(GetWeekDayName(QDate(2009, 11, 22)), QStringLiteral("星期日"));
    EXPECT_EQ(GetWeekDayName(QDateTime(QDate(2009, 11, 23), QTime(23, 59))), QStringLiteral("星期一"));
    EXPECT_EQ(GetWeekDayName(QStringLiteral("2009-11-19T14:30:05")), QStringLiteral("星期四"));
    EXPECT_EQ(GetWeekDayName(QStringLiteral("abc")), QString());
    EXPECT_EQ(GetWeekDayName(QStringLiteral("2009-02-30")), QString());
    EXPECT_EQ(GetWeekDayName(QVariant()), QString());
    EXPECT_EQ(GetWeekDayName(20091119), QString());
}

// --- SQL text ------------------------------------------------------------------------------------

TEST(basFunctionSql, doubles_single_quotes_only)
{
    EXPECT_EQ(ReplaceQuote(QStringLiteral("O'Neil's")), QStringLiteral("O''Neil''s"));
    EXPECT_EQ(ReplaceQuote(QStringLiteral("\"a\" %_")), QStringLiteral("\"a\" %_"));
    EXPECT_EQ(ReplaceQuote(QString()), QString());
}

struct ConditionCase
{
    const char *name;
    const char *value;
    const char *columns[3];
    bool prefix;
    const char *expected;
};

class basFunctionCondition : public testing::TestWithParam<ConditionCase>
{
};

TEST_P(basFunctionCondition, spaces_the_terms_exactly)
{
    const ConditionCase &c = GetParam();
    EXPECT_EQ(BuildFieldCondition(QString::fromUtf8(c.value), QString::fromUtf8(c.columns[0]),
                                  QString::fromUtf8(c.columns[1]), QString::fromUtf8(c.columns[2]), c.prefix),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, basFunctionCondition,
    testing::Values(
        ConditionCase{"one_column", "A01", {"cInvCode", "", ""}, false, "(cInvCode = 'A01' )"},
        ConditionCase{"three_prefix",
                      "A01",
                      {"cvencode", "cvenname", "cvenabbname"},
                      true,
                      "(cvencode like 'A01%' OR cvenname like 'A01%' OR cvenabbname like 'A01%')"},
        ConditionCase{
            "two_prefix", "A01", {"calias", "cvalue", ""}, true, "(calias like 'A01%' OR cvalue like 'A01%')"},
        ConditionCase{"blank_second", "x", {"f1", "   ", ""}, false, "(f1 = 'x' )"},
        ConditionCase{"third_without_second", "x", {"f1", "", "f3"}, false, "(f1 = 'x'  OR f3 = 'x')"},
        // A blank third column is not empty: it is used as given.
        ConditionCase{"blank_third", "x", {"f1", "f2", " "}, false, "(f1 = 'x' OR f2 = 'x' OR   = 'x')"},
        // Typed quotes stay inside the literal.
        ConditionCase{"quote_in_value", "O'Neil", {"cname", "", ""}, true, "(cname like 'O''Neil%' )"}),
    [](const testing::TestParamInfo<ConditionCase> &p) { return std::string(p.param.name); });

TEST(basFunctionSql, finds_user_defined_item_identifiers_ignoring_case)
{
    const std::pair<const char *, const char *> cases[] = {{"cfree1", "20"},
                                                           {"CFree3", "28"},
                                                           {"cfree10", "35"},
                                                           {"cdefine1", "01"},
                                                           {"cdefine10", "10"},
                                                           {"cdefine11", "36"},
                                                           {"cdefine16", "41"},
                                                           {"cdefine17", ""},
                                                           {"cdefine20", ""},
                                                           {"cdefine21", ""},
                                                           {"cdefine22", "22"},
                                                           {"cdefine27", "27"},
                                                           {"CDEFINE28", "42"},
                                                           {"cdefine37", "51"},
                                                           {"cdefine38", ""},
                                                           {"cfree11", ""},
                                                           {"cfree0", ""},
                                                           {" cfree1", ""},
                                                           {"", ""}};
    for (const auto &[field, id] : cases)
        EXPECT_EQ(GetUserDefineID(QString::fromLatin1(field)), QString::fromLatin1(id)) << field;
}

// --- Numbers -------------------------------------------------------------------------------------

TEST(basFunctionNumber, reads_the_leading_number_of_displayed_text)
{
    const std::pair<const char *, double> cases[]
        = {{"1,234.50", 1234.5}, {"", 0},         {"   ", 0},   {"12abc", 12}, {"abc", 0},   {"-1,000", -1000},
           {"- 1 2 . 5", -12.5}, {"\t7\n", 7},    {"+.5", 0.5}, {".", 0},      {"-", 0},     {"1.2.3", 1.2},
           {"1.5e3", 1500},      {"2E-2x", 0.02}, {"1e", 1},    {"1e+", 1},    {"1D2", 100}, {"&H1F", 31},
           {"&hff", 255},        {"&O17", 15},    {"&o8", 0},   {"&Hzz", 0},   {"&", 0},     {"12\r3", 12},
           {"１２", 0},          {"1e-400", 0}};
    for (const auto &[text, expected] : cases)
        EXPECT_DOUBLE_EQ(TextToNumber(QString::fromUtf8(text)), expected) << text;
    EXPECT_TRUE(std::isinf(TextToNumber(QStringLiteral("1e400"))));
}

TEST(basFunctionNumber, reads_a_whole_value_as_a_number_or_not_at_all)
{
    const std::pair<const char *, double> numbers[] = {
        {"1,234.5", 1234.5}, {" 12 ", 12}, {"-0.5", -0.5}, {"1e3", 1000}, {"&H1F", 31}, {"+7.", 7}, {"1 000", 1000}};
    for (const auto &[text, expected] : numbers) {
        const auto read = ReadNumber(QString::fromUtf8(text));
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_DOUBLE_EQ(*read, expected) << text;
    }
    // Text after the number, no number at all, and a number no double holds.
    for (const char *text : {"2个", "1.5kg", "3小时", "", "  ", "abc", "1e", "1e400", "&H", "--1", "1.2.3", "&Hzz"})
        EXPECT_FALSE(ReadNumber(QString::fromUtf8(text)).has_value()) << text;
    // The leading-number reading of the same text stays as it was.
    EXPECT_DOUBLE_EQ(TextToNumber(QStringLiteral("2个")), 2);
    EXPECT_DOUBLE_EQ(TextToNumber(QStringLiteral("1e")), 1);
}
