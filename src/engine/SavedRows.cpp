#include "SavedRows.h"

#include "platform/VoucherDocument.h"

SavedRows SavedRows::of(int iState, const VoucherDocument &domHead, const VoucherDocument &domBody)
{
    SavedRows rows;
    if (iState == 1 || iState == 2)
        rows.heads = domHead.selectNodes(QStringLiteral("//z:row"));
    int number = 0;
    for (const VoucherRow &row : domBody.selectNodes(QStringLiteral("//z:row"))) {
        const QString mark = row.value(QStringLiteral("editprop")).toUpper();
        if (mark == QLatin1String("D"))
            continue;
        ++number;
        if (mark == QLatin1String("A") || mark == QLatin1String("M"))
            rows.lines.append({row, number});
    }
    return rows;
}
