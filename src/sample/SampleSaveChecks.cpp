#include "SampleSaveChecks.h"

#include "common/basFunction.h"
#include "platform/VoucherDocument.h"

#include <QSet>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The text a row is told apart by in the duplicate rule: component, its free items and the version
// of its structure. A free item or version the row does not carry adds nothing, not even its ";",
// so "no value" and "empty value" make different keys, as they did when users first met them.
QString componentKey(const VoucherRow &row)
{
    QString key = QStringLiteral(",") + row.value(QStringLiteral("cpscode"));
    for (int k = 1; k <= 10; ++k) {
        if (const auto free = row.attribute(QStringLiteral("cfree%1").arg(k)))
            key += QLatin1Char(';') + *free;
    }
    return key + QLatin1Char('(') + row.value(QStringLiteral("csocode")) + QStringLiteral("),");
}

bool isBlank(const QString &value)
{
    return value.trimmed().isEmpty();
}

QString bodyCell(int line, const QString &name, const QString &what)
{
    return QStringLiteral("表体第%1行 [").arg(line) + name + QStringLiteral("] ") + what + kLineBreak;
}

// Complaints about the columns of one live body row (line is 1-based, as the user counts).
QString checkLine(const VoucherRow &row, int line)
{
    QString msg;
    for (const VoucherAttribute &attribute : row.attributes()) {
        const QString name = attribute.name.toLower();
        const QString &value = attribute.value;
        if (name == QLatin1String("tdqtyd") || name == QLatin1String("ipsquantity")) {
            if (value.isEmpty())
                msg += bodyCell(line, name, QStringLiteral("不能为空,请检查!"));
            else if (value == QLatin1String("0")) // only the bare "0": "0.00" is left to the user
                msg += bodyCell(line, name, QStringLiteral("不能为0,请检查!"));
        } else if (name == QLatin1String("cwhcode")) {
            if (value.isEmpty())
                msg += bodyCell(line, name, QStringLiteral("不能为空,请检查!"));
        } else if (name == QLatin1String("iwasterate") && !isBlank(value)) {
            const double rate = basFunction::TextToNumber(value);
            if (rate >= 100 || rate < 0)
                msg += bodyCell(line, name, QStringLiteral("不能大于等于100%或者为负数,请检查!"));
        }
    }
    return msg;
}

} // namespace

QString SampleSaveChecks::checkHead(const VoucherDocument &domHead)
{
    QString msg;
    const VoucherRow head = domHead.headRow();
    for (const VoucherAttribute &attribute : head.attributes()) {
        const QString name = attribute.name.toLower();
        if (name == QLatin1String("cnewinvname") || name == QLatin1String("cnewinvcomunitcode")) {
            if (attribute.value.isEmpty())
                msg += QStringLiteral("表头 [") + name + QStringLiteral("] 不能为空,请检查!") + kLineBreak;
        } else if (name == QLatin1String("ifinishexch") && !isBlank(attribute.value)) {
            if (basFunction::TextToNumber(attribute.value) <= 0)
                msg += QStringLiteral("表头 [") + name + QStringLiteral("] 不能为负数或者为0,请检查!") + kLineBreak;
        }
    }
    return msg;
}

QString SampleSaveChecks::checkBody(const VoucherDocument &domBody)
{
    const QList<VoucherRow> rows = domBody.selectNodes(QStringLiteral("//z:row [@editprop!='D']"));
    if (rows.isEmpty())
        return QStringLiteral("表体没有数据不能保存,请检查!") + kLineBreak;

    // Whole keys in a set: the same answer as searching the joined ",key,key," text, without its
    // quadratic cost on long bodies.
    QSet<QString> seen;
    QString msg;
    for (int i = 0; i < rows.size(); ++i) {
        const QString key = componentKey(rows[i]);
        if (seen.contains(key))
            msg += QStringLiteral("子件[") + key.mid(1, key.size() - 2) + QStringLiteral("]重复，请检查！");
        else
            seen.insert(key);
        msg += checkLine(rows[i], i + 1);
    }
    return msg;
}
