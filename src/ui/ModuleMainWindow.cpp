#include "ModuleMainWindow.h"

#include "QtWindows.h"

#include "common/modPublic.h"
#include "entry/clsVL_JDYPGLMain.h"
#include "entry/clsVL_JDYPGLParam.h"
#include "host/ObjectRegistry.h"
#include "host/clsLogin.h"
#include "platform/Connection.h"
#include "sample/clsManageSample.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

struct Function
{
    const char *menuId;
    const char *caption;
    QKeySequence shortcut;
};

const Function kFunctions[] = {
    {"SA032501", "样品接单", QKeySequence(Qt::CTRL | Qt::Key_1)},
    {"SA032502", "接单样品管理列表", QKeySequence(Qt::CTRL | Qt::Key_2)},
};

} // namespace

ModuleMainWindow::ModuleMainWindow(std::shared_ptr<clsLogin> session, std::shared_ptr<Connection> cnn, QWidget *parent)
    : QMainWindow(parent)
    , m_session(std::move(session))
    , m_cnn(std::move(cnn))
    , m_functions(new QListWidget)
{
    setWindowTitle(QStringLiteral("销售管理 - 样品接单管理"));
    QMenu *module = menuBar()->addMenu(QStringLiteral("样品接单管理(&S)"));
    for (const Function &f : kFunctions) {
        const QString menuId = QString::fromLatin1(f.menuId);
        QAction *action = module->addAction(QString::fromUtf8(f.caption));
        action->setObjectName(menuId);
        action->setShortcut(f.shortcut);
        connect(action, &QAction::triggered, this, [this, menuId] { openFunction(menuId); });
        auto *item = new QListWidgetItem(QString::fromUtf8(f.caption) + QStringLiteral("    ")
                                         + f.shortcut.toString(QKeySequence::NativeText));
        item->setData(Qt::UserRole, menuId);
        m_functions->addItem(item);
    }
    module->addSeparator();
    QAction *quit = module->addAction(QStringLiteral("退出(&X)"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);
    connect(m_functions, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { openFunction(item->data(Qt::UserRole).toString()); });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("选择功能后按回车打开（可同时打开多个窗口）：")));
    layout->addWidget(m_functions);
    setCentralWidget(central);
    m_functions->setCurrentRow(0);
    m_functions->setFocus();
    const QString user = m_session ? m_session->UserName() : QString();
    statusBar()->showMessage(QStringLiteral("操作员：%1").arg(user));
    resize(420, 260);
}

ModuleMainWindow::~ModuleMainWindow() = default;

bool ModuleMainWindow::openFunction(const QString &menuId)
{
    if (menuId == cardMenuId()) {
        auto card
            = ObjectRegistry::createAs<clsManageSample>(ObjectRegistry::progId(QStringLiteral("clsManageSample")));
        if (!card)
            return false;
        QString error;
        constexpr qint16 lastVoucher = 4;
        // A refusal or a failed load has been shown by the card.
        card->ShowVoucher2(m_cnn, m_session, {}, {}, &error, lastVoucher, menuId);
        return true;
    }
    if (menuId == listMenuId()) {
        auto list
            = ObjectRegistry::createAs<clsVL_JDYPGLMain>(ObjectRegistry::progId(QStringLiteral("clsVL_JDYPGLMain")));
        if (!list)
            return false;
        auto param = std::make_shared<clsVL_JDYPGLParam>();
        param->MenuID = menuId;
        list->ShowVoucherList(m_session, modPublic::CardNumber(), param);
        return true;
    }
    return false;
}

void ModuleMainWindow::closeEvent(QCloseEvent *event)
{
    unloadQtWindows();
    event->accept();
}
