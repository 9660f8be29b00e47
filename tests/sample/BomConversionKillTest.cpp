#include "BomStructureData.h"

#include "platform/Connection.h"
#include "sample/BomConversion.h"

#include <QSqlDriver>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

// A conversion whose connection dies half-way - after the child's structure was written, while
// the parent's is - leaves nothing behind: the child's rows were in the same transaction. On
// PostgreSQL the server ends the connection from a trigger; on SQLite the process that converts is
// killed from one.
class BomConversionKillTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        data.sample(1, QStringLiteral("YP1"), QStringLiteral("TOP"));
        data.sample(2, QString(), QStringLiteral("CHILD"), QStringLiteral("V1"));
        data.line(1, 11, {.component = QStringLiteral("CHILD"), .child = 2, .version = QStringLiteral("V1")});
        data.line(2, 21, {.component = QStringLiteral("LEAF")});
    }

    // Converts sample 1 on an open connection of its own inside a writer transaction, as the card does.
    static qint16 convert(Connection &worker)
    {
        if (!worker.BeginWriteTrans(QStringLiteral("managesample")))
            return 100;
        QString message;
        return BomConversion(worker).ConvertSampleToBom(1, message);
    }

    TestDatabase db{GetParam()};
    BomStructureData data{db};
};

namespace {

void dieNow(sqlite3_context *, int, sqlite3_value **)
{
    _exit(0);
}

} // namespace

TEST_P(BomConversionKillTest, a_connection_killed_half_way_leaves_nothing_written)
{
    if (GetParam() == Backend::Postgres) {
        db.exec(
            QStringLiteral("CREATE FUNCTION die_on_top() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                           "BEGIN\n"
                           "    IF NEW.cPSPCode = 'TOP' THEN PERFORM pg_terminate_backend(pg_backend_pid()); END IF;\n"
                           "    RETURN NEW;\n"
                           "END\n"
                           "$$"));
        db.exec(QStringLiteral("CREATE TRIGGER die_on_top BEFORE INSERT ON ProductStructure FOR EACH ROW "
                               "EXECUTE FUNCTION die_on_top()"));
        Connection worker;
        ASSERT_TRUE(worker.Open(db.connectionString()));
        EXPECT_EQ(convert(worker), 7);
        EXPECT_TRUE(worker.isLost());
    } else {
        db.exec(QStringLiteral("CREATE TRIGGER die_on_top BEFORE INSERT ON ProductStructure "
                               "WHEN NEW.cPSPCode = 'TOP' BEGIN SELECT orvane_die(); END"));
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            Connection worker;
            if (!worker.Open(db.connectionString()))
                _exit(2);
            sqlite3 *handle = *static_cast<sqlite3 *const *>(worker.database().driver()->handle().constData());
            sqlite3_create_function(handle, "orvane_die", 0, SQLITE_UTF8, nullptr, dieNow, nullptr, nullptr);
            convert(worker);
            _exit(3); // the trigger never fired
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the converting process was not killed half-way";
    }
    Connection reader;
    ASSERT_TRUE(reader.Open(db.connectionString()));
    EXPECT_EQ(reader.Scalar(QStringLiteral("SELECT COUNT(*) FROM ProductStructure"))->toInt(), 0);
    EXPECT_EQ(reader.Scalar(QStringLiteral("SELECT COUNT(*) FROM ProductStructures"))->toInt(), 0);
    EXPECT_EQ(reader.Scalar(QStringLiteral("SELECT COUNT(*) FROM ManageSample WHERE iBOMAutoId IS NOT NULL"))->toInt(),
              0);
}

INSTANTIATE_TEST_SUITE_P(Db, BomConversionKillTest, ORVANE_BOTH_BACKENDS);
