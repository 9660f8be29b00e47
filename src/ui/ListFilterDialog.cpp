#include "ListFilterDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ListFilterDialog::ListFilterDialog(const QList<FilterItem> &items, const QList<FilterValue> &current, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("过滤条件"));
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("项目")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("比较")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("值")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("到")), 0, 3);
    QHash<QString, QString> captions;
    for (const auto &op : FilterService::operators())
        captions.insert(op.first, op.second);
    for (const FilterItem &item : items) {
        Line line{item, new QComboBox, new QLineEdit, new QLineEdit};
        for (const QString &op : FilterService::operatorsFor(item.dataType))
            line.op->addItem(captions.value(op), op);
        if (item.range)
            line.op->setCurrentIndex(line.op->findData(QStringLiteral("between")));
        if (item.dataType == QLatin1String("date")) {
            line.value->setPlaceholderText(QStringLiteral("2026-12-01"));
            line.value2->setPlaceholderText(QStringLiteral("2026-12-31"));
        }
        for (const FilterValue &v : current) {
            if (v.field.compare(item.field, Qt::CaseInsensitive) == 0) {
                const int at = line.op->findData(v.op);
                if (at >= 0)
                    line.op->setCurrentIndex(at);
                line.value->setText(v.value);
                line.value2->setText(v.value2);
            }
        }
        auto *value2 = line.value2;
        auto *op = line.op;
        auto between = [value2, op] {
            value2->setEnabled(op->currentData().toString() == QLatin1String("between"));
        };
        connect(line.op, &QComboBox::currentIndexChanged, this, between);
        between();
        const int row = int(m_lines.size()) + 1;
        auto *label = new QLabel(item.caption);
        label->setBuddy(line.value);
        grid->addWidget(label, row, 0);
        grid->addWidget(line.op, row, 1);
        grid->addWidget(line.value, row, 2);
        grid->addWidget(line.value2, row, 3);
        m_lines << line;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto *clearButton = buttons->addButton(QStringLiteral("清空"), QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(clearButton, &QPushButton::clicked, this, &ListFilterDialog::clear);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    if (!m_lines.isEmpty())
        m_lines.first().value->setFocus();
}

QList<FilterValue> ListFilterDialog::values() const
{
    QList<FilterValue> out;
    for (const Line &line : m_lines) {
        const QString op = line.op->currentData().toString();
        const QString value2 = op == QLatin1String("between") ? line.value2->text() : QString();
        if (!line.value->text().trimmed().isEmpty() || !value2.trimmed().isEmpty())
            out << FilterValue{line.item.field, op, line.value->text(), value2};
    }
    return out;
}

void ListFilterDialog::clear()
{
    for (const Line &line : m_lines) {
        line.value->clear();
        line.value2->clear();
    }
}
