#include "ListColumnsDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Shown, Caption, Width, Sum, Field };

QTableWidgetItem *checkItem(bool on)
{
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

ListColumnsDialog::ListColumnsDialog(const QList<ListColumn> &columns, QWidget *parent)
    : QDialog(parent)
    , m_table(new QTableWidget(0, 5, this))
{
    setWindowTitle(QStringLiteral("栏目设置"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("显示"), QStringLiteral("标题"), QStringLiteral("宽度"),
                                        QStringLiteral("合计"), QStringLiteral("列名")});
    m_table->horizontalHeader()->setSectionResizeMode(Caption, QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    fill(columns);

    auto *up = new QPushButton(QStringLiteral("上移"));
    auto *down = new QPushButton(QStringLiteral("下移"));
    up->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    connect(up, &QPushButton::clicked, this, [this] { moveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveCurrent(1); });
    auto *side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addStretch();
    auto *body = new QHBoxLayout;
    body->addWidget(m_table);
    body->addLayout(side);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    resize(560, 480);
}

void ListColumnsDialog::fill(const QList<ListColumn> &columns)
{
    m_columns = columns;
    m_table->setRowCount(int(columns.size()));
    for (int row = 0; row < columns.size(); ++row) {
        const ListColumn &c = columns.at(row);
        m_table->setItem(row, Shown, checkItem(c.shown));
        m_table->setItem(row, Caption, new QTableWidgetItem(c.caption));
        auto *width = new QSpinBox;
        width->setRange(20, 800);
        width->setValue(c.width > 0 ? c.width : 100);
        m_table->setCellWidget(row, Width, width);
        m_table->setItem(row, Sum, checkItem(c.sum));
        auto *field = new QTableWidgetItem(c.field);
        field->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_table->setItem(row, Field, field);
    }
    if (!columns.isEmpty())
        m_table->setCurrentCell(0, Caption);
}

QList<ListColumn> ListColumnsDialog::columns() const
{
    QList<ListColumn> out;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        ListColumn c = m_columns.at(row);
        c.shown = m_table->item(row, Shown)->checkState() == Qt::Checked;
        c.caption = m_table->item(row, Caption)->text().trimmed();
        if (c.caption.isEmpty())
            c.caption = c.field;
        c.width = static_cast<QSpinBox *>(m_table->cellWidget(row, Width))->value();
        c.sum = m_table->item(row, Sum)->checkState() == Qt::Checked;
        c.order = row + 1;
        out << c;
    }
    return out;
}

void ListColumnsDialog::moveCurrent(int step)
{
    const int row = m_table->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= m_table->rowCount())
        return;
    QList<ListColumn> now = columns();
    now.move(row, to);
    fill(now);
    m_table->setCurrentCell(to, Caption);
}
