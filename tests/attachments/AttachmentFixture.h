#pragma once

#include "support/FakeMessageService.h"
#include "support/TestDatabase.h"

#include "attachments/DataStreamClass.h"
#include "host/MemoryDataGrid.h"
#include "host/PictureControl.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

// Records what the picture control was given; reads the file at once, as the real control does.
class FakePicture final : public PictureControl
{
public:
    void setPicture(const QString &filePath) override
    {
        QFile f(filePath);
        shown = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        ++loads;
    }
    QByteArray shown;
    int loads = 0;
};

// A store on a fresh database of each backend, a folder for local files and a working folder.
class AttachmentTest : public testing::TestWithParam<Backend>
{
protected:
    static constexpr qint32 Voucher = 42;

    AttachmentTest() { DataStreamClass::setWorkingFolder(dir.filePath(QStringLiteral("cache/TempPic"))); }
    ~AttachmentTest() override { DataStreamClass::setWorkingFolder(QString()); }

    void SetUp() override
    {
        if (!db.available())
            return;
        cnn = std::make_shared<Connection>();
        auto opened = cnn->Open(db.connectionString());
        ASSERT_TRUE(opened) << opened.error().toStdString();
    }

    DataStreamClass store(fileType kind, qint32 voucher = Voucher)
    {
        DataStreamClass s;
        s.InitParameters(cnn, qint32(kind), voucher);
        return s;
    }

    // A local file of `size` pseudo-random bytes (the same bytes for the same seed).
    QString localFile(const QString &name, qint64 size, quint32 seed = 1)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        QRandomGenerator gen(seed);
        QByteArray block(1 << 16, Qt::Uninitialized);
        for (qint64 left = size; left > 0;) {
            gen.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
            const qint64 n = qMin(left, qint64(block.size()));
            f.write(block.constData(), n);
            left -= n;
        }
        return path;
    }

    static QByteArray sha256(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QCryptographicHash hash(QCryptographicHash::Sha256);
        hash.addData(&f);
        return hash.result();
    }

    FileClass chosen(const QString &path, fileType kind, qint32 voucher = Voucher)
    {
        FileClass f;
        f.InitOpenFileParameters(voucher, kind, {path, QFileInfo(path).fileName()});
        return f;
    }

public:
    static MemoryDataGrid tempGrid()
    {
        return MemoryDataGrid(QStringLiteral("TempGrid"), {"序号", "文件名", "大小", "类型", "文件路径"});
    }
    static MemoryDataGrid serverGrid()
    {
        return MemoryDataGrid(QStringLiteral("ServerGrid"), {"序号", "文件名", "大小", "类型"});
    }

protected:
    qint64 stored(const QString &where = QString()) { return db.count(QStringLiteral("OR_VN_fileTable"), where); }

    TestDatabase db{GetParam()};
    QTemporaryDir dir;
    std::shared_ptr<Connection> cnn;
    FakeMessageService messages;
};
