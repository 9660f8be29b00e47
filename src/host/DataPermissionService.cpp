#include "DataPermissionService.h"

#include "clsLogin.h"

#include "platform/Connection.h"

#include <QHash>
#include <QRegularExpression>
#include <QtDebug>

#include <algorithm>
#include <optional>

namespace {

const QString kEverything = QStringLiteral("1=1");
const QString kNothing = QStringLiteral("1=2");

// The object a field text names, and whether it asks for the rows outside the permission.
struct FieldTarget
{
    DataObject object;
    bool negated;
};

// Recognises the texts the callers pass: a column of the card and list views ("CustomerIID",
// "NewInvIID", "InventoryIID", "cdepcode"), a table's column ("Customer.iId", "I.iId"), either one
// wrapped in isnull/COALESCE(..., 0), and any of them followed by "not". Letter case and blanks do
// not matter.
std::optional<FieldTarget> targetOf(const QString &field)
{
    static const QHash<QString, DataObject> columns = {
        {QStringLiteral("customeriid"), DataObject::Customer},
        {QStringLiteral("customer.iid"), DataObject::Customer},
        {QStringLiteral("newinviid"), DataObject::Inventory},
        {QStringLiteral("inventoryiid"), DataObject::Inventory},
        {QStringLiteral("i.iid"), DataObject::Inventory},
        {QStringLiteral("inventory.iid"), DataObject::Inventory},
        {QStringLiteral("cdepcode"), DataObject::Department},
        {QStringLiteral("department.cdepcode"), DataObject::Department},
    };
    // The wrapper only turns a missing identifier into 0, which no record carries.
    static const QRegularExpression wrapped(QStringLiteral("^(?:isnull|coalesce|ifnull)\\((.+),0\\)$"));

    QString text = field.simplified().toLower();
    const bool negated = text.endsWith(QStringLiteral(" not"));
    if (negated)
        text.chop(4);
    text.remove(QLatin1Char(' '));
    if (const auto m = wrapped.match(text); m.hasMatch())
        text = m.captured(1);
    const auto it = columns.constFind(text);
    if (it == columns.cend())
        return std::nullopt;
    return FieldTarget{*it, negated};
}

QString quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

// The granted values as SQL literals joined with commas, in a stable order (identifiers by number,
// codes and names by text). Empty when no usable value is left.
QString literalList(DataObject object, const QStringList &values)
{
    QStringList literals;
    if (DataPermissionStore::holdsIdentifiers(object)) {
        QList<qlonglong> ids;
        for (const QString &v : values) {
            bool ok = false;
            const qlonglong id = v.trimmed().toLongLong(&ok);
            if (ok) // anything else was not written by the grant helpers: leave it out
                ids << id;
        }
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        for (qlonglong id : ids)
            literals << QString::number(id);
    } else {
        QStringList sorted = values;
        std::sort(sorted.begin(), sorted.end());
        for (const QString &v : sorted)
            literals << quoted(v);
    }
    return literals.join(QLatin1Char(','));
}

} // namespace

DataPermissionService::DataPermissionService() = default;

DataPermissionService::~DataPermissionService() = default;

void DataPermissionService::BindLogin(std::shared_ptr<clsLogin> &login)
{
    // A connection to another database would answer from the wrong tables.
    if (m_cnn && (!login || login->ConnectionString() != m_cnn->ConnectionString()))
        m_cnn.reset();
    m_login = login;
}

QString DataPermissionService::GetFieldCondition(const QString &field)
{
    const std::optional<FieldTarget> target = targetOf(field);
    if (!target)
        return kEverything;
    const DataGrants grants = grantsOf(target->object);
    if (grants.all)
        return target->negated ? kNothing : kEverything;
    const QString list = literalList(target->object, grants.values);
    if (list.isEmpty())
        return target->negated ? kEverything : kNothing;
    return field + QStringLiteral(" in (") + list + QLatin1Char(')');
}

QString DataPermissionService::GetKindCondition(const QString &kind)
{
    const QString k = kind.trimmed().toLower();
    if (k == QLatin1String("djmb"))
        return listAnswer(DataObject::Template, QString(), QString());
    if (DataPermissionStore::makerAccessKinds().contains(k))
        return listAnswer(DataObject::Maker, k, kEverything);
    return kNothing;
}

QString DataPermissionService::listAnswer(DataObject object, const QString &access, const QString &everything)
{
    const DataGrants grants = grantsOf(object, access);
    if (grants.all)
        return everything;
    const QString list = literalList(object, grants.values);
    return list.isEmpty() ? kNothing : list;
}

DataGrants DataPermissionService::grantsOf(DataObject object, const QString &access)
{
    auto grants = readGrants(object, access);
    if (grants) {
        m_lastError.clear();
        return *grants;
    }
    m_lastError = grants.error();
    qWarning().noquote() << "数据权限：" << m_lastError;
    return DataGrants();
}

Result<DataGrants> DataPermissionService::readGrants(DataObject object, const QString &access)
{
    if (!m_login || !m_login->IsLoggedIn())
        return fail(QStringLiteral("尚未登录，不能判断数据权限"));
    if (!m_cnn) {
        auto cnn = std::make_unique<Connection>();
        if (auto opened = cnn->Open(m_login->ConnectionString()); !opened)
            return fail(opened.error());
        m_cnn = std::move(cnn);
    }
    return DataPermissionStore(*m_cnn).grants(m_login->AccountId(), m_login->UserId(), object, access);
}
