// NativeStatement on PostgreSQL: PQprepare once under a name of our own, then PQexecPrepared with
// the values as text; DEALLOCATE when the statement is dropped. Or, planned at every run, the
// unnamed statement with PQexecParams.
#include "NativeStatement.h"

#include <libpq-fe.h>

#include <QAtomicInt>

#include <charconv>
#include <cstring>
#include <vector>

namespace {

// Type identifiers of the built-in types (pg_type.oid), fixed since they were introduced.
enum : Oid {
    BoolOid = 16, ByteaOid = 17, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, RegprocOid = 24, OidOid = 26,
    XidOid = 28, CidOid = 29, Float4Oid = 700, Float8Oid = 701, DateOid = 1082, TimeOid = 1083,
    TimestampOid = 1114, TimestampTzOid = 1184, TimeTzOid = 1266, NumericOid = 1700
};

// How Qt's PostgreSQL driver types a column.
QMetaType::Type qtType(Oid type)
{
    switch (type) {
    case BoolOid: return QMetaType::Bool;
    case Int8Oid: return QMetaType::LongLong;
    case Int2Oid:
    case Int4Oid:
    case OidOid:
    case RegprocOid:
    case XidOid:
    case CidOid: return QMetaType::Int;
    case NumericOid:
    case Float4Oid:
    case Float8Oid: return QMetaType::Double;
    case DateOid: return QMetaType::QDate;
    case TimeOid:
    case TimeTzOid: return QMetaType::QTime;
    case TimestampOid:
    case TimestampTzOid: return QMetaType::QDateTime;
    case ByteaOid: return QMetaType::QByteArray;
    default: return QMetaType::QString;
    }
}

// "?" placeholders as "$1", "$2"...: those inside quoted text, quoted names and comments are left.
QByteArray numberedPlaceholders(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype end = sql.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? sql.size() : end + 1;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
            const qsizetype end = sql.indexOf(u'\n', i);
            const qsizetype stop = end < 0 ? sql.size() : end;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'/' && i + 1 < sql.size() && sql[i + 1] == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? sql.size() : end + 2;
            out += QStringView(sql).mid(i, stop - i);
            i = stop - 1;
        } else if (c == u'?') {
            out += u'$' + QString::number(++n);
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

QString sqlState(const PGresult *result, PGconn *pg)
{
    // A connection that went away answers without a state of its own.
    if (PQstatus(pg) != CONNECTION_OK)
        return QStringLiteral("08006");
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return QString::fromLatin1(state ? state : "");
}

QString message(const PGresult *result, PGconn *pg)
{
    QString text = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(pg)).trimmed();
    return text.isEmpty() ? QString::fromUtf8(PQerrorMessage(pg)).trimmed() : text;
}

class PostgresStatement final : public NativeStatement
{
public:
    // Prepared under `name`; with no name, `sql` goes with its values at every run (the unnamed
    // statement, planned for those values and kept nowhere).
    PostgresStatement(PGconn *pg, QByteArray name, QByteArray sql = {})
        : m_pg(pg)
        , m_name(std::move(name))
        , m_sql(std::move(sql))
    {}
    ~PostgresStatement() override
    {
        finish();
        // Nothing to free on a connection that is gone; the session ended with it.
        if (m_name.isEmpty() || PQstatus(m_pg) != CONNECTION_OK)
            return;
        settle(m_pg);
        PQclear(PQexec(m_pg, ("DEALLOCATE \"" + m_name + '"').constData()));
    }

    bool execute(const QVariantList &params, QString *error, QString *code) override
    {
        finish();
        std::vector<QByteArray> texts(size_t(params.size()));
        std::vector<const char *> values(size_t(params.size()), nullptr);
        for (size_t i = 0; i < texts.size(); ++i) {
            const QVariant &v = params[qsizetype(i)];
            if (bindingOf(v) == Binding::Null)
                continue;
            if (bindingOf(v) == Binding::Real) {
                char buffer[32];
                const auto end = std::to_chars(buffer, buffer + sizeof buffer, v.toDouble()).ptr;
                texts[i] = QByteArray(buffer, int(end - buffer));
            } else {
                texts[i] = v.toString().toUtf8();
            }
            values[i] = texts[i].constData();
        }
        m_result = m_name.isEmpty() ? PQexecParams(m_pg, m_sql.constData(), int(values.size()), nullptr, values.data(),
                                                   nullptr, nullptr, 0)
                                    : PQexecPrepared(m_pg, m_name.constData(), int(values.size()), values.data(),
                                                     nullptr, nullptr, 0);
        if (PQresultStatus(m_result) != PGRES_TUPLES_OK && PQresultStatus(m_result) != PGRES_COMMAND_OK) {
            if (error)
                *error = message(m_result, m_pg);
            if (code)
                *code = sqlState(m_result, m_pg);
            finish();
            return false;
        }
        m_rows = PQntuples(m_result);
        m_row = -1;
        return true;
    }

    bool next() override { return m_result && ++m_row < m_rows; }
    bool failed(QString *, QString *) const override { return false; } // the whole result came at once
    void finish() override
    {
        PQclear(m_result);
        m_result = nullptr;
        m_rows = 0;
        m_row = -1;
    }

    int columnCount() const override { return m_result ? PQnfields(m_result) : 0; }
    QString columnName(int column) const override { return QString::fromUtf8(PQfname(m_result, column)); }
    const char *columnNameUtf8(int column) const override { return PQfname(m_result, column); }
    QMetaType::Type columnType(int column) const override { return qtType(PQftype(m_result, column)); }

    NativeCell cell(int column) const override
    {
        NativeCell cell;
        if (PQgetisnull(m_result, m_row, column))
            return cell;
        const char *text = PQgetvalue(m_result, m_row, column);
        const int size = PQgetlength(m_result, m_row, column);
        cell.data = text;
        cell.size = size;
        switch (PQftype(m_result, column)) {
        case BoolOid:
            cell.kind = NativeCell::Bool;
            cell.integer = text[0] == 't' ? 1 : 0;
            break;
        case Int8Oid:
        case Int2Oid:
        case Int4Oid:
        case OidOid:
        case RegprocOid:
        case XidOid:
        case CidOid:
            cell.kind = NativeCell::Integer;
            std::from_chars(text, text + size, cell.integer);
            break;
        case NumericOid:
        case Float4Oid:
        case Float8Oid:
            cell.kind = NativeCell::Real;
            std::from_chars(text, text + size, cell.real);
            break;
        case DateOid: cell.kind = NativeCell::Date; break;
        case TimeOid:
        case TimeTzOid: cell.kind = NativeCell::Time; break;
        case TimestampOid:
        case TimestampTzOid: cell.kind = NativeCell::DateTime; break;
        case ByteaOid:
            if (size >= 2 && text[0] == '\\' && text[1] == 'x') {
                cell.kind = NativeCell::HexBytes;
                cell.data = text + 2;
                cell.size = size - 2;
            } else { // the escape form, which Qt's driver asks the session for
                size_t length = 0;
                unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &length);
                m_bytes = QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length));
                PQfreemem(bytes);
                cell.kind = NativeCell::Bytes;
                cell.data = m_bytes.constData();
                cell.size = int(m_bytes.size());
            }
            break;
        default: cell.kind = NativeCell::Text; break;
        }
        return cell;
    }

private:
    PGconn *m_pg;
    QByteArray m_name;
    QByteArray m_sql;
    PGresult *m_result = nullptr;
    mutable QByteArray m_bytes; // the cell last unescaped
    int m_rows = 0;
    int m_row = -1;
};

} // namespace

void NativeStatement::settle(pg_conn *pg)
{
    if (PQstatus(pg) != CONNECTION_OK)
        return;
    while (PQtransactionStatus(pg) == PQTRANS_ACTIVE) {
        PGresult *pending = PQgetResult(pg);
        if (!pending)
            break;
        PQclear(pending);
    }
}

std::unique_ptr<NativeStatement> NativeStatement::prepare(pg_conn *pg, const QString &sql, QString *error, QString *code)
{
    static QAtomicInt counter;
    const QByteArray name = "orvane_native_" + QByteArray::number(counter.fetchAndAddRelaxed(1));
    PGresult *result = PQprepare(pg, name.constData(), numberedPlaceholders(sql).constData(), 0, nullptr);
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok) {
        if (error)
            *error = message(result, pg);
        if (code)
            *code = sqlState(result, pg);
    }
    PQclear(result);
    if (!ok)
        return nullptr;
    return std::make_unique<PostgresStatement>(pg, name);
}

std::unique_ptr<NativeStatement> NativeStatement::planEachRun(pg_conn *pg, const QString &sql)
{
    return std::make_unique<PostgresStatement>(pg, QByteArray(), numberedPlaceholders(sql));
}

namespace {

// One value in COPY's text format: "\\N" for a missing value; a backslash, tab, line feed or
// carriage return in text is escaped, as the format reads them as the column and row separators.
void appendCopyValue(QByteArray &out, const QVariant &value)
{
    switch (NativeStatement::bindingOf(value)) {
    case NativeStatement::Binding::Null:
        out += "\\N";
        return;
    case NativeStatement::Binding::Real: {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble()).ptr;
        out.append(buffer, qsizetype(end - buffer));
        return;
    }
    case NativeStatement::Binding::Integer:
        out += QByteArray::number(value.toLongLong());
        return;
    default:
        break;
    }
    const QByteArray text = value.toString().toUtf8();
    out.reserve(out.size() + text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
}

} // namespace

bool NativeStatement::copyIn(pg_conn *pg, const QString &table, const QStringList &columns, const QVariantList &values,
                             QString *error, QString *code)
{
    const qsizetype width = columns.size();
    QByteArray data;
    data.reserve(values.size() * 12);
    for (qsizetype i = 0; i < values.size(); ++i) {
        appendCopyValue(data, values[i]);
        data += (i + 1) % width == 0 ? '\n' : '\t';
    }
    settle(pg);
    const QByteArray command = "COPY " + table.toUtf8() + " (" + columns.join(u',').toUtf8() + ") FROM STDIN";
    PGresult *started = PQexec(pg, command.constData());
    bool ok = PQresultStatus(started) == PGRES_COPY_IN;
    if (!ok) {
        *error = message(started, pg);
        *code = sqlState(started, pg);
    }
    PQclear(started);
    if (!ok)
        return false;
    // A failed send ends the copy with a message, so the server refuses it as a whole.
    const bool sent = PQputCopyData(pg, data.constData(), int(data.size())) == 1;
    PQputCopyEnd(pg, sent ? nullptr : "the rows could not be sent");
    while (PGresult *result = PQgetResult(pg)) {
        if (ok && PQresultStatus(result) != PGRES_COMMAND_OK) {
            ok = false;
            *error = message(result, pg);
            *code = sqlState(result, pg);
        }
        PQclear(result);
    }
    if (ok && !sent) {
        ok = false;
        *error = message(nullptr, pg);
        *code = sqlState(nullptr, pg);
    }
    return ok;
}
