#pragma once

#include "card/CardView.h"

#include <QMainWindow>

#include <memory>

class ClassicToolbar;
class CommandBar;
class Connection;
class QAction;
class QLabel;
class StructureTreePane;
class TemplateChooser;
class VoucherCardWidget;
struct CardTemplate;

// The sample voucher's card window: the card's commands on the classic toolbar or the command bar
// (the toolbar style chooses), the title with the voucher's status beside it, the template
// choosers, the structure tree and the card itself. It is the view of a frmManageSample, which it
// tells about the user's commands, keys and the closing of the window; every command also has a
// shortcut.
class SampleCardWindow : public QMainWindow, public CardView
{
    Q_OBJECT

public:
    explicit SampleCardWindow(QWidget *parent = nullptr);
    ~SampleCardWindow() override;

    void setCard(frmManageSample *card) override;
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
    CardStructureTree &structureTree() override;
    TemplateComboControl &showTemplate() override;
    TemplateComboControl &printTemplate() override;
    void showStatus(const QString &text) override;
    void beep() override;
    void showHelp() override;

    // The parts, for tests.
    VoucherCardWidget *card() const { return m_control; }
    StructureTreePane *structurePane() const { return m_tree; }
    QAction *command(const QString &key) const;
    QString titleText() const;
    QString statusText() const;
    // What the status bar says: the last command's outcome, and who works on which database.
    QString statusBarText() const;
    QString sessionText() const;
    ClassicToolbar *classicToolbar() const { return m_toolbar; }
    CommandBar *suiteCommandBar() const { return m_commandBar; }
    std::shared_ptr<CardDataSource> dataSource() const { return m_dataSource; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildToolbar();
    // The print button's menu: the card's print and the report runner's print, design, preview.
    void addPrintMenu(QAction *print);
    void connectFieldEdits();
    void connectStructureTree();
    QWidget *buildTop();
    void updateStatus();
    // Runs a command of the card with the busy pointer shown while it works.
    void dispatch(const QString &key);
    // The display template a head names (vt_id), or the first one when it names none we know.
    CardTemplate templateFor(int templateId);
    Connection *connection();

    frmManageSample *m_card = nullptr;
    std::shared_ptr<CardDataSource> m_dataSource;
    std::unique_ptr<Connection> m_cnn;
    ClassicToolbar *m_toolbar;
    CommandBar *m_commandBar;
    QLabel *m_title;
    QLabel *m_status;
    QLabel *m_session;
    TemplateChooser *m_showTemplate;
    TemplateChooser *m_printTemplate;
    StructureTreePane *m_tree;
    VoucherCardWidget *m_control;
};
