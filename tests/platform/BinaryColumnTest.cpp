#include "support/TestDatabase.h"

#include "platform/BinaryColumn.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

class BinaryColumnIo : public testing::TestWithParam<Backend>
{
protected:
    TestDatabase db{GetParam()};
    QTemporaryDir dir;

    BinaryColumn column() { return BinaryColumn(db.cnn(), "OR_VN_fileTable", "fileStream", "fAutoID"); }

    qint64 newRow()
    {
        auto id = db.cnn().Scalar(
            "INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType) VALUES (1, 'x', 2) RETURNING fAutoID");
        EXPECT_TRUE(id) << id.error().toStdString();
        return id ? id->toLongLong() : -1;
    }

    QString fileWith(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::number(bytes.size()) + ".bin");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    static QByteArray randomBytes(qint64 n)
    {
        QByteArray out(n, Qt::Uninitialized);
        QRandomGenerator gen{quint32(n)};
        for (qint64 i = 0; i < n; ++i)
            out[i] = char(gen.generate() & 0xff);
        return out;
    }

    Result<void> store(qint64 key, const QString &path)
    {
        QFile source(path);
        EXPECT_TRUE(source.open(QIODevice::ReadOnly));
        return column().write(key, source);
    }

    QByteArray load(qint64 key)
    {
        QBuffer sink;
        sink.open(QIODevice::WriteOnly);
        auto found = column().read(key, sink);
        EXPECT_TRUE(found) << found.error().toStdString();
        EXPECT_TRUE(found && *found);
        return sink.data();
    }
};

// Empty, one byte, and sizes on both sides of a chunk boundary, so a lost or repeated last chunk
// shows; a second write of a shorter value must not keep the tail of the longer one.
TEST_P(BinaryColumnIo, round_trips_values_of_any_length_byte_for_byte)
{
    ORVANE_REQUIRE(db);
    const qint64 key = newRow();
    for (qint64 n : {qint64(0), qint64(1), BinaryColumn::ChunkSize, BinaryColumn::ChunkSize + 3, qint64(5)}) {
        const QByteArray bytes = randomBytes(n);
        auto written = store(key, fileWith(bytes));
        ASSERT_TRUE(written) << written.error().toStdString();
        EXPECT_EQ(load(key), bytes) << "length " << n;
    }
    auto length = db.cnn().Scalar("SELECT LENGTH(fileStream) FROM OR_VN_fileTable WHERE fAutoID = ?", {key});
    ASSERT_TRUE(length);
    EXPECT_EQ(length->toLongLong(), 5);
}

TEST_P(BinaryColumnIo, tells_a_missing_row_from_a_null_value)
{
    ORVANE_REQUIRE(db);
    const qint64 key = newRow();
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    auto nullValue = column().read(key, sink);
    ASSERT_TRUE(nullValue) << nullValue.error().toStdString();
    EXPECT_TRUE(*nullValue);
    EXPECT_TRUE(sink.data().isEmpty());

    auto missing = column().read(key + 100, sink);
    ASSERT_TRUE(missing);
    EXPECT_FALSE(*missing);
    EXPECT_FALSE(store(key + 100, fileWith("abc")));
}

// The native handle is the connection's own: a write inside its transaction goes when it rolls back.
TEST_P(BinaryColumnIo, takes_part_in_the_connections_transaction)
{
    ORVANE_REQUIRE(db);
    const qint64 key = newRow();
    ASSERT_TRUE(store(key, fileWith("before")));
    ASSERT_TRUE(db.cnn().BeginTrans());
    ASSERT_TRUE(store(key, fileWith("after, and longer")));
    EXPECT_EQ(load(key), QByteArray("after, and longer"));
    ASSERT_TRUE(db.cnn().RollbackTrans());
    EXPECT_EQ(load(key), QByteArray("before"));
}

INSTANTIATE_TEST_SUITE_P(Db, BinaryColumnIo, ORVANE_BOTH_BACKENDS);
