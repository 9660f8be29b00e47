#include "basFunction.h"

#include <QHash>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

QString padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// Renders the tokens yyyy, yy, MM, mm, dd, hh, ss; every other character is copied. "mm" means
// minutes when the token before it was an hour ("hh:mm", "hhmm"), the month otherwise
// ("yymmdd"); separators between the two do not break that link.
QString render(const QDateTime &value, const QString &pattern)
{
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool afterHour = false;
    const QStringView p(pattern);
    qsizetype i = 0;
    auto take = [&](QLatin1StringView token) {
        if (!p.mid(i).startsWith(token))
            return false;
        i += token.size();
        return true;
    };
    while (i < p.size()) {
        if (take(QLatin1StringView("yyyy"))) {
            out += padded(d.year(), 4);
            afterHour = false;
        } else if (take(QLatin1StringView("yy"))) {
            out += padded(d.year() % 100, 2);
            afterHour = false;
        } else if (take(QLatin1StringView("MM"))) {
            out += padded(d.month(), 2);
            afterHour = false;
        } else if (take(QLatin1StringView("mm"))) {
            out += padded(afterHour ? t.minute() : d.month(), 2);
            afterHour = false;
        } else if (take(QLatin1StringView("dd"))) {
            out += padded(d.day(), 2);
            afterHour = false;
        } else if (take(QLatin1StringView("hh"))) {
            out += padded(t.hour(), 2);
            afterHour = true;
        } else if (take(QLatin1StringView("ss"))) {
            out += padded(t.second(), 2);
            afterHour = false;
        } else {
            out += p[i++];
        }
    }
    return out;
}

// Replaces "-" and ":" in one pass, so a separator that itself holds the other character is not
// replaced a second time.
QString replaceSeparators(const QString &pattern, const QString *dateSeparator, const QString *timeSeparator)
{
    QString out;
    for (const QChar c : pattern) {
        if (dateSeparator && c == u'-')
            out += *dateSeparator;
        else if (timeSeparator && c == u':')
            out += *timeSeparator;
        else
            out += c;
    }
    return out;
}

QString term(const QString &column, const QString &value, bool prefixMatch)
{
    return prefixMatch ? column + QStringLiteral(" like '") + value + QStringLiteral("%'")
                       : column + QStringLiteral(" = '") + value + QStringLiteral("'");
}

// Reads digits of `radix` from `from`; `end` receives the position after the last digit read.
double readRadix(const std::string &s, size_t from, int radix, size_t &end)
{
    double value = 0;
    size_t i = from;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix)
            break;
        value = value * radix + digit;
    }
    end = i;
    return value;
}

bool isDigit(const std::string &s, size_t i)
{
    return i < s.size() && s[i] >= '0' && s[i] <= '9';
}

} // namespace

namespace basFunction {

QString GetDateFormat(int kind, const QString &dateSeparator, const QString &timeSeparator)
{
    switch (kind) {
    case 0:
        return replaceSeparators(QStringLiteral("yyyy-MM-dd"), &dateSeparator, nullptr);
    case 1:
        return replaceSeparators(QStringLiteral("yy-mm-dd"), &dateSeparator, nullptr);
    case 2:
        return replaceSeparators(QStringLiteral("yyyy-MM-dd hh:mm"), &dateSeparator, &timeSeparator);
    case 3:
        return replaceSeparators(QStringLiteral("yyyy-MM-dd hh:mm:ss"), &dateSeparator, &timeSeparator);
    case 4:
        return replaceSeparators(QStringLiteral("MM-dd-yyyy"), &dateSeparator, nullptr);
    case 5:
        return replaceSeparators(QStringLiteral("MM-dd-yy"), &dateSeparator, nullptr);
    case 6:
        return replaceSeparators(QStringLiteral("dd-MM-yyyy"), &dateSeparator, nullptr);
    case 7:
        return replaceSeparators(QStringLiteral("dd-MM-yy"), &dateSeparator, nullptr);
    case 8:
        return replaceSeparators(QStringLiteral("hh:mm:ss"), nullptr, &timeSeparator);
    case 9:
        return replaceSeparators(QStringLiteral("hh:mm"), nullptr, &timeSeparator);
    case 10:
        return QStringLiteral("yyyymmddhhmmss");
    case 11:
        return QStringLiteral("yymmddhhmm");
    case 12:
        return QStringLiteral("mmddhhmm");
    default:
        return QStringLiteral("yyyy-MM-dd");
    }
}

QString FormatDateText(const QVariant &date, int kind, const QString &dateSeparator, const QString &timeSeparator,
                       bool showWeekDay)
{
    const std::optional<QDateTime> value = toDateTime(date);
    if (!value)
        return {};
    // The patterns have no week tokens, so the first day of the week and the first week of the
    // year (Sunday; the week of 1 January) never change the text.
    QString text = render(*value, GetDateFormat(kind, dateSeparator, timeSeparator));
    if (showWeekDay)
        text += QLatin1Char(' ') + GetWeekDayName(date);
    return text;
}

QString GetWeekDayName(const QVariant &date)
{
    const std::optional<QDateTime> value = toDateTime(date);
    if (!value)
        return {};
    // QDate counts Monday = 1 .. Sunday = 7.
    static const QString names[]
        = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"),
           QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("日")};
    return QStringLiteral("星期") + names[value->date().dayOfWeek() - 1];
}

QString ReplaceQuote(const QString &text)
{
    QString out = text;
    return out.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString BuildFieldCondition(const QString &value, const QString &column1, const QString &column2,
                            const QString &column3, bool prefixMatch)
{
    // Callers pass text the user typed; doubling quotes keeps it a literal.
    const QString v = ReplaceQuote(value);
    QString text = QLatin1Char('(') + term(column1, v, prefixMatch);
    if (column2.trimmed().isEmpty())
        text += QLatin1Char(' ');
    else
        text += QStringLiteral(" OR ") + term(column2, v, prefixMatch);
    if (!column3.isEmpty())
        text += QStringLiteral(" OR ") + term(column3, v, prefixMatch);
    return text + QLatin1Char(')');
}

QString GetUserDefineID(const QString &fieldName)
{
    static const QHash<QString, QString> ids = [] {
        QHash<QString, QString> h;
        const char *const free[] = {"20", "21", "28", "29", "30", "31", "32", "33", "34", "35"};
        for (int i = 0; i < 10; ++i)
            h.insert(QStringLiteral("cfree%1").arg(i + 1), QString::fromLatin1(free[i]));
        // cdefine1..16 and 22..37; 17..21 have no identifier.
        const char *const define[]
            = {"01", "02", "03", "04",    "05",    "06",    "07",    "08",    "09", "10", "36", "37", "38",
               "39", "40", "41", nullptr, nullptr, nullptr, nullptr, nullptr, "22", "23", "24", "25", "26",
               "27", "42", "43", "44",    "45",    "46",    "47",    "48",    "49", "50", "51"};
        for (int i = 0; i < 37; ++i) {
            if (define[i])
                h.insert(QStringLiteral("cdefine%1").arg(i + 1), QString::fromLatin1(define[i]));
        }
        return h;
    }();
    return ids.value(fieldName.toLower());
}

} // namespace basFunction

namespace {

// The text of a displayed number as the readers see it: commas dropped, blanks, tabs and line feeds
// dropped, every non-ASCII character turned into one that ends a number. Nothing = empty.
std::string numberText(const QString &text)
{
    std::string s;
    s.reserve(size_t(text.size()));
    for (const QChar c : text) {
        if (c == u',' || c == u' ' || c == u'\t' || c == u'\n')
            continue;
        s += c.unicode() < 0x80 ? char(c.unicode()) : '\x7f';
    }
    return s;
}

// The longest leading number of s (see TextToNumber); `end` receives the position after it, 0 when
// s does not start with a number.
double scanNumber(const std::string &s, size_t &end)
{
    end = 0;
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o') {
            const double value = readRadix(s, 2, s[1] == 'H' || s[1] == 'h' ? 16 : 8, end);
            if (end == 2)
                end = 0;
            return value;
        }
        return 0;
    }

    std::string number;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            number += '-';
        ++i;
    }
    bool anyDigit = false;
    while (isDigit(s, i)) {
        number += s[i++];
        anyDigit = true;
    }
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (isDigit(s, i)) {
            number += s[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0;
    // An exponent counts only when digits follow it ("1e" reads as 1). D is the old
    // double-precision exponent letter.
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExponent = s[j] == '-';
            exponent += s[j++];
        }
        if (isDigit(s, j)) {
            while (isDigit(s, j))
                exponent += s[j++];
            number += exponent;
            i = j;
        }
    }
    end = i;

    double value = 0;
    const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        if (negativeExponent)
            return 0;
        const double inf = std::numeric_limits<double>::infinity();
        return number.front() == '-' ? -inf : inf;
    }
    return value;
}

} // namespace

namespace basFunction {

double TextToNumber(const QString &text)
{
    size_t end = 0;
    return scanNumber(numberText(text), end);
}

std::optional<double> ReadNumber(const QString &text)
{
    const std::string s = numberText(text);
    if (s.empty())
        return std::nullopt;
    size_t end = 0;
    const double value = scanNumber(s, end);
    if (end != s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QDateTime> toDateTime(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        if (value.toDate().isValid())
            return QDateTime(value.toDate(), QTime(0, 0));
        return std::nullopt;
    case QMetaType::QDateTime:
        if (value.toDateTime().isValid())
            return value.toDateTime();
        return std::nullopt;
    case QMetaType::QTime:
        if (value.toTime().isValid())
            return QDateTime(QDate(1899, 12, 30), value.toTime());
        return std::nullopt;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        break;
    default:
        return std::nullopt;
    }
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{4})([-/])(\d{1,2})\2(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.\d+)?)?)?$)"));
    const QRegularExpressionMatch m = pattern.match(value.toString().trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QDate d(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    const QTime t = m.capturedLength(5) ? QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt())
                                        : QTime(0, 0);
    if (!d.isValid() || !t.isValid())
        return std::nullopt;
    return QDateTime(d, t);
}

} // namespace basFunction
