#include "HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// Where the build puts the documentation among the program's resources.
const QString kHelpRoot = QStringLiteral("qrc:/help/");

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("帮助"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(900, 700);
}

HelpWindow *HelpWindow::showTopic(const QString &topic, QWidget *parent)
{
    static QPointer<HelpWindow> window;
    if (!window)
        window = new HelpWindow(parent);
    window->m_browser->setSource(QUrl(kHelpRoot + topic), QTextDocument::MarkdownResource);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QString HelpWindow::shownTopic() const
{
    return m_browser->source().fileName();
}
