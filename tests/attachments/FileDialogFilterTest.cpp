#include "attachments/FileDialogFilter.h"

#include <gtest/gtest.h>

namespace {

QStringList filters(const char *text)
{
    return FileDialogFilter::toQtFilters(QString::fromUtf8(text));
}

} // namespace

// The picture window's filter: the first entry lists all three kinds in its description and
// its patterns; trailing ";" and double blanks in descriptions do not survive, and every
// extension is offered in both cases (cameras write IMG_0001.JPG).
TEST(FileDialogFilter, turns_the_picture_filter_into_four_qt_entries)
{
    EXPECT_EQ(
        filters("JPEG图像 *.jpg ,GIF图像 *.gif ,BMP位图 *.bmp|*.jpg;*.bmp;*.gif;|JPEG图像 *.jpg|*.jpg;|"
                "BMP位图  *.bmp|*.bmp;|GIF图像  *.gif|*.gif;"),
        (QStringList{"JPEG图像 *.jpg ,GIF图像 *.gif ,BMP位图 *.bmp (*.jpg *.JPG *.bmp *.BMP *.gif *.GIF)",
                     "JPEG图像 *.jpg (*.jpg *.JPG)", "BMP位图 *.bmp (*.bmp *.BMP)", "GIF图像 *.gif (*.gif *.GIF)"}));
}

// "*.*" would hide every file without a dot (README, Makefile) here.
TEST(FileDialogFilter, all_files_match_names_without_a_dot)
{
    EXPECT_EQ(filters("所有文件|*.*"), QStringList{"所有文件 (*)"});
}

// The save dialog's filter is built from a stored extension; an extension may be anything a
// client once stored.
TEST(FileDialogFilter, builds_entries_from_stored_extensions)
{
    EXPECT_EQ(filters("DAT 文件|*.DAT"), QStringList{"DAT 文件 (*.dat *.DAT)"});
    EXPECT_EQ(filters("7Z 文件|*.7Z"), QStringList{"7Z 文件 (*.7z *.7Z)"});
    EXPECT_EQ(filters(" 文件|*."), QStringList{"文件 (*.)"});
}

TEST(FileDialogFilter, leaves_out_pairs_without_patterns_and_a_lone_description)
{
    EXPECT_EQ(filters("空|;;|文本|*.txt|尾巴"), QStringList{"文本 (*.txt *.TXT)"});
    EXPECT_TRUE(filters("").isEmpty());
    EXPECT_EQ(FileDialogFilter::toQtFilterString(QStringLiteral("甲|*.a|乙|*.b")),
              QStringLiteral("甲 (*.a *.A);;乙 (*.b *.B)"));
}
