#pragma once

#include "card/BrowseView.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;
class VoucherBrowser;
class clsLogin;

// The card window in browsing form: the head fields of a sample voucher above its body lines, with
// first/previous/next/last and refresh on the toolbar and the keyboard. Read-only.
class BrowseWindow : public QMainWindow, public BrowseView
{
    Q_OBJECT

public:
    explicit BrowseWindow(std::shared_ptr<clsLogin> login, QWidget *parent = nullptr);
    ~BrowseWindow() override;

    bool open(qlonglong voucherId = -1);

    void showVoucher(const VoucherDocument &head, const VoucherDocument &body) override;
    void setNavigation(bool canGoBack, bool canGoForward) override;
    void showError(const QString &text) override;

    // For tests.
    QAction *firstAction() const { return m_first; }
    QAction *previousAction() const { return m_previous; }
    QAction *nextAction() const { return m_next; }
    QAction *lastAction() const { return m_last; }
    QString headText(const QString &field) const;
    QTableWidget *bodyTable() const { return m_body; }

private:
    void buildHead();

    std::unique_ptr<VoucherBrowser> m_browser;
    QAction *m_first;
    QAction *m_previous;
    QAction *m_next;
    QAction *m_last;
    QAction *m_refresh;
    QWidget *m_headPanel;
    QGridLayout *m_headGrid;
    QList<QLineEdit *> m_headFields;
    QTableWidget *m_body;
    QLabel *m_status;
};
