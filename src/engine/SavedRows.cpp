#include "SavedRows.h"

#include "platform/VoucherDocument.h"

namespace {

SavedRows::Line lineOf(const VoucherRow &row, int number)
{
    SavedRows::Line line{row, number, row.attributes()};
    for (VoucherAttribute &a : line.attributes)
        a.name = a.name.toLower();
    return line;
}

} // namespace

SavedRows SavedRows::of(int iState, const VoucherDocument &domHead, const VoucherDocument &domBody)
{
    SavedRows rows;
    if (iState == 1 || iState == 2) {
        for (const VoucherRow &row : domHead.selectNodes(QStringLiteral("//z:row")))
            rows.heads.append(lineOf(row, 0));
    }
    int number = 0;
    for (const VoucherRow &row : domBody.selectNodes(QStringLiteral("//z:row"))) {
        const QString mark = row.value(QStringLiteral("editprop")).toUpper();
        if (mark == QLatin1String("D"))
            continue;
        ++number;
        if (mark == QLatin1String("A") || mark == QLatin1String("M"))
            rows.lines.append(lineOf(row, number));
    }
    return rows;
}
