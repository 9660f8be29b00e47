#pragma once

#include <QDialog>

#include <memory>

class QDateEdit;
class QLabel;
class QLineEdit;
class clsLogin;

// The suite's login: user, password, database and operation date. On success login() holds the
// session; a refusal is shown in the dialog and the password field is cleared for another try.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LoginDialog(const QString &connectionString, QWidget *parent = nullptr);

    std::shared_ptr<clsLogin> login() const { return m_login; }
    QString errorText() const;

    // The fields, for tests that drive the dialog.
    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLineEdit *databaseEdit() const { return m_database; }

public slots:
    void accept() override;

private:
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_database;
    QDateEdit *m_date;
    QLabel *m_error;
    std::shared_ptr<clsLogin> m_login;
};
