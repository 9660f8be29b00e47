// The card's body grid under the hand of a user on a voucher of 1,000 lines: typing a value into a
// cell (through the entry check, onto the line), and moving the current line down and back - each
// with the grid shown and painted. The floor is the same edit written straight into the body
// document's line, which is what the grid must add little to (the aim: well under 5 ms a step).
// No database: the lines are made in memory on a template of twelve columns.
#include "support/BenchArgs.h"
#include "support/BenchData.h"
#include "support/BenchWidgets.h"

#include "ui/BodyLinesModel.h"
#include "ui/CardGrid.h"
#include "ui/VoucherCardWidget.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

CardTemplate gridTemplate()
{
    CardTemplate t;
    t.id = 1;
    for (int c = 0; c < 12; ++c) {
        CardItem item;
        item.field = QStringLiteral("c%1").arg(c);
        item.caption = QStringLiteral("列%1").arg(c);
        item.editable = true;
        item.number = c % 3 == 0;
        item.decimals = item.number ? 2 : -1;
        t.body << item;
    }
    CardItem code;
    code.field = QStringLiteral("ccode");
    code.caption = QStringLiteral("单据号");
    t.head << code;
    return t;
}

// A shown card in edit with `lines` lines, and the greyed cells a voucher of child samples has.
struct Card
{
    std::unique_ptr<VoucherCardWidget> widget;

    explicit Card(int lines)
    {
        makeWidgetApplication();
        widget = std::make_unique<VoucherCardWidget>();
        widget->setTemplate(gridTemplate());
        VoucherDocument head;
        head.appendRow().setValue(QStringLiteral("ccode"), QStringLiteral("YP0001"));
        VoucherDocument body;
        for (int r = 0; r < lines; ++r) {
            VoucherRow line = body.appendRow();
            for (int c = 0; c < 12; ++c)
                line.setValue(QStringLiteral("c%1").arg(c), QString::number(r * 12 + c));
            line.setValue(QStringLiteral("editprop"), QString());
        }
        widget->loadDocuments(head, body, 0);
        widget->setEditState(CardControl::EditingVoucher);
        for (int r = 1; r <= lines; r += 7)
            widget->markCell(QStringLiteral("c1"), r);
        widget->resize(1000, 600);
        widget->show();
        QCoreApplication::processEvents();
    }
};

int lineCount()
{
    return benchSize(1000, 50);
}

void BM_GridCellEdit(benchmark::State &state)
{
    Card card(lineCount());
    BodyLinesModel *lines = card.widget->bodyGrid()->lines();
    const int column = card.widget->columnOf(QStringLiteral("c3"));
    int row = 0;
    int value = 0;
    for (auto _ : state) {
        lines->setData(lines->index(row, column), QString::number(++value), Qt::EditRole);
        QCoreApplication::processEvents(); // the grid repaints what changed
        row = (row + 137) % lines->rowCount();
    }
    if (card.widget->bodyText(1, QStringLiteral("editprop")) != QLatin1String("M"))
        state.SkipWithError("an edited line is not marked changed");
}
BENCHMARK(BM_GridCellEdit)->Unit(benchmark::kMicrosecond)->Apply(quickIterations);

// The floor: the same value written into the line itself.
void BM_GridCellEditFloor(benchmark::State &state)
{
    Card card(lineCount());
    QList<VoucherRow> lines = card.widget->bodyGrid()->lines()->lines();
    int row = 0;
    int value = 0;
    for (auto _ : state) {
        lines[row].setValue(QStringLiteral("c3"), QString::number(++value));
        row = (row + 137) % int(lines.size());
    }
}
BENCHMARK(BM_GridCellEditFloor)->Unit(benchmark::kMicrosecond)->Apply(quickIterations);

void BM_GridRowMove(benchmark::State &state)
{
    Card card(lineCount());
    CardGrid *grid = card.widget->bodyGrid();
    int row = 0;
    for (auto _ : state) {
        row = row + 1 < grid->rowCount() ? row + 1 : 0;
        grid->setCurrentCell(row, 2);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_GridRowMove)->Unit(benchmark::kMicrosecond)->Apply(quickIterations);

// Greying and clearing one cell, which the card does on every line it moves to.
void BM_GridMarkCell(benchmark::State &state)
{
    Card card(lineCount());
    int row = 1;
    for (auto _ : state) {
        card.widget->markCell(QStringLiteral("c5"), row);
        card.widget->clearCell(QStringLiteral("c5"), row);
        QCoreApplication::processEvents();
        row = row % card.widget->BodyRows() + 1;
    }
}
BENCHMARK(BM_GridMarkCell)->Unit(benchmark::kMicrosecond)->Apply(quickIterations);

} // namespace
