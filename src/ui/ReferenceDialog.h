#pragma once

#include "host/ReferencePicker.h"

#include <QDialog>
#include <QMap>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

// The reference list on Qt: a search box over a table that shows the list one page at a time.
//
// The search box starts with the typed value and focus; typing re-reads the list from its first
// page once the user pauses. Down moves into the table, Up on its first row back to the search.
// PgDn/PgUp (or the buttons) turn the pages; scrolling or moving down past the last row reads the
// next page in below it. Enter or a double click picks, Esc cancels. With multiSelect, Space or a
// click marks rows, and marks are kept across pages and searches; Enter with nothing marked picks
// the current row. A failed read is shown in the dialog, which stays
// open so the user can search again or cancel.
//
// One dialog serves every pick; pick() runs it modally and resets it each time.
class ReferenceDialog final : public QDialog, public ReferencePicker
{
    Q_OBJECT

public:
    explicit ReferenceDialog(QWidget *parent = nullptr);
    ~ReferenceDialog() override;

    bool pick(ReferenceListService &service, const ReferenceListRequest &request, bool multiSelect,
              Recordset &chosen) override;

    // Makes the application's dialog the installed picker. Created on the first call, it lives
    // until the application quits; later calls only install it again.
    static void installShared();

    QLineEdit *searchEdit() const { return m_search; }
    QTableWidget *table() const { return m_table; }
    QPushButton *previousButton() const { return m_previous; }
    QPushButton *nextButton() const { return m_next; }
    QLabel *messageLabel() const { return m_message; }
    // The last page on show (0-based); scrolling past the end shows several.
    int pageIndex() const { return m_request.pageIndex; }
    // The pause after the last keystroke before the list is searched again (milliseconds).
    void setSearchDelay(int ms);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reset(ReferenceListService &service, const ReferenceListRequest &request, bool multiSelect);
    void load(int pageIndex, bool append = false);
    void showRows(int currentRow);
    void searchNow();
    void turnPage(int step);
    void appendPage();
    void rememberMarks();
    void choose();
    void setCurrentRow(int row);
    QString rowCode(int row) const;
    bool handleKey(QObject *watched, int key);

    QLineEdit *m_search = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QLabel *m_pageLabel = nullptr;
    QLabel *m_message = nullptr;
    QTimer *m_searchTimer = nullptr;

    ReferenceListService *m_service = nullptr;
    ReferenceListRequest m_request;
    bool m_multiSelect = false;
    Recordset m_rows;      // the pages on show
    QList<int> m_columns;  // the page's columns in display order
    int m_codeColumn = -1; // in m_rows
    int m_firstPage = 0;   // the first page on show; m_request.pageIndex is the last
    bool m_more = false;
    QList<RecordsetField> m_fields;      // the list's columns, once a page was read
    QMap<QString, QVariantList> m_marks; // marked rows by code (multiSelect)
    Recordset m_chosen;
};
