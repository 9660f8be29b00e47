#include "ReferenceColumnCaptions.h"

#include "VoucherFieldCaptions.h"

#include <QHash>

namespace {

// Columns of the master data the lists read, by lower-case name.
const QHash<QString, QString> &masterCaptions()
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("cinvcode"), QStringLiteral("存货编码")},
        {QStringLiteral("cinvname"), QStringLiteral("存货名称")},
        {QStringLiteral("cinvstd"), QStringLiteral("规格型号")},
        {QStringLiteral("cinvaddcode"), QStringLiteral("存货代码")},
        {QStringLiteral("cinvccode"), QStringLiteral("存货分类")},
        {QStringLiteral("ccomunitcode"), QStringLiteral("计量单位编码")},
        {QStringLiteral("ccomunitname"), QStringLiteral("计量单位名称")},
        {QStringLiteral("cgroupname"), QStringLiteral("计量单位组")},
        {QStringLiteral("igrouptype"), QStringLiteral("组类别")},
        {QStringLiteral("bmainunit"), QStringLiteral("是否主计量")},
        {QStringLiteral("ichangrate"), QStringLiteral("换算率")},
        {QStringLiteral("cdepcode"), QStringLiteral("部门编码")},
        {QStringLiteral("cdepname"), QStringLiteral("部门名称")},
        {QStringLiteral("cpersoncode"), QStringLiteral("职员编码")},
        {QStringLiteral("cpersonname"), QStringLiteral("职员名称")},
        {QStringLiteral("ccuscode"), QStringLiteral("客户编码")},
        {QStringLiteral("ccusname"), QStringLiteral("客户名称")},
        {QStringLiteral("ccusabbname"), QStringLiteral("客户简称")},
        {QStringLiteral("cvencode"), QStringLiteral("供应商编码")},
        {QStringLiteral("cvenname"), QStringLiteral("供应商名称")},
        {QStringLiteral("cvenabbname"), QStringLiteral("供应商简称")},
        {QStringLiteral("cwhcode"), QStringLiteral("仓库编码")},
        {QStringLiteral("cwhname"), QStringLiteral("仓库名称")},
        {QStringLiteral("cvalue"), QStringLiteral("值")},
        {QStringLiteral("calias"), QStringLiteral("别名")},
        {QStringLiteral("csocode"), QStringLiteral("版本号")},
    };
    return captions;
}

} // namespace

QString referenceColumnCaption(const QString &column)
{
    const QString name = column.section(QLatin1Char('.'), -1).trimmed().toLower();
    if (const auto it = masterCaptions().constFind(name); it != masterCaptions().cend())
        return *it;
    const QByteArray field = name.toUtf8();
    for (const auto *captions : {&sampleHeadCaptions(), &sampleBodyCaptions()}) {
        for (const FieldCaption &caption : *captions) {
            if (field == caption.field)
                return QString::fromUtf8(caption.caption);
        }
    }
    return {};
}
