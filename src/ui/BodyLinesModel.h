#pragma once

#include "host/CardTemplate.h"

#include "platform/VoucherDocument.h"

#include <QAbstractTableModel>
#include <QSet>

#include <functional>

// The voucher's body lines as the grid shows them: one row a line of the body document that is not
// marked deleted, one column a body item the display template shows. The model holds the document
// rows themselves (writing a cell writes the line) and the greyed cells; whether a cell may be
// edited is asked of the card (`EditableRule`) when the view asks for its flags, so a change of the
// edit state or of an item's flag is one signal, not a walk over the cells.
//
// A cell the user edits goes through `EntryCheck` first: it may change the value or refuse it
// (false), and only an accepted value is written. Rows count from 0 here.
class BodyLinesModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Whether the card lets the user change `field` at all (edit state and the item's flag).
    using EditableRule = std::function<bool(const QString &field)>;
    // A finished entry of `field` in line `row`; false refuses it.
    using EntryCheck = std::function<bool(int row, const QString &field, QString &value)>;

    explicit BodyLinesModel(QObject *parent = nullptr);

    void setEditableRule(EditableRule rule) { m_editable = std::move(rule); }
    void setEntryCheck(EntryCheck check) { m_check = std::move(check); }

    // The shown items of a template, in order; the lines stay.
    void setColumns(const QList<CardItem> &items);
    // The decimals a number column is shown with; the lines stay as they are.
    void setDecimals(const QString &field, int decimals);
    // The live lines of `body`, in document order.
    void setLines(const VoucherDocument &body);
    const QList<VoucherRow> &lines() const { return m_lines; }
    // Appends a line already added to the document; removes line `row` from the grid.
    void appendLine(const VoucherRow &line);
    void removeLine(int row);

    const CardItem &item(int column) const { return m_columns[column]; }
    QString field(int column) const;
    int columnOf(const QString &field) const;

    // Writes a value without any check (the card writing, not the user typing).
    void setText(int row, const QString &field, const QString &text);

    void mark(const QString &field, int row, bool marked);
    bool isMarked(const QString &field, int row) const { return m_marked.contains({field, row}); }
    void clearMarks();
    // The card's edit state or an item's flag changed: every cell's flags may differ.
    void editabilityChanged();
    bool isEditable(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    QList<CardItem> m_columns;
    QList<VoucherRow> m_lines;
    QSet<QPair<QString, int>> m_marked; // greyed cells: field and row
    EditableRule m_editable;
    EntryCheck m_check;
};
