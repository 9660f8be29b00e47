// NativeStatement on SQLite: sqlite3_prepare_v3 once, then reset, bind and step.
#include "NativeStatement.h"

#include <sqlite3.h>

#include <vector>

namespace {

// How Qt's SQLite driver types a column by its declared type (compared without regard to ASCII
// letter case, and without a copy: a move reads every column's type on every run).
QMetaType::Type declaredType(const char *decl)
{
    const auto is = [decl](const char *name) { return qstricmp(decl, name) == 0; };
    if (is("integer") || is("int"))
        return QMetaType::Int;
    if (is("double") || is("float") || is("real") || qstrnicmp(decl, "numeric", 7) == 0)
        return QMetaType::Double;
    if (is("blob"))
        return QMetaType::QByteArray;
    if (is("boolean") || is("bool"))
        return QMetaType::Bool;
    return QMetaType::QString;
}

// How it types a column without a declared type (an expression): by the value of the first row.
QMetaType::Type storedType(int sqliteType)
{
    switch (sqliteType) {
    case SQLITE_INTEGER: return QMetaType::Int;
    case SQLITE_FLOAT: return QMetaType::Double;
    case SQLITE_BLOB: return QMetaType::QByteArray;
    case SQLITE_TEXT: return QMetaType::QString;
    default: return QMetaType::UnknownType;
    }
}

class SqliteStatement final : public NativeStatement
{
public:
    SqliteStatement(sqlite3 *db, sqlite3_stmt *stmt)
        : m_db(db)
        , m_stmt(stmt)
        , m_types(size_t(sqlite3_column_count(stmt)), QMetaType::UnknownType)
    {}
    ~SqliteStatement() override { sqlite3_finalize(m_stmt); }

    bool execute(const QVariantList &params, QString *error, QString *code) override
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        m_rc = SQLITE_OK;
        m_typed = false;
        for (int i = 0; i < int(params.size()); ++i) {
            if (bind(i + 1, params[i]) != SQLITE_OK) {
                m_rc = sqlite3_errcode(m_db);
                return failed(error, code);
            }
        }
        return true;
    }

    bool next() override
    {
        m_rc = sqlite3_step(m_stmt);
        if (!m_typed) {
            m_typed = true;
            for (int c = 0; c < int(m_types.size()); ++c) {
                const char *decl = sqlite3_column_decltype(m_stmt, c);
                m_types[size_t(c)] = decl && *decl ? declaredType(decl)
                                     : m_rc == SQLITE_ROW ? storedType(sqlite3_column_type(m_stmt, c))
                                                          : QMetaType::UnknownType;
            }
        }
        return m_rc == SQLITE_ROW;
    }

    bool failed(QString *error, QString *code) const override
    {
        if (m_rc == SQLITE_OK || m_rc == SQLITE_ROW || m_rc == SQLITE_DONE)
            return false;
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(m_db));
        if (code)
            *code = QString::number(sqlite3_extended_errcode(m_db));
        return true;
    }

    void finish() override
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

    int columnCount() const override { return int(m_types.size()); }
    QString columnName(int column) const override
    {
        return QString::fromUtf8(sqlite3_column_name(m_stmt, column)).remove(QLatin1Char('"'));
    }
    const char *columnNameUtf8(int column) const override { return sqlite3_column_name(m_stmt, column); }
    QMetaType::Type columnType(int column) const override { return m_types[size_t(column)]; }

    NativeCell cell(int column) const override
    {
        NativeCell cell;
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_INTEGER:
            cell.kind = NativeCell::Integer;
            cell.integer = sqlite3_column_int64(m_stmt, column);
            break;
        case SQLITE_FLOAT:
            cell.kind = NativeCell::Real;
            cell.real = sqlite3_column_double(m_stmt, column);
            break;
        case SQLITE_BLOB:
            cell.kind = NativeCell::Bytes;
            cell.data = static_cast<const char *>(sqlite3_column_blob(m_stmt, column));
            cell.size = sqlite3_column_bytes(m_stmt, column);
            break;
        case SQLITE_TEXT:
            cell.kind = NativeCell::Text;
            cell.data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
            cell.size = sqlite3_column_bytes(m_stmt, column);
            break;
        default:
            break;
        }
        return cell;
    }

private:
    int bind(int index, const QVariant &v)
    {
        switch (bindingOf(v)) {
        case Binding::Null:
            return sqlite3_bind_null(m_stmt, index);
        case Binding::Integer:
            return sqlite3_bind_int64(m_stmt, index, v.toLongLong());
        case Binding::Real:
            return sqlite3_bind_double(m_stmt, index, v.toDouble());
        default: {
            const QByteArray text = v.toString().toUtf8();
            return sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        }
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt;
    std::vector<QMetaType::Type> m_types;
    bool m_typed = false;
    int m_rc = SQLITE_OK;
};

} // namespace

std::unique_ptr<NativeStatement> NativeStatement::prepare(sqlite3 *db, const QString &sql, QString *error, QString *code)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK
        || !stmt) {
        sqlite3_finalize(stmt);
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(db));
        if (code)
            *code = QString::number(sqlite3_extended_errcode(db));
        return nullptr;
    }
    return std::make_unique<SqliteStatement>(db, stmt);
}

NativeStatement::Binding NativeStatement::bindingOf(const QVariant &value)
{
    if (value.isNull())
        return Binding::Null;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
        return Binding::Integer;
    case QMetaType::Double:
        return Binding::Real;
    case QMetaType::QString:
        return Binding::Text;
    default:
        return Binding::Unbindable;
    }
}

bool NativeStatement::canBind(const QVariantList &params)
{
    for (const QVariant &v : params) {
        if (bindingOf(v) == Binding::Unbindable)
            return false;
    }
    return true;
}
