#include "MessageWindow.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

MessageWindow::MessageWindow(const QString &text, const QString &caption, QWidget *parent)
    : QDialog(parent)
    , m_text(new QPlainTextEdit(text, this))
    , m_ok(new QPushButton(QStringLiteral("确定"), this))
{
    setWindowTitle(caption);
    setModal(true);
    resize(480, 300);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setReadOnly(true);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
}
