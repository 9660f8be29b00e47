#include "ReferenceLookup.h"

#include "BaseCheck.h"
#include "FieldFamilies.h"

#include "common/basFunction.h"
#include "host/DataPermission.h"
#include "host/ReferenceListService.h"
#include "host/ReferencePicker.h"

namespace {

// The list of one free or user-defined item's values; the alias is searched beside the value.
ReferenceListRequest userDefineList(const QString &kind, const QString &itemId)
{
    ReferenceListRequest r;
    r.kind = kind;
    r.table = QStringLiteral("UserDefine");
    r.where = QStringLiteral("cID = ?");
    r.whereParams = {itemId};
    r.codeColumn = QStringLiteral("cValue");
    r.nameColumn = QStringLiteral("cAlias");
    r.valueColumn = QStringLiteral("cValue");
    return r;
}

} // namespace

std::optional<ReferenceListRequest> ReferenceLookup::baseRequest(const QString &field, const QString &search,
                                                                 const QString &strWhere)
{
    const FieldFamily family = fieldFamily(field);
    ReferenceListRequest r;
    if (family == FieldFamily::FreeItem) {
        const QString itemId = basFunction::GetUserDefineID(field);
        if (itemId.isEmpty())
            return std::nullopt;
        r = userDefineList(QStringLiteral("UserdefFree"), itemId);
    } else {
        const ReferenceListDef *def = referenceListDef(family);
        if (!def)
            return std::nullopt;
        r.kind = def->kind;
        r.table = def->table;
        r.columns = def->columns;
        r.where = def->where;
        for (int k = 0; k < def->loginDateUses; ++k)
            r.whereParams << m_loginDate;
        r.codeColumn = def->codeColumn;
        r.nameColumn = def->nameColumn;
        r.thirdColumn = def->thirdColumn;
        r.treeQuery = def->treeQuery;
        r.valueColumn = referenceValueColumn(field);
        // The list offers what the field's check accepts: the same data-permission question.
        if (const QString column = dataPermissionColumn(family); !column.isEmpty() && m_permission)
            r.conditions << m_permission->GetFieldCondition(column);
    }
    r.search = BaseCheck::typedValue(search);
    if (!strWhere.trimmed().isEmpty())
        r.conditions.prepend(strWhere);
    return r;
}

ReferenceListRequest ReferenceLookup::defineRequest(const QString &field, const QString &search, int dataSource,
                                                    const QString &strDataRule) const
{
    QString itemId;
    const qsizetype comma = strDataRule.indexOf(QLatin1Char(','));
    if (dataSource == 1)
        itemId = comma < 0 ? strDataRule : strDataRule.left(comma);
    else if (dataSource == 2)
        itemId = comma < 0 ? QString() : strDataRule.mid(comma + 1);
    else
        itemId = basFunction::GetUserDefineID(field);
    ReferenceListRequest r = userDefineList(QStringLiteral("UserDefine"), itemId.trimmed());
    r.search = BaseCheck::typedValue(search);
    return r;
}

bool ReferenceLookup::referBase(const QString &field, QVariant &value, const QString &strWhere, Recordset *rows,
                                bool multiSelect, bool multiPage, int pageSize)
{
    // Without a picker nothing can be chosen: do not ask the database for a list nobody sees.
    if (!ReferencePicker::current())
        return false;
    auto request = baseRequest(field, value.toString(), strWhere);
    if (!request)
        return false;
    return open(std::move(*request), multiSelect, multiPage, pageSize, value, rows);
}

bool ReferenceLookup::referDefine(const QString &field, QVariant &value, int dataSource, const QString &strDataRule,
                                  bool multiPage, int pageSize)
{
    if (!ReferencePicker::current())
        return false;
    return open(defineRequest(field, value.toString(), dataSource, strDataRule), false, multiPage, pageSize, value,
                nullptr);
}

bool ReferenceLookup::open(ReferenceListRequest request, bool multiSelect, bool multiPage, int pageSize,
                           QVariant &value, Recordset *rows)
{
    ReferencePicker *picker = ReferencePicker::current();
    if (!picker)
        return false;
    request.multiPage = multiPage;
    if (pageSize > 0)
        request.pageSize = pageSize;
    ReferenceListService service(m_cnn);
    Recordset chosen;
    if (!picker->pick(service, request, multiSelect, chosen) || chosen.isEmpty())
        return false;
    chosen.MoveFirst();
    value = chosen.value(request.valueColumn);
    if (rows)
        *rows = std::move(chosen);
    return true;
}
