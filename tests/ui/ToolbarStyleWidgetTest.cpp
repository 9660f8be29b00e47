#include "support/FakeMessageService.h"

#include "card/frmManageSample.h"
#include "platform/MachineRegistry.h"
#include "ui/ClassicToolbar.h"
#include "ui/CommandBar.h"
#include "ui/MessageWindow.h"
#include "ui/QtMessageService.h"
#include "ui/SampleCardWindow.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class BarsOfTheCard : public testing::Test
{
protected:
    void SetUp() override { MachineRegistry::setFilePath(dir.filePath(QStringLiteral("registry.ini"))); }
    void TearDown() override
    {
        MachineRegistry::setFilePath(saved);
        modPublic::clearProgramState();
    }

    void writeStyle(const QByteArray &value)
    {
        QFile file(dir.filePath(QStringLiteral("registry.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[SOFTWARE\\Vestral\\WF\\V8.520\\Appearance]\nToolbar Style=" + value + "\n");
    }

    // A card window as the factory makes it; the card applies the style when it loads.
    std::shared_ptr<SampleCardWindow> load()
    {
        auto view = std::make_shared<SampleCardWindow>();
        card = std::make_shared<frmManageSample>(view);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return view;
    }

    QString saved = MachineRegistry::filePath();
    QTemporaryDir dir;
    FakeMessageService messages;
    std::shared_ptr<frmManageSample> card;
};

TEST_F(BarsOfTheCard, the_command_bar_takes_over_the_toolbar_by_default)
{
    const auto view = load();
    EXPECT_TRUE(view->suiteCommandBar()->isVisible());
    EXPECT_FALSE(view->classicToolbar()->isVisible());
    EXPECT_EQ(view->suiteCommandBar()->actions(), view->classicToolbar()->actions());
    EXPECT_EQ(view->suiteCommandBar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(view->toolBarArea(view->suiteCommandBar()), view->toolBarArea(view->classicToolbar()));
    EXPECT_TRUE(view->findChild<QToolBar *>(QStringLiteral("CTBCtrl1")));
    EXPECT_TRUE(view->findChild<QToolBar *>(QStringLiteral("Toolbar1")));
}

TEST_F(BarsOfTheCard, the_classic_toolbar_shows_when_the_machine_asks_for_it)
{
    writeStyle("False");
    const auto view = load();
    EXPECT_TRUE(view->classicToolbar()->isVisible());
    EXPECT_FALSE(view->suiteCommandBar()->isVisible());
}

TEST(MessageWindowWidget, shows_the_text_with_the_caption_and_closes_with_its_button)
{
    MessageWindow window(QStringLiteral("第一行\r\n第二行"), QStringLiteral("提示"));
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("提示"));
    EXPECT_EQ(window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText(),
              QStringLiteral("第一行\n第二行"));
    EXPECT_TRUE(window.textBox()->isReadOnly());
    auto *ok = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->text(), QStringLiteral("确定"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST(MessageWindowWidget, the_qt_service_shows_it_modally)
{
    QtMessageService service;
    QString seen;
    QTimer closer; // waits for the window to run modally, then answers it
    QObject::connect(&closer, &QTimer::timeout, [&seen] {
        if (auto *window = qobject_cast<MessageWindow *>(QApplication::activeModalWidget())) {
            seen = window->textBox()->toPlainText();
            window->okButton()->click();
        }
    });
    closer.start(10);
    service.showWindow(QStringLiteral("已转换为物料清单"), QStringLiteral("转换"));
    EXPECT_EQ(seen, QStringLiteral("已转换为物料清单"));
}

} // namespace
