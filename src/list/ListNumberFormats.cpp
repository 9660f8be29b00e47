#include "ListNumberFormats.h"

#include "platform/Connection.h"

#include <QDate>
#include <QLocale>

namespace {

int option(Connection &cnn, const char *name)
{
    auto value = cnn.Scalar(QStringLiteral("select cValue from AccInformation where lower(cName) = ?"),
                            {QString::fromLatin1(name)});
    bool ok = false;
    const int d = value && !value->isNull() ? value->toString().trimmed().toInt(&ok) : 0;
    return ok && d >= 0 && d <= 10 ? d : 2;
}

bool isOneOf(const QString &field, std::initializer_list<const char *> names)
{
    for (const char *n : names) {
        if (field.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

ListNumberFormats ListNumberFormats::read(Connection &cnn)
{
    return ListNumberFormats(option(cnn, "istrsquandecdgt"), option(cnn, "istrspridecdgt"));
}

ListNumberFormats::ListNumberFormats(int quantityDecimals, int priceDecimals)
    : m_quantityDecimals(quantityDecimals)
    , m_priceDecimals(priceDecimals)
{}

ListNumberFormats::Format ListNumberFormats::formatOf(const QString &field) const
{
    if (isOneOf(field, {"isellcost"}))
        return {m_priceDecimals, false};
    if (isOneOf(field, {"cDefine4", "cDefine6", "cdefine37", "cdefine36", "ccusdefine15", "ccusdefine16",
                        "cInvdefine15", "cInvdefine16"}))
        return {-1, true};
    if (isOneOf(field,
                {"imanhrs", "ipercharge", "itolmaterialcost", "imakecharge", "itoloutcost", "itolcost", "ifinishexch"}))
        return {2, false};
    if (isOneOf(field, {"isellexch"}))
        return {4, false};
    if (isOneOf(field, {"cinvdefine13", "cinvdefine14", "cdefine26", "cdefine27", "cdefine7", "cdefine16",
                        "ccusdefine13", "ccusdefine14"}))
        return {m_quantityDecimals, false};
    return {};
}

QString ListNumberFormats::pattern(const Format &format)
{
    if (format.date)
        return QStringLiteral("YYYY-MM-DD");
    if (format.decimals < 0)
        return QString();
    return format.decimals == 0 ? QStringLiteral("#,##0")
                                : QStringLiteral("#,##0.") + QString(format.decimals, QLatin1Char('0'));
}

QString ListNumberFormats::text(const QVariant &value, const Format &format)
{
    if (value.isNull())
        return QString();
    if (format.date) {
        const QDate d = value.typeId() == QMetaType::QDate ? value.toDate()
                                                           : QDate::fromString(value.toString().left(10), Qt::ISODate);
        return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : value.toString();
    }
    if (format.decimals >= 0) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        QLocale grouped = QLocale::c();
        grouped.setNumberOptions(QLocale::DefaultNumberOptions); // the C locale leaves out thousands separators
        return ok ? grouped.toString(number, 'f', format.decimals) : value.toString();
    }
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    return value.toString();
}
