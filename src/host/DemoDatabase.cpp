#include "DemoDatabase.h"

#include "DataPermissionStore.h"
#include "clsLogin.h"

#include "platform/Connection.h"
#include "platform/DemoData.h"
#include "platform/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The task identifiers of the sample voucher windows: open the card, change, confirm, cancel
// confirmation, convert to a bill of materials, open the list.
const QStringList kAllTasks = {"SA03250101", "SA03250102", "SA03250103", "SA03250104", "SA03250105", "SA03250201"};
// A salesperson enters and changes samples but neither confirms nor converts them.
const QStringList kSalesTasks = {"SA03250101", "SA03250102", "SA03250201"};

struct DemoUser
{
    QString id;
    QString password;
    QString name; // written as maker of the user's vouchers: the demo makers are person names
    bool super;
    QStringList tasks;
};

// demo and admin see everything; 李娜 (国内销售部) and 王建国 (研发一室) are restricted by data
// permissions, see grantSales() and grantEngineer().
QList<DemoUser> demoUsers()
{
    const QString admin = QString::fromLatin1(DemoDatabase::AdminId);
    const QString adminPassword = QString::fromLatin1(DemoDatabase::AdminPassword);
    const QString demo = QString::fromLatin1(DemoDatabase::UserId);
    const QString demoPassword = QString::fromLatin1(DemoDatabase::Password);
    return {
        {admin, adminPassword, QStringLiteral("系统管理员"), true, QStringList()},
        {demo, demoPassword, QStringLiteral("演示用户"), false, kAllTasks},
        {QStringLiteral("lina"), QStringLiteral("lina"), QStringLiteral("李娜"), false, kSalesTasks},
        {QStringLiteral("wangjg"), QStringLiteral("wangjg"), QStringLiteral("王建国"), false, kAllTasks},
    };
}

// Objects of the demo account under data-permission control; items are not, so every user sees
// every item.
const QList<DataObject> kControlled
    = {DataObject::Customer, DataObject::Department, DataObject::Maker, DataObject::Template};

Result<QStringList> firstColumn(Connection &cnn, const QString &sql, const QVariantList &params)
{
    auto rows = cnn.Query(sql, params);
    if (!rows)
        return fail(rows.error());
    QStringList out;
    for (int r = 0; r < rows->RecordCount(); ++r)
        out << rows->value(r, 0).toString();
    return out;
}

// The grants of one user, written one after the other; after a failure the rest are skipped and
// the failure is kept, so that a user's grants read as a plain list.
struct UserGrants
{
    Connection &cnn;
    QString userId;
    Result<void> result = {};

    void all(DataObject object, const QString &access = QString())
    {
        if (result)
            result = DataPermissionStore::grantAll(cnn, userId, object, access);
    }
    void values(DataObject object, const QStringList &values, const QString &access = QString())
    {
        for (const QString &value : values) {
            if (result)
                result = DataPermissionStore::grantValue(cnn, userId, object, value, access);
        }
    }
};

// The demo user keeps every record although the objects are under control.
Result<void> grantDemo(Connection &cnn)
{
    UserGrants grants{cnn, QString::fromLatin1(DemoDatabase::UserId)};
    for (DataObject object : {DataObject::Customer, DataObject::Department, DataObject::Template})
        grants.all(object);
    for (const QString &access : DataPermissionStore::makerAccessKinds())
        grants.all(DataObject::Maker, access);
    return grants.result;
}

// 李娜 sells at home: the customers looked after by 国内销售部, that department, her own vouchers
// to see and change and no one's to confirm, cancel or close; the card's display and print
// templates.
Result<void> grantSales(Connection &cnn)
{
    auto customers
        = firstColumn(cnn, QStringLiteral("SELECT iId FROM Customer WHERE cCusDepart = ?"), {QStringLiteral("0201")});
    if (!customers)
        return fail(customers.error());
    const QStringList self = {QStringLiteral("李娜")};
    UserGrants grants{cnn, QStringLiteral("lina")};
    grants.values(DataObject::Customer, *customers);
    grants.values(DataObject::Department, {QStringLiteral("0201")});
    grants.values(DataObject::Maker, self, QStringLiteral("r"));
    grants.values(DataObject::Maker, self, QStringLiteral("w"));
    grants.values(DataObject::Template, {QStringLiteral("180101"), QStringLiteral("180102")});
    return grants.result;
}

// 王建国 leads development and confirms samples: every customer, the two development rooms, the
// vouchers of everyone in 技术部 to see, confirm, cancel and close, but only his own to change.
Result<void> grantEngineer(Connection &cnn)
{
    auto engineers = firstColumn(cnn, QStringLiteral("SELECT cPersonName FROM Person WHERE cDepCode LIKE ?"),
                                 {QStringLiteral("03%")});
    if (!engineers)
        return fail(engineers.error());
    UserGrants grants{cnn, QStringLiteral("wangjg")};
    grants.all(DataObject::Customer);
    grants.all(DataObject::Template);
    grants.values(DataObject::Department, {QStringLiteral("0301"), QStringLiteral("0302")});
    grants.values(DataObject::Maker, {QStringLiteral("王建国")}, QStringLiteral("w"));
    for (const QString &access : {QStringLiteral("r"), QStringLiteral("v"), QStringLiteral("u"), QStringLiteral("c")})
        grants.values(DataObject::Maker, *engineers, access);
    return grants.result;
}

Result<void> createUser(Connection &cnn, const DemoUser &user)
{
    auto made = clsLogin::CreateUser(cnn, user.id, user.name, user.password, user.super);
    if (!made)
        return made;
    for (const QString &task : user.tasks) {
        auto granted = clsLogin::GrantRight(cnn, user.id, task);
        if (!granted)
            return granted;
    }
    return {};
}

Result<void> addUsersAndPermissions(Connection &cnn)
{
    for (const DemoUser &user : demoUsers()) {
        if (auto made = createUser(cnn, user); !made)
            return made;
    }
    for (DataObject object : kControlled) {
        if (auto controlled = DataPermissionStore::setControlled(cnn, object, true); !controlled)
            return controlled;
    }
    Result<void> step = grantDemo(cnn);
    if (step)
        step = grantSales(cnn);
    if (step)
        step = grantEngineer(cnn);
    return step;
}

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
    // Users and their permissions stand together: a failure leaves none of them.
    if (cnn.inTransaction())
        return addUsersAndPermissions(cnn);
    if (auto begun = cnn.BeginTrans(); !begun)
        return begun;
    auto added = addUsersAndPermissions(cnn);
    auto ended = added ? cnn.CommitTrans() : cnn.RollbackTrans();
    if (!added)
        return added;
    return ended;
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
