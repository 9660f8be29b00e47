#pragma once

#include <QMainWindow>

#include <memory>

class Connection;
class QListWidget;
class clsLogin;

// The suite's main window for the sample module, as its portal gives it to a user after login: the
// module's functions by menu identifier — the sample card ("SA032501") and the voucher list
// ("SA032502") — in the menu and as a list to pick from with the keyboard. Each function opens
// through its entry object, so rights, one window per menu and the function locks hold as they do
// for the suite; several windows can be open at once. Closing the main window closes them all.
class ModuleMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    ModuleMainWindow(std::shared_ptr<clsLogin> session, std::shared_ptr<Connection> cnn, QWidget *parent = nullptr);
    ~ModuleMainWindow() override;

    static QString cardMenuId() { return QStringLiteral("SA032501"); }
    static QString listMenuId() { return QStringLiteral("SA032502"); }

    // Opens the function of a menu identifier; false for an unknown one.
    bool openFunction(const QString &menuId);
    QListWidget *functions() const { return m_functions; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::shared_ptr<clsLogin> m_session;
    std::shared_ptr<Connection> m_cnn;
    QListWidget *m_functions;
};
