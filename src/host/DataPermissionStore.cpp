#include "DataPermissionStore.h"

#include "platform/Connection.h"

namespace {

// The names under which the tables keep the objects.
QString objectName(DataObject object)
{
    switch (object) {
    case DataObject::Customer:
        return QStringLiteral("customer");
    case DataObject::Inventory:
        return QStringLiteral("inventory");
    case DataObject::Department:
        return QStringLiteral("department");
    case DataObject::Maker:
        return QStringLiteral("maker");
    case DataObject::Template:
        return QStringLiteral("template");
    }
    return QString();
}

// Makers are granted per access kind, every other object as a whole.
Result<void> checkAccess(DataObject object, const QString &access)
{
    if (object != DataObject::Maker) {
        if (!access.isEmpty())
            return fail(QStringLiteral("数据权限对象[%1]不区分操作类型").arg(objectName(object)));
        return {};
    }
    if (!DataPermissionStore::makerAccessKinds().contains(access))
        return fail(QStringLiteral("无效的操作员权限类型：%1").arg(access));
    return {};
}

// The tables keep "none" as empty text, never NULL, which binding a null QString would write.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

Result<bool> userExists(Connection &cnn, const QString &userId)
{
    auto n = cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ua_user WHERE cuser_id = ?"), {userId});
    if (!n)
        return fail(n.error());
    return n->toLongLong() > 0;
}

} // namespace

const QStringList &DataPermissionStore::makerAccessKinds()
{
    static const QStringList kinds
        = {QStringLiteral("r"), QStringLiteral("w"), QStringLiteral("v"), QStringLiteral("u"), QStringLiteral("c")};
    return kinds;
}

bool DataPermissionStore::holdsIdentifiers(DataObject object)
{
    return object == DataObject::Customer || object == DataObject::Inventory || object == DataObject::Template;
}

Result<DataGrants> DataPermissionStore::grants(const QString &accountId, const QString &userId, DataObject object,
                                               const QString &access) const
{
    if (auto checked = checkAccess(object, access); !checked)
        return fail(checked.error());

    auto user = m_cnn.Query(QStringLiteral("SELECT u.bsuper, o.bcontrol FROM ua_user u "
                                           "LEFT JOIN ua_dataobject o ON o.cacc_id = ? AND o.cobject = ? "
                                           "WHERE u.cuser_id = ?"),
                            {accountId, objectName(object), userId});
    if (!user)
        return fail(user.error());
    DataGrants out;
    if (user->isEmpty())
        return out; // a user removed since the login sees nothing
    if (user->value(QStringLiteral("bsuper")).toInt() != 0 || user->value(QStringLiteral("bcontrol")).toInt() == 0) {
        out.all = true;
        return out;
    }

    auto rows = m_cnn.Query(QStringLiteral("SELECT cvalue, ball FROM ua_datapermission "
                                           "WHERE cacc_id = ? AND cuser_id = ? AND cobject = ? AND caccess = ?"),
                            {accountId, userId, objectName(object), notNull(access)});
    if (!rows)
        return fail(rows.error());
    for (int r = 0; r < rows->RecordCount(); ++r) {
        if (rows->value(r, 1).toInt() != 0) {
            out.all = true;
            out.values.clear();
            return out;
        }
        out.values << rows->value(r, 0).toString();
    }
    return out;
}

Result<void> DataPermissionStore::setControlled(Connection &cnn, DataObject object, bool controlled,
                                                const QString &accountId)
{
    if (accountId.trimmed().isEmpty())
        return fail(QStringLiteral("账套号不能为空"));
    const QVariantList key = {accountId, objectName(object)};
    auto updated
        = cnn.Execute(QStringLiteral("UPDATE ua_dataobject SET bcontrol = ? WHERE cacc_id = ? AND cobject = ?"),
                      QVariantList{controlled ? 1 : 0} + key);
    if (!updated)
        return fail(updated.error());
    if (*updated > 0)
        return {};
    auto inserted
        = cnn.Execute(QStringLiteral("INSERT INTO ua_dataobject (bcontrol, cacc_id, cobject) VALUES (?, ?, ?)"),
                      QVariantList{controlled ? 1 : 0} + key);
    if (!inserted)
        return fail(inserted.error());
    return {};
}

Result<void> DataPermissionStore::grantAll(Connection &cnn, const QString &userId, DataObject object,
                                           const QString &access, const QString &accountId)
{
    return insertGrant(cnn, accountId, userId, object, access, QString(), true);
}

Result<void> DataPermissionStore::grantValue(Connection &cnn, const QString &userId, DataObject object,
                                             const QString &value, const QString &access, const QString &accountId)
{
    QString stored = value.trimmed();
    if (stored.isEmpty())
        return fail(QStringLiteral("数据权限的值不能为空"));
    if (holdsIdentifiers(object)) {
        // Kept in the canonical decimal form, so that "007" and "7" are one grant.
        bool ok = false;
        const qlonglong id = stored.toLongLong(&ok);
        if (!ok)
            return fail(QStringLiteral("数据权限的值[%1]不是整数").arg(stored));
        stored = QString::number(id);
    }
    if (stored.size() > 60)
        return fail(QStringLiteral("数据权限的值不能超过60个字符"));
    return insertGrant(cnn, accountId, userId, object, access, stored, false);
}

Result<void> DataPermissionStore::insertGrant(Connection &cnn, const QString &accountId, const QString &userId,
                                              DataObject object, const QString &access, const QString &value, bool all)
{
    if (accountId.trimmed().isEmpty())
        return fail(QStringLiteral("账套号不能为空"));
    if (auto checked = checkAccess(object, access); !checked)
        return checked;
    auto known = userExists(cnn, userId);
    if (!known)
        return fail(known.error());
    if (!*known)
        return fail(QStringLiteral("用户[%1]不存在").arg(userId));

    // The all-grant is the row with the empty value, which no single value can have.
    const QVariantList key = {accountId, userId, objectName(object), notNull(access), notNull(value)};
    auto held = cnn.Scalar(QStringLiteral("SELECT COUNT(*) FROM ua_datapermission "
                                          "WHERE cacc_id = ? AND cuser_id = ? AND cobject = ? AND caccess = ? "
                                          "AND cvalue = ?"),
                           key);
    if (!held)
        return fail(held.error());
    if (held->toLongLong() > 0)
        return {};
    auto inserted = cnn.Execute(QStringLiteral("INSERT INTO ua_datapermission "
                                               "(cacc_id, cuser_id, cobject, caccess, cvalue, ball) "
                                               "VALUES (?, ?, ?, ?, ?, ?)"),
                                key + QVariantList{all ? 1 : 0});
    if (!inserted)
        return fail(inserted.error());
    return {};
}
