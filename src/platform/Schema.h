#pragma once

#include "Connection.h"
#include "Result.h"
#include "SchemaDefinition.h"

// Creates the system's database objects from the schema description.
class Schema
{
public:
    // Every table, index, row-version trigger and view, plus the rows the system cannot run without
    // (the voucher registration of card "1801", accounting options). Runs in one transaction; on an
    // error nothing is left behind (PostgreSQL) or the caller discards the file (SQLite).
    static Result<void> create(Connection &cnn);

    // The DDL statements that create() runs, in order.
    static QStringList ddl(const Dialect &dialect);

    // Whether the database already holds the system's tables.
    static bool exists(Connection &cnn);
};
