#pragma once

#include "card/CardStructureTree.h"
#include "card/CardView.h"
#include "card/TemplateComboControl.h"

#include <QMainWindow>

#include <memory>

class BrowseCardControl;
class ClassicToolbar;
class CommandBar;
class QAction;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;
class VoucherDocument;

// The card window in browsing form: the head fields of a sample voucher above its body lines, with
// first/previous/next/last and refresh on the toolbar (or the command bar) and the keyboard.
// Read-only: its buttons carry the card's command keys, and the card enables them. The view of a
// frmManageSample, which it tells about the user's commands and the closing of the window.
class BrowseWindow : public QMainWindow, public CardView
{
    Q_OBJECT

public:
    explicit BrowseWindow(QWidget *parent = nullptr);
    ~BrowseWindow() override;

    // Shows a voucher's head fields and body lines (an empty head: an empty card).
    void showVoucher(const VoucherDocument &head, const VoucherDocument &body);

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
    CardControl &cardControl() override;
    CardStructureTree &structureTree() override { return m_tree; }
    TemplateComboControl &showTemplate() override { return m_noTemplate; }
    TemplateComboControl &printTemplate() override { return m_noTemplate; }
    void beep() override;
    void showHelp() override {}

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
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The browsing card has no template choosers: nothing is chosen and nothing shows.
    class NoTemplate final : public TemplateComboControl
    {
    public:
        QString text() const override { return {}; }
        void setShown(bool) override {}
    };

    void buildToolbar();
    void buildHead();

    frmManageSample *m_card = nullptr;
    std::unique_ptr<BrowseCardControl> m_control;
    NoStructureTree m_tree;
    NoTemplate m_noTemplate;
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
