#include "support/FakeBars.h"

#include "common/modPublic.h"
#include "platform/MachineRegistry.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kKey = "[SOFTWARE\\Vestral\\WF\\V8.520\\Appearance]\n";

struct StyleCase
{
    const char *name;
    QByteArray file;
    int style;
    bool missing = false; // no file at all
};

// The file stands in for the machine's registry; every way of not reading the value gives 1.
const StyleCase kCases[] = {
    {"no_file", "", 1, true},
    {"other_key", "[SOFTWARE\\Vestral\\WF\\V8.520\\Other]\nToolbar Style=False\n", 1},
    {"key_without_value", kKey + "Other=False\n", 1},
    {"True", kKey + "Toolbar Style=True\n", 1},
    {"False", kKey + "Toolbar Style=False\n", 2},
    {"empty_value", kKey + "Toolbar Style=\n", 2},
    {"lower_case_true_is_not_True", kKey + "Toolbar Style=true\n", 2},
    {"names_ignore_case", "[software\\vestral\\wf\\v8.520\\appearance]\r\ntoolbar style = False\r\n", 2},
    {"comments_are_skipped_and_quotes_dropped", kKey + "; Toolbar Style=False\n\"Toolbar Style\"=\"True\"\n", 1},
    // A read into the 128-byte buffer fails for a longer value: the default style.
    {"value_of_127_bytes_fits", kKey + "Toolbar Style=F" + QByteArray(126, 'x') + "\n", 2},
    {"value_of_128_bytes_does_not_fit", kKey + "Toolbar Style=F" + QByteArray(127, 'x') + "\n", 1},
};

class ToolbarStyle : public testing::TestWithParam<StyleCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        MachineRegistry::setFilePath(path());
        if (GetParam().missing)
            return;
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().file);
    }
    void TearDown() override { MachineRegistry::setFilePath(saved); }

    QString path() const { return dir.filePath(QStringLiteral("registry.ini")); }

    QString saved = MachineRegistry::filePath();
    QTemporaryDir dir;
};

TEST_P(ToolbarStyle, is_read_from_the_machine_settings)
{
    EXPECT_EQ(modPublic::GetToolbarStyle(), GetParam().style);
}

TEST_P(ToolbarStyle, shows_exactly_one_bar)
{
    QStringList log;
    FakeToolbar toolbar(log);
    FakeCommandBar bar(log);
    modPublic::ApplyToolbarStyle(640, toolbar, bar);
    if (GetParam().style == 2) {
        EXPECT_EQ(log, (QStringList{"toolbar.shown=1", "toolbar.front", "bar.shown=0"}));
        return;
    }
    // The command bar takes the buttons before the toolbar goes, then takes its place across the
    // window.
    EXPECT_EQ(log,
              (QStringList{"bar.SetToolbar", "bar.SetDisplayStyle(1)", "toolbar.shown=0", "bar.shown=1", "bar.place"}));
    EXPECT_EQ(bar.source, &toolbar);
    EXPECT_EQ(bar.placed, QRect(4, 30, 640, 28));
}

std::string caseName(const testing::TestParamInfo<StyleCase> &c)
{
    return c.param.name;
}

INSTANTIATE_TEST_SUITE_P(Settings, ToolbarStyle, testing::ValuesIn(kCases), caseName);

TEST(MachineRegistry, an_unreadable_file_counts_as_missing)
{
    QTemporaryDir dir;
    const QString saved = MachineRegistry::filePath();
    MachineRegistry::setFilePath(dir.path()); // a folder, not a file
    EXPECT_FALSE(MachineRegistry::readString(QStringLiteral("SOFTWARE"), QStringLiteral("x")));
    EXPECT_EQ(modPublic::GetToolbarStyle(), 1);
    MachineRegistry::setFilePath(saved);
}

} // namespace
