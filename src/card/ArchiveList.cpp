#include "ArchiveList.h"

#include "host/ReferenceListService.h"
#include "host/ReferencePicker.h"

std::optional<Recordset> ArchiveList::pick(Connection &cnn, const QString &search) const
{
    ReferencePicker *picker = ReferencePicker::current();
    if (!picker)
        return std::nullopt;
    ReferenceListRequest request;
    request.kind = kind;
    request.table = table;
    request.columns = columns;
    request.where = where;
    request.whereParams = whereParams;
    request.codeColumn = codeColumn;
    request.nameColumn = nameColumn;
    request.thirdColumn = thirdColumn;
    request.valueColumn = valueColumn;
    request.search = search;
    ReferenceListService service(cnn);
    Recordset chosen;
    if (!picker->pick(service, request, false, chosen) || chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
