#pragma once

#include "list/ListView.h"

#include <QHash>
#include <QMainWindow>

class ClassicToolbar;
class CommandBar;
class ListTableModel;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTableView;
class frmVL_JDYPGL;

// The voucher list window on screen: the list's commands on the classic toolbar or the command bar
// (as the machine's toolbar style chooses), the list as a table with its totals row, the
// print-template combo, the page box, the page-size box and the page buttons.
// It is the view of a frmVL_JDYPGL, which it tells about the user's commands, clicks and keys.
//
// Keys: arrows move in the list, PgDn on the last row and PgUp on the first go to the next and
// previous page, Enter (or a double click) opens the voucher on the card, Ctrl+F filters, F5
// refreshes, Ctrl+P prints, F1 shows the help, Esc closes the window.
class VoucherListWindow : public QMainWindow, public ListView
{
    Q_OBJECT

public:
    explicit VoucherListWindow(QWidget *parent = nullptr);
    ~VoucherListWindow() override;

    void setList(frmVL_JDYPGL *list) { m_list = list; }

    void setCaption(const QString &caption) override { setWindowTitle(caption); }
    ToolbarControl &toolbar() override;
    CommandBarControl &commandBar() override;
    int innerWidth() const override { return width(); }
    void setButtons(const QList<QPair<QString, QString>> &buttons) override;
    void setTemplates(const QStringList &templates) override;
    void showPage(const ListPage &page) override;
    int currentRow() const override;
    QString pageText() const override;
    void setPageText(const QString &text) override;
    QString sizeText() const override;
    void setSizeText(const QString &text) override;
    void setPagingEnabled(bool enabled) override;
    void setStatus(const QString &text) override;
    void showWindow() override;
    bool isWindowVisible() const override { return isVisible(); }
    void raiseWindow() override;
    void closeWindow() override;
    std::optional<QList<FilterValue>> askFilter(const QList<FilterItem> &items,
                                                const QList<FilterValue> &current) override;
    std::optional<QList<ListColumn>> askColumns(const QList<ListColumn> &columns) override;
    void locate() override;
    QString print(const OutputDocumentMaker &document, const QString &printFormat, bool preview) override;
    void exportRows(const OutputDocumentMaker &document) override;
    void showHelp() override;

    // Tests and scripted sessions: print and preview write this PDF file without a dialog, and
    // output writes this file (CSV or XLSX by its suffix) without asking for a name.
    void setPrintTarget(const QString &pdfPath) { m_printTarget = pdfPath; }
    void setExportTarget(const QString &path) { m_exportTarget = path; }

    // The parts, for tests.
    QTableView *table() const { return m_table; }
    ListTableModel *model() const { return m_model; }
    QLineEdit *pageBox() const { return m_page; }
    QLineEdit *sizeBox() const { return m_size; }
    QPushButton *pageButton(const QString &name) const { return m_pageButtons.value(name.toLower()); }
    QAction *command(const QString &key) const { return m_commands.value(key.toLower()); }
    QComboBox *templateBox() const { return m_templates; }
    QString statusText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildPager();
    void pageCommand(const QString &name);
    // Writes the document to the file with a progress dialog; false when it failed or was cancelled.
    bool writeFile(OutputDocument &document, const QString &path);
    // Renders the document onto a printer; reports a failure.
    void render(const OutputDocumentMaker &document, QPrinter &printer);
    void applyWidths(const ListPage &page);

    frmVL_JDYPGL *m_list = nullptr;
    ClassicToolbar *m_toolbar;
    CommandBar *m_commandBar;
    QTableView *m_table;
    ListTableModel *m_model;
    QComboBox *m_templates = nullptr;
    QLineEdit *m_page = nullptr;
    QLineEdit *m_size = nullptr;
    QLabel *m_pages = nullptr;
    QHash<QString, QPushButton *> m_pageButtons;
    QHash<QString, QAction *> m_commands;
    QString m_printTarget;
    QString m_exportTarget;
    bool m_validating = false;
};
