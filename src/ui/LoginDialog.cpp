#include "LoginDialog.h"

#include "host/clsLogin.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LoginDialog::LoginDialog(const QString &connectionString, QWidget *parent)
    : QDialog(parent)
    , m_user(new QLineEdit(this))
    , m_password(new QLineEdit(this))
    , m_database(new QLineEdit(connectionString, this))
    , m_date(new QDateEdit(QDate::currentDate(), this))
    , m_error(new QLabel(this))
{
    setWindowTitle(QStringLiteral("登录 - 样品接单管理"));
    m_password->setEchoMode(QLineEdit::Password);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_database->setMinimumWidth(360);
    m_error->setStyleSheet(QStringLiteral("color: #b00020"));
    m_error->setWordWrap(true);
    m_error->hide();

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户(&U)："), m_user);
    form->addRow(QStringLiteral("密码(&P)："), m_password);
    form->addRow(QStringLiteral("数据库(&D)："), m_database);
    form->addRow(QStringLiteral("操作日期(&T)："), m_date);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("登录"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(buttons);
    m_user->setFocus();
}

QString LoginDialog::errorText() const
{
    return m_error->isHidden() ? QString() : m_error->text();
}

void LoginDialog::accept()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto session = clsLogin::Login(m_database->text().trimmed(), m_user->text().trimmed(), m_password->text(),
                                   m_date->date());
    QApplication::restoreOverrideCursor();
    if (!session) {
        m_error->setText(session.error());
        m_error->show();
        m_password->clear();
        m_password->setFocus();
        return;
    }
    m_login = *session;
    QDialog::accept();
}
