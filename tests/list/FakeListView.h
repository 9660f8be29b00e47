#pragma once

#include "list/ListView.h"
#include "output/OutputDocument.h"
#include "support/FakeBars.h"

#include <QStringList>

#include <deque>

// Records what the list window shows and answers its dialogs from a script.
class FakeListView final : public ListView
{
public:
    void setCaption(const QString &text) override { caption = text; }
    void setButtons(const QList<QPair<QString, QString>> &list) override { buttons = list; }
    ToolbarControl &toolbar() override { return bar; }
    CommandBarControl &commandBar() override { return commands; }
    int innerWidth() const override { return 800; }
    void setTemplates(const QStringList &list) override { templates = list; }
    void showPage(const ListPage &p) override
    {
        page = p;
        ++pagesShown;
    }
    int currentRow() const override { return row; }
    QString pageText() const override { return pageBox; }
    void setPageText(const QString &text) override { pageBox = text; }
    QString sizeText() const override { return sizeBox; }
    void setSizeText(const QString &text) override { sizeBox = text; }
    void setPagingEnabled(bool enabled) override { pagingEnabled = enabled; }
    void setStatus(const QString &text) override { status = text; }
    void showWindow() override { visible = true; }
    bool isWindowVisible() const override { return visible; }
    void raiseWindow() override { calls << QStringLiteral("raise"); }
    void closeWindow() override
    {
        visible = false;
        calls << QStringLiteral("close");
    }
    std::optional<QList<FilterValue>> askFilter(const QList<FilterItem> &items,
                                                const QList<FilterValue> &current) override
    {
        filterItems = items;
        offeredFilter = current;
        calls << QStringLiteral("askFilter");
        if (filterAnswers.empty())
            return QList<FilterValue>{};
        auto answer = filterAnswers.front();
        filterAnswers.pop_front();
        return answer;
    }
    std::optional<QList<ListColumn>> askColumns(const QList<ListColumn> &columns) override
    {
        offeredColumns = columns;
        calls << QStringLiteral("askColumns");
        return columnAnswer;
    }
    void locate() override { calls << QStringLiteral("locate"); }
    QString print(const OutputDocumentMaker &document, const QString &format, bool preview) override
    {
        calls << (preview ? QStringLiteral("preview") : QStringLiteral("print"));
        printedFormat = format;
        OutputDocument doc = document();
        readAll(doc);
        return formatAfterPrint.isEmpty() ? format : formatAfterPrint;
    }
    void exportRows(const OutputDocumentMaker &document) override
    {
        calls << QStringLiteral("export");
        OutputDocument doc = document();
        readAll(doc);
    }
    void showHelp() override { calls << QStringLiteral("help"); }

    void readAll(OutputDocument &document)
    {
        written.clear();
        writtenColumns = document.columns;
        writtenTotals = document.totals;
        QVariantList r;
        while (document.nextRow && document.nextRow(r))
            written << r;
    }

    QString caption;
    QList<QPair<QString, QString>> buttons;
    QStringList templates;
    ListPage page;
    int pagesShown = 0;
    int row = 0;
    QString pageBox;
    QString sizeBox;
    bool pagingEnabled = false;
    QString status;
    bool visible = false;
    QStringList calls;
    // What the window did to its two bars, in order.
    QStringList barLog;
    FakeToolbar bar{barLog};
    FakeCommandBar commands{barLog};
    QList<FilterItem> filterItems;
    QList<FilterValue> offeredFilter;
    // Each filter request takes the first answer; nullopt cancels. Empty script: an empty filter.
    std::deque<std::optional<QList<FilterValue>>> filterAnswers;
    std::optional<QList<ListColumn>> columnAnswer;
    QList<ListColumn> offeredColumns;
    QString printedFormat;
    QString formatAfterPrint;
    QList<OutputColumn> writtenColumns;
    QVariantList writtenTotals;
    QList<QVariantList> written;
};
