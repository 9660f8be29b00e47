#include "DemoDatabase.h"

#include "clsLogin.h"

#include "platform/Connection.h"
#include "platform/DemoData.h"
#include "platform/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The task identifiers of the sample voucher windows.
const char *const kTasks[] = {"SA03250101", "SA03250102", "SA03250103", "SA03250104", "SA03250105", "SA03250201"};

} // namespace

QString DemoDatabase::defaultPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.local/share/orvane-samples");
    return dir + QStringLiteral("/orvane-samples.db");
}

Result<void> DemoDatabase::addUsers(Connection &cnn)
{
    auto admin = clsLogin::CreateUser(cnn, QString::fromLatin1(AdminId), QStringLiteral("系统管理员"),
                                      QString::fromLatin1(AdminPassword), true);
    if (!admin)
        return admin;
    auto demo = clsLogin::CreateUser(cnn, QString::fromLatin1(UserId), QStringLiteral("演示用户"),
                                     QString::fromLatin1(Password), false);
    if (!demo)
        return demo;
    for (const char *task : kTasks) {
        auto granted = clsLogin::GrantRight(cnn, QString::fromLatin1(UserId), QString::fromLatin1(task));
        if (!granted)
            return granted;
    }
    return {};
}

Result<void> DemoDatabase::install(Connection &cnn)
{
    if (Schema::exists(cnn))
        return fail(QStringLiteral("数据库中已有样品接单管理的数据表"));
    Result<void> step = Schema::create(cnn);
    if (step)
        step = DemoData::fill(cnn);
    if (step)
        step = addUsers(cnn);
    return step;
}

Result<QString> DemoDatabase::ensure(const QString &path)
{
    const QString connectionString = QStringLiteral("sqlite://") + path;
    if (QFileInfo::exists(path))
        return connectionString;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("无法创建数据目录：%1").arg(QFileInfo(path).absolutePath()));

    const QString building = path + QStringLiteral(".building");
    QFile::remove(building);
    {
        Connection cnn;
        auto opened = cnn.Open(QStringLiteral("sqlite://") + building, Connection::CreateIfMissing);
        Result<void> step = opened;
        if (step)
            step = install(cnn);
        if (step) {
            auto checkpoint = cnn.Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            if (!checkpoint)
                step = fail(checkpoint.error());
        }
        cnn.Close();
        if (!step) {
            QFile::remove(building);
            QFile::remove(building + QStringLiteral("-wal"));
            QFile::remove(building + QStringLiteral("-shm"));
            return fail(QStringLiteral("无法创建演示数据库：%1").arg(step.error()));
        }
    }
    QFile::remove(building + QStringLiteral("-wal"));
    QFile::remove(building + QStringLiteral("-shm"));
    if (!QFile::rename(building, path))
        return fail(QStringLiteral("无法创建演示数据库：%1").arg(path));
    return connectionString;
}
