#pragma once

#include "ListPage.h"
#include "ListQuery.h"
#include "ListView.h"
#include "SqlCondition.h"

#include "entry/ListWindow.h"
#include "entry/clsVL_JDYPGLInfo.h"

#include <memory>
#include <optional>

class Connection;
class ListFormatService;
class ListViewColumns;

// The voucher list window ("接单样品管理列表"): the sample vouchers that match the user's filter
// and data permissions, one page at a time in a fixed order, with a totals row over all of them;
// print, preview and output of every page; the selected voucher opened on the card.
//
// The window reads the list session and the list connection of modPublic, which its entry object
// set; it talks to its widgets through ListView. A query that fails is reported (ShowErrMsg,
// "frmVL_JDYPGL:ListShow") and leaves what the window showed. Of the rows, only the page on screen
// is held in memory, with the keys of every matching row (16 bytes a row) that the totals noted:
// moving to another page reads that page's rows by their keys.
class frmVL_JDYPGL final : public ListWindow
{
public:
    explicit frmVL_JDYPGL(std::shared_ptr<ListView> view);
    ~frmVL_JDYPGL() override;

    bool ShowVoucherList(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter) override;
    bool ShowVoucherListEx(std::shared_ptr<clsVL_JDYPGLParam> objShowParameter, bool bCheckAuth) override;
    bool isVisible() const override;
    void Show() override;
    void ZOrder(int position) override;

    static QString caption() { return QStringLiteral("接单样品管理列表"); }
    static QString listTask() { return QStringLiteral("SA03250201"); }

    // Runs the query: asks for a new filter first when showFilter is true (a cancelled filter
    // keeps the previous one and answers false). True when a query ran, also one without rows.
    bool ListShow(bool showFilter);
    // The toolbar's commands by key: Print, Preview, Output, filter, Locate, Find, Refresh, Column,
    // Help, Exit. A double click on a row and Enter run "Find".
    void ButtonClick(const QString &key);
    // The page buttons by name: cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdPageOk.
    void pageButton(const QString &name);
    // The page-size box's text changed: back to page 1, page controls off until cmdPageOk.
    void pageSizeEdited();
    // Leaving the boxes: false (with the message shown) when the text is refused; the box keeps
    // the focus then.
    bool validatePageBox();
    bool validateSizeBox();
    // A click on a column's header: sorts by it, the second click on the same column descending.
    void sortByColumn(int column);

    const ListPage &page() const { return m_page; }
    const std::optional<SqlCondition> &filter() const { return m_filter; }
    const clsVL_JDYPGLInfo &info() const { return m_info; }
    // The document the list's print, preview and output write (all pages).
    OutputDocument outputDocument() const;

protected:
    void unloading() override;

private:
    bool open(std::shared_ptr<clsVL_JDYPGLParam> param);
    std::optional<SqlCondition> ShowFilter();
    // The request of the current settings; messages for settings the view cannot serve.
    std::optional<ListQueryRequest> request(Connection &cnn);
    void openCard();
    void print(bool preview);
    void exportRows();
    void editColumns();
    void fillTemplates();
    void reportError(const QString &description, const QString &routine);
    // Shows the page the page box names out of the totals held, read by its rows' keys.
    bool showPage(Connection &cnn);

    std::shared_ptr<ListView> m_view;
    std::shared_ptr<clsVL_JDYPGLParam> m_param;
    clsVL_JDYPGLInfo m_info;
    std::unique_ptr<ListFormatService> m_format;
    std::optional<SqlCondition> m_filter;
    std::unique_ptr<ListQuery> m_query;
    std::optional<ListTotals> m_totals; // of m_query, with the keys of its rows
    ListPage m_page;
    ListSort m_sort;
    bool m_holdsTask = false;
};
