#include "SampleDefaults.h"

#include "platform/VoucherDocument.h"

void SampleDefaults::deleteEmptyRows(VoucherDocument &domBody)
{
    for (VoucherRow row : domBody.selectNodes(QStringLiteral("//z:row [@cpscode=''][@editprop='M']")))
        row.setValue(QStringLiteral("editprop"), QStringLiteral("D"));
    for (const VoucherRow &row : domBody.selectNodes(QStringLiteral("//z:row [@cpscode=''][@editprop='A']")))
        domBody.removeRow(row);
}

void SampleDefaults::setDefaults(VoucherDocument &domHead, VoucherDocument &domBody, const QString &templateColumn,
                                 qint32 defaultTemplate)
{
    VoucherRow head = domHead.headRow();
    if (!head.isNull()) {
        const QString column = templateColumn.toLower();
        // An absent template column stays absent: the table's default applies then.
        if (!column.isEmpty() && head.attribute(column) == QString())
            head.setValue(column, QString::number(defaultTemplate));

        const QString expand = head.value(QStringLiteral("bexpand"));
        const bool expanded = expand == QStringLiteral("是") || expand == QLatin1String("1");
        head.setValue(QStringLiteral("bexpand"), expanded ? QStringLiteral("1") : QStringLiteral("0"));

        // Only a child sample describes a version of a structure; a top-level one never does.
        if (!head.value(QStringLiteral("ccode")).trimmed().isEmpty())
            head.setValue(QStringLiteral("csocode"), QString());
    }

    for (VoucherRow row : domBody.selectNodes(QStringLiteral("//z:row [@editprop!='D']"))) {
        const auto divisor = row.attribute(QStringLiteral("tdqtyd"));
        if (!divisor)
            continue;
        const QString text = divisor->trimmed().toLower();
        if (text.isEmpty() || text == QLatin1String("0"))
            row.setValue(QStringLiteral("tdqtyd"), QStringLiteral("1"));
    }
}
