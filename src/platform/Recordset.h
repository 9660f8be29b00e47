#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <vector>

class QSqlQuery;

// One column of a recordset: its name as the database returned it and its value type.
struct RecordsetField
{
    QString name;
    QMetaType::Type type = QMetaType::QString;
};

// A client-side, static recordset: every row of a query read into memory, with a current-row cursor
// (BOF/EOF and moves as ADO has them). Fields are found by name without regard to letter case or
// surrounding blanks. BOF/EOF are isBOF()/isEOF() (EOF is a C macro). A NULL value is a null QVariant; a name that is not a field gives an invalid one.
class Recordset
{
public:
    Recordset() = default;

    // Reads every row of an executed query.
    static Recordset fromQuery(QSqlQuery &query);

    int RecordCount() const { return int(m_rows.size()); }
    bool isBOF() const { return m_rows.empty() || m_pos < 0; }
    bool isEOF() const { return m_rows.empty() || m_pos >= RecordCount(); }
    bool isEmpty() const { return m_rows.empty(); }

    void MoveFirst() { m_pos = 0; }
    void MoveLast() { m_pos = RecordCount() - 1; }
    void MoveNext();
    void MovePrevious();
    int AbsolutePosition() const { return m_pos; } // 0-based
    void setAbsolutePosition(int row) { m_pos = row; }

    int fieldCount() const { return int(m_fields.size()); }
    const QList<RecordsetField> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // -1 when there is no such field

    // Values of the current row.
    QVariant value(const QString &name) const;
    QVariant value(int column) const;
    bool isNull(const QString &name) const { return value(name).isNull(); }
    QString text(const QString &name) const { return value(name).toString(); }

    // Values of any row, for writers that walk the whole set.
    QVariant value(int row, int column) const { return m_rows[row][column]; }
    const QVariantList &row(int row) const { return m_rows[row]; }

    // Builds a recordset by hand (used by documents and tests).
    void setFields(QList<RecordsetField> fields) { m_fields = std::move(fields); }
    void appendRow(QVariantList values);

private:
    QList<RecordsetField> m_fields;
    std::vector<QVariantList> m_rows;
    int m_pos = 0;
};
