#pragma once

#include "card/CardView.h"

#include <QMainWindow>

#include <memory>

class ClassicToolbar;
class CommandBar;
class QAction;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;

// The card window in browsing form: the head fields of a sample voucher above its body lines, with
// first/previous/next/last and refresh on the toolbar (or the command bar) and the keyboard.
// Read-only. The view of a frmManageSample, which it tells about the user's commands and the
// closing of the window.
class BrowseWindow : public QMainWindow, public CardView
{
    Q_OBJECT

public:
    explicit BrowseWindow(QWidget *parent = nullptr);
    ~BrowseWindow() override;

    void showVoucher(const VoucherDocument &head, const VoucherDocument &body) override;
    void setNavigation(bool canGoBack, bool canGoForward) override;
    void showError(const QString &text) override;

    void setCard(frmManageSample *card) override { m_card = card; }
    void setCaption(const QString &caption) override;
    void showWindow() override { show(); }
    bool isWindowVisible() const override { return isVisible(); }
    void setZOrder(int position) override;
    void closeWindow() override { close(); }
    ToolbarControl &toolbar() override;
    CommandBarControl &commandBar() override;
    int innerWidth() const override { return width(); }
    void setDataSource(std::shared_ptr<CardDataSource> source) override { m_dataSource = std::move(source); }

    // For tests.
    QAction *firstAction() const { return m_first; }
    QAction *previousAction() const { return m_previous; }
    QAction *nextAction() const { return m_next; }
    QAction *lastAction() const { return m_last; }
    QString headText(const QString &field) const;
    QString titleText() const;
    QTableWidget *bodyTable() const { return m_body; }
    ClassicToolbar *classicToolbar() const { return m_toolbar; }
    CommandBar *suiteCommandBar() const { return m_commandBar; }
    std::shared_ptr<CardDataSource> dataSource() const { return m_dataSource; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void buildHead();

    frmManageSample *m_card = nullptr;
    std::shared_ptr<CardDataSource> m_dataSource;
    ClassicToolbar *m_toolbar;
    CommandBar *m_commandBar;
    QAction *m_first = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_last = nullptr;
    QAction *m_refresh = nullptr;
    QLabel *m_title;
    QWidget *m_headPanel;
    QGridLayout *m_headGrid;
    QList<QLineEdit *> m_headFields;
    QTableWidget *m_body;
    QLabel *m_status;
};
