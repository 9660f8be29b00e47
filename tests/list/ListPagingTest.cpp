#include "list/ListPaging.h"
#include "list/ListProfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ListPaging, the_size_box_accepts_0_to_5000_and_a_query_uses_30_outside_1_to_5000)
{
    EXPECT_EQ(ListPaging::pageSize(QStringLiteral("12.5")), 12) << "halves round to even";
    EXPECT_EQ(ListPaging::pageSize(QStringLiteral("13.5")), 14);
    EXPECT_EQ(ListPaging::pageSize(QStringLiteral("0")), 0);
    EXPECT_EQ(ListPaging::pageSize(QStringLiteral("5000")), 5000);
    for (const char *refused : {"abc", "5001", "-1", "", "1e10"})
        EXPECT_FALSE(ListPaging::pageSize(QString::fromLatin1(refused))) << refused;
    for (const char *fallback : {"0", "-5", "5001", "abc", ""})
        EXPECT_EQ(ListPaging::effectivePageSize(QString::fromLatin1(fallback)), 30) << fallback;
    EXPECT_EQ(ListPaging::effectivePageSize(QStringLiteral("5000")), 5000);
}

TEST(ListPaging, the_page_box_wants_a_whole_number_of_at_least_1)
{
    EXPECT_EQ(ListPaging::pageNumber(QStringLiteral("3")), 3);
    EXPECT_EQ(ListPaging::pageNumber(QStringLiteral("2.5")), 2);
    for (const char *refused : {"0", "-2", "0.4", "abc", ""})
        EXPECT_FALSE(ListPaging::pageNumber(QString::fromLatin1(refused))) << refused;
}

TEST(ListPaging, buttons_stay_inside_the_pages_of_the_last_query)
{
    EXPECT_EQ(ListPaging::nextPage(3, 3), 3) << "next on the last page stays there";
    EXPECT_EQ(ListPaging::nextPage(1, 0), 1) << "no pages: page 1";
    EXPECT_EQ(ListPaging::nextPage(2, 3), 3);
    EXPECT_EQ(ListPaging::previousPage(0), 1);
    EXPECT_EQ(ListPaging::previousPage(-4), 1);
    EXPECT_EQ(ListPaging::previousPage(3), 2);
    EXPECT_EQ(ListPaging::lastPage(0), 1);
    EXPECT_EQ(ListPaging::shownPage(7, 3), 3);
    EXPECT_EQ(ListPaging::shownPage(0, 3), 1);
}

TEST(ListProfile, a_missing_file_gives_30_and_a_written_size_survives)
{
    QTemporaryDir home;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    EXPECT_EQ(ListProfile::pageSizeText(), QStringLiteral("30"));
    ASSERT_TRUE(ListProfile::setPageSizeText(QStringLiteral("120")));
    EXPECT_TRUE(QFile::exists(home.path() + QStringLiteral("/Orvane/QVZLGLQM.ini")));
    EXPECT_EQ(ListProfile::pageSizeText(), QStringLiteral("120"));
    EXPECT_EQ(ListProfile::getMyPathFileName(QStringLiteral("/a/"), QStringLiteral("b.ini")),
              QStringLiteral("/a/b.ini"));
    EXPECT_EQ(ListProfile::getMyPathFileName(QStringLiteral("/a"), QStringLiteral("b.ini")),
              QStringLiteral("/a/b.ini"));
    qputenv("XDG_CONFIG_HOME", before);
}

} // namespace
