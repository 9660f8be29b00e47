#include "Schema.h"

#include "SchemaSeed.h"

// Turns the schema description into DDL for one backend.
//
// Row version "qvts": one counter for the whole database, so that two versions of any row never
// compare equal. PostgreSQL draws it from the sequence qvts_seq: the column default on insert and a
// BEFORE UPDATE trigger on every update, whatever the statement sets. SQLite keeps it in the one-row
// table qvts_counter, bumped by AFTER INSERT and AFTER UPDATE triggers that write the new value into
// the row. The SQLite update trigger fires only for statements naming a column other than qvts, so
// its own write of qvts never fires it again, even with recursive triggers switched on.

namespace {

const QString kRowVersion = QStringLiteral("qvts");

QString typeName(const ColumnDef &c, const Dialect &d)
{
    switch (c.type) {
    case ColumnType::Integer:
        return d.integerType();
    case ColumnType::BigInt:
        return d.bigintType();
    case ColumnType::SmallInt:
        return d.smallintType();
    case ColumnType::Real:
        return d.realType();
    case ColumnType::Text:
        return d.textType(c.length);
    case ColumnType::Date:
        return d.dateType();
    case ColumnType::DateTime:
        return d.dateTimeType();
    case ColumnType::Blob:
        return d.blobType();
    }
    return d.textType();
}

// The table's columns, with the row-version column added at the end when the table carries one and
// does not list it.
QList<ColumnDef> columnsOf(const TableDef &t)
{
    QList<ColumnDef> columns = t.columns;
    if (!t.rowVersion)
        return columns;
    for (const ColumnDef &c : columns) {
        if (c.name.compare(kRowVersion, Qt::CaseInsensitive) == 0)
            return columns;
    }
    ColumnDef v;
    v.name = kRowVersion;
    v.type = ColumnType::BigInt;
    columns << v;
    return columns;
}

bool isRowVersion(const TableDef &t, const ColumnDef &c)
{
    return t.rowVersion && c.name.compare(kRowVersion, Qt::CaseInsensitive) == 0;
}

QString columnClause(const TableDef &t, const ColumnDef &c, const Dialect &d)
{
    if (c.identity)
        return c.name + QLatin1Char(' ') + d.identityColumnType();
    if (isRowVersion(t, c)) {
        // SQLite fills it in the insert trigger; until then the row holds 0.
        return c.name + QLatin1Char(' ') + d.bigintType()
               + (d.isPostgres() ? QStringLiteral(" NOT NULL DEFAULT nextval('qvts_seq')")
                                 : QStringLiteral(" NOT NULL DEFAULT 0"));
    }
    QString clause = c.name + QLatin1Char(' ') + typeName(c, d);
    if (c.notNull)
        clause += QStringLiteral(" NOT NULL");
    if (!c.defaultValue.isEmpty())
        clause += QStringLiteral(" DEFAULT ") + c.defaultValue;
    return clause;
}

bool hasIdentity(const QList<ColumnDef> &columns)
{
    for (const ColumnDef &c : columns) {
        if (c.identity)
            return true;
    }
    return false;
}

QString createTable(const TableDef &t, const Dialect &d)
{
    const QList<ColumnDef> columns = columnsOf(t);
    QStringList parts;
    for (const ColumnDef &c : columns)
        parts << columnClause(t, c, d);
    // An identity column carries the primary key in its own clause.
    if (!t.primaryKey.isEmpty() && !hasIdentity(columns))
        parts << QStringLiteral("PRIMARY KEY (") + t.primaryKey.join(QStringLiteral(", ")) + QLatin1Char(')');
    return QStringLiteral("CREATE TABLE ") + t.name + QStringLiteral(" (") + parts.join(QStringLiteral(", "))
           + QLatin1Char(')');
}

// The index's columns as the backend builds them.
QString indexKey(const IndexDef &i, const Dialect &d)
{
    QStringList parts;
    for (const QString &column : i.columns) {
        if (i.caseFolded)
            parts << d.foldedText(column);
        else if (i.byCodePoint.contains(column, Qt::CaseInsensitive))
            parts << d.byCodePoint(column);
        else
            parts << column;
    }
    return parts.join(QStringLiteral(", "));
}

QStringList createIndexes(const TableDef &t, const Dialect &d)
{
    QStringList out;
    QStringList keys{t.primaryKey.join(QStringLiteral(", ")).toLower()};
    for (const IndexDef &i : t.indexes) {
        const QString key = indexKey(i, d);
        // A search index that the backend would build like one it has already is not made twice.
        if (!i.byCodePoint.isEmpty() && i.where.isEmpty() && keys.contains(key.toLower()))
            continue;
        keys << key.toLower();
        QString name = i.name;
        if (name.isEmpty())
            name = QStringLiteral("ix_") + t.name + QLatin1Char('_') + i.columns.join(QLatin1Char('_'));
        QString sql = QStringLiteral("CREATE ") + (i.unique ? QStringLiteral("UNIQUE ") : QString())
                      + QStringLiteral("INDEX ") + name.toLower() + QStringLiteral(" ON ") + t.name
                      + QStringLiteral(" (") + key + QLatin1Char(')');
        if (!i.where.isEmpty())
            sql += QStringLiteral(" WHERE ") + i.where;
        out << sql;
    }
    return out;
}

// Objects shared by every table with a row version; created before the tables.
QStringList rowVersionCounter(const Dialect &d)
{
    if (d.isPostgres()) {
        // The trigger names the sequence of its own table's schema, so a connection whose search
        // path points elsewhere still bumps the right counter.
        return {QStringLiteral("CREATE SEQUENCE qvts_seq"),
                QStringLiteral("CREATE FUNCTION qvts_bump() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                               "BEGIN\n"
                               "    NEW.qvts := nextval((quote_ident(TG_TABLE_SCHEMA) || '.qvts_seq')::regclass);\n"
                               "    RETURN NEW;\n"
                               "END\n"
                               "$$")};
    }
    return {QStringLiteral("CREATE TABLE qvts_counter (id INTEGER PRIMARY KEY, value INTEGER NOT NULL)"),
            QStringLiteral("INSERT INTO qvts_counter (id, value) VALUES (1, 0)")};
}

QStringList rowVersionTriggers(const TableDef &t, const Dialect &d)
{
    const QString base = t.name.toLower() + QStringLiteral("_qvts");
    if (d.isPostgres()) {
        return {QStringLiteral("CREATE TRIGGER ") + base + QStringLiteral(" BEFORE UPDATE ON ") + t.name
                + QStringLiteral(" FOR EACH ROW EXECUTE FUNCTION qvts_bump()")};
    }
    const QString body
        = QStringLiteral(" BEGIN"
                         " UPDATE qvts_counter SET value = value + 1 WHERE id = 1;"
                         " UPDATE %1 SET qvts = (SELECT value FROM qvts_counter WHERE id = 1) WHERE rowid = NEW.rowid;"
                         " END")
              .arg(t.name);
    return {QStringLiteral("CREATE TRIGGER ") + base + QStringLiteral("_insert AFTER INSERT ON ") + t.name + body,
            // Any update bumps the version, also of columns added later; the trigger's own write of
            // qvts is the one update that leaves it alone.
            QStringLiteral("CREATE TRIGGER ") + base + QStringLiteral("_update AFTER UPDATE ON ") + t.name
                + QStringLiteral(" FOR EACH ROW WHEN NEW.qvts IS OLD.qvts") + body};
}

QList<TableDef> allTables()
{
    return systemTables() + masterDataTables() + sampleTables() + hostTables();
}

} // namespace

QStringList Schema::ddl(const Dialect &dialect)
{
    const QList<TableDef> tables = allTables();
    QStringList out;
    bool anyRowVersion = false;
    for (const TableDef &t : tables)
        anyRowVersion = anyRowVersion || t.rowVersion;
    if (anyRowVersion)
        out << rowVersionCounter(dialect);
    for (const TableDef &t : tables)
        out << createTable(t, dialect);
    for (const TableDef &t : tables)
        out << createIndexes(t, dialect);
    for (const TableDef &t : tables) {
        if (t.rowVersion)
            out << rowVersionTriggers(t, dialect);
    }
    for (const ViewDef &v : schemaViews())
        out << QStringLiteral("CREATE VIEW ") + v.name + QStringLiteral(" AS ") + v.select;
    return out;
}

Result<void> Schema::create(Connection &cnn)
{
    if (!cnn.isOpen())
        return fail(QStringLiteral("数据库连接已关闭"));
    if (exists(cnn))
        return fail(QStringLiteral("数据库中已经建有样品接单管理的表，不能重复建立"));

    // Join a transaction the caller holds; otherwise run in our own.
    const bool own = !cnn.inTransaction();
    if (own) {
        auto begun = cnn.BeginTrans();
        if (!begun)
            return begun;
    }
    auto rollback = [&](const QString &why) -> Result<void> {
        if (own)
            cnn.RollbackTrans();
        return fail(QStringLiteral("建立数据库失败：") + why);
    };
    for (const QString &statement : ddl(cnn.dialect())) {
        // One statement at a time with an empty parameter list: trigger and function bodies hold
        // semicolons of their own.
        auto done = cnn.Execute(statement, QVariantList());
        if (!done)
            return rollback(done.error() + QStringLiteral("\n") + statement.left(200));
    }
    auto seeded = SchemaSeed::insert(cnn);
    if (!seeded)
        return rollback(seeded.error());
    if (own) {
        auto committed = cnn.CommitTrans();
        if (!committed)
            return fail(QStringLiteral("建立数据库失败：") + committed.error());
    }
    return {};
}

bool Schema::exists(Connection &cnn)
{
    if (!cnn.isOpen())
        return false;
    for (const QString &name : {QStringLiteral("vouchers"), QStringLiteral("managesample")}) {
        auto n = cnn.Scalar(cnn.dialect().objectExistsQuery(), {name});
        if (!n || n->toLongLong() == 0)
            return false;
    }
    return true;
}
