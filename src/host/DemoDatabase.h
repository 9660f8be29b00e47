#pragma once

#include "platform/Result.h"

#include <QString>

// The embedded demo database: a SQLite file in the user's data folder, made on first use with the
// schema, a small company's data and the demo users. It is built under a temporary name and moved
// into place only when complete, so an interrupted first run leaves nothing half-made.
class DemoDatabase
{
public:
    static constexpr const char *UserId = "demo";
    static constexpr const char *Password = "demo";
    static constexpr const char *AdminId = "admin";
    static constexpr const char *AdminPassword = "admin";

    // The file's default place: <data folder>/orvane-samples.db.
    static QString defaultPath();
    // Creates the database at path unless it exists; returns its connection string.
    static Result<QString> ensure(const QString &path = defaultPath());
    // Fills an open, empty database (SQLite file or PostgreSQL schema) with the schema, the demo
    // company's data and the demo users.
    static Result<void> install(class Connection &cnn);
    // Adds the demo users and their rights to an open database that already has the schema.
    static Result<void> addUsers(class Connection &cnn);
};
