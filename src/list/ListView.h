#pragma once

#include "FilterService.h"
#include "ListColumn.h"
#include "ListPage.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CommandBarControl;
class ToolbarControl;
struct OutputDocument;
// Makes the document of every matching row anew; a document's rows can be read once, and a
// preview paints more than once.
using OutputDocumentMaker = std::function<OutputDocument()>;

// The voucher list window's view as its logic (frmVL_JDYPGL) drives it: the list control with
// its totals row, the toolbar and the command bar (the toolbar style chooses which shows), the
// page box and the page-size box, the print-template combo and the window's dialogs. The Qt
// window implements it; tests fake it.
class ListView
{
public:
    virtual ~ListView() = default;

    virtual void setCaption(const QString &caption) = 0;
    // The toolbar's buttons (key, caption), in order.
    virtual void setButtons(const QList<QPair<QString, QString>> &buttons) = 0;
    virtual ToolbarControl &toolbar() = 0;
    virtual CommandBarControl &commandBar() = 0;
    // Width of the window's inside, across which the command bar spans.
    virtual int innerWidth() const = 0;
    // Print templates as "id name".
    virtual void setTemplates(const QStringList &templates) = 0;
    virtual void showPage(const ListPage &page) = 0;
    // The row of the shown page the user is on; -1 when none.
    virtual int currentRow() const = 0;

    virtual QString pageText() const = 0;
    virtual void setPageText(const QString &text) = 0;
    virtual QString sizeText() const = 0;
    virtual void setSizeText(const QString &text) = 0;
    // The page box and the four page buttons.
    virtual void setPagingEnabled(bool enabled) = 0;
    // A short line of feedback (status bar).
    virtual void setStatus(const QString &text) = 0;

    virtual void showWindow() = 0;
    virtual bool isWindowVisible() const = 0;
    virtual void raiseWindow() = 0;
    virtual void closeWindow() = 0;

    // Modal dialogs. Nothing when the user cancels.
    virtual std::optional<QList<FilterValue>> askFilter(const QList<FilterItem> &items,
                                                        const QList<FilterValue> &current)
        = 0;
    virtual std::optional<QList<ListColumn>> askColumns(const QList<ListColumn> &columns) = 0;
    // The list control's own find-a-row dialog.
    virtual void locate() = 0;
    // Prints or previews the document with the print format text (see ListPrintFormat; empty: the
    // default); answers the format the user left set, which the window keeps when it changed.
    virtual QString print(const OutputDocumentMaker &document, const QString &printFormat, bool preview) = 0;
    // Asks for a file and writes the document to it (CSV or XLSX by the name chosen), with progress.
    virtual void exportRows(const OutputDocumentMaker &document) = 0;
    virtual void showHelp() = 0;
};
