#pragma once

#include "list/FilterService.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// The list's filter ("过滤"): one line per condition the filter offers, each with its operator and
// value (and a second value for "介于"), filled with the user's last filter. 确定 gives the values
// of the lines with a value; 清空 empties every line.
class ListFilterDialog : public QDialog
{
    Q_OBJECT

public:
    ListFilterDialog(const QList<FilterItem> &items, const QList<FilterValue> &current, QWidget *parent = nullptr);

    QList<FilterValue> values() const;

    // The editors of a line, for tests.
    QComboBox *operatorBox(int line) const { return m_lines.at(line).op; }
    QLineEdit *valueEdit(int line) const { return m_lines.at(line).value; }
    QLineEdit *secondValueEdit(int line) const { return m_lines.at(line).value2; }

private:
    struct Line
    {
        FilterItem item;
        QComboBox *op;
        QLineEdit *value;
        QLineEdit *value2;
    };
    void clear();

    QList<Line> m_lines;
};
