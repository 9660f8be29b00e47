#include "DecimalPlaces.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcDecimals, "orvane.host.decimals")

// The option that counts a field's decimals; fields of a fixed count name it ("2", "4").
const QHash<QString, QString> &kinds()
{
    static const QHash<QString, QString> kinds{
        // head
        {QStringLiteral("isellcost"), DecimalPlaces::price()},
        {QStringLiteral("imanhrs"), QStringLiteral("2")},
        {QStringLiteral("ipercharge"), QStringLiteral("2")},
        {QStringLiteral("itolmaterialcost"), QStringLiteral("2")},
        {QStringLiteral("imakecharge"), QStringLiteral("2")},
        {QStringLiteral("itoloutcost"), QStringLiteral("2")},
        {QStringLiteral("itolcost"), QStringLiteral("2")},
        {QStringLiteral("cdefine7"), DecimalPlaces::quantity()},
        {QStringLiteral("cdefine16"), DecimalPlaces::quantity()},
        {QStringLiteral("ccusdefine13"), DecimalPlaces::quantity()},
        {QStringLiteral("ccusdefine14"), DecimalPlaces::quantity()},
        {QStringLiteral("isellexch"), QStringLiteral("4")},
        {QStringLiteral("ifinishexch"), QStringLiteral("2")},
        {QStringLiteral("ibzgzexch"), QStringLiteral("2")},
        {QStringLiteral("ibzfyexch"), QStringLiteral("2")},
        // head and body
        {QStringLiteral("cinvdefine13"), DecimalPlaces::quantity()},
        {QStringLiteral("cinvdefine14"), DecimalPlaces::quantity()},
        // body
        {QStringLiteral("ipsquantity"), DecimalPlaces::quantity()},
        {QStringLiteral("icaaquantity"), DecimalPlaces::quantity()},
        {QStringLiteral("tdqtyd"), DecimalPlaces::quantity()},
        {QStringLiteral("imaterialcharge"), DecimalPlaces::price()},
        {QStringLiteral("imaterialcost"), QStringLiteral("2")},
        {QStringLiteral("ioutunitprice"), QStringLiteral("2")},
        {QStringLiteral("ioutcost"), QStringLiteral("2")},
        {QStringLiteral("iprodchangrate"), DecimalPlaces::exchangeRate()},
        {QStringLiteral("cdefine26"), DecimalPlaces::quantity()},
        {QStringLiteral("cdefine27"), DecimalPlaces::quantity()},
        {QStringLiteral("iwasterate"), QStringLiteral("2")},
    };
    return kinds;
}

} // namespace

namespace DecimalPlaces {

QHash<QString, int> options(Connection &cnn)
{
    QHash<QString, int> counts;
    for (const QString &name : {QStringLiteral("iexchratedecdgt"), QStringLiteral("inumdecdgt"),
                                QStringLiteral("iratedecdgt"), price(), quantity(), QStringLiteral("ibillprice")})
        counts.insert(name, 2);
    auto rs = cnn.Query(QStringLiteral("SELECT cName, cValue, cDefault FROM AccInformation WHERE cSysID = 'AA' AND "
                                       "LOWER(cName) IN ('iexchratedecdgt','inumdecdgt','iratedecdgt',"
                                       "'istrspridecdgt','istrsquandecdgt','ibillprice')"));
    if (!rs) {
        qCWarning(lcDecimals) << "no decimal places" << rs.error();
        return counts;
    }
    for (int r = 0; r < rs->RecordCount(); ++r) {
        const QString value = rs->value(r, 1).toString().trimmed();
        bool ok = false;
        const int count = (value.isEmpty() ? rs->value(r, 2).toString() : value).trimmed().toInt(&ok);
        if (ok && count >= 0)
            counts.insert(rs->value(r, 0).toString().trimmed().toLower(), count);
    }
    return counts;
}

int forField(const QString &field, const QHash<QString, int> &options)
{
    const QString kind = kinds().value(field.toLower());
    if (kind.isEmpty())
        return -1;
    bool fixed = false;
    const int count = kind.toInt(&fixed);
    return fixed ? count : options.value(kind, 2);
}

} // namespace DecimalPlaces
