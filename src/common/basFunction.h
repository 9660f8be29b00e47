#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>

// Text, date and SQL helpers: turn values into SQL text and display text and back. Stateless; no
// function touches the database or reports an error.
namespace basFunction {

// Renders a date with pattern `kind` (see GetDateFormat), optionally followed by a blank and the
// weekday name. A value that is not a date gives "".
QString FormatDateText(const QVariant &date, int kind, const QString &dateSeparator, const QString &timeSeparator,
                       bool showWeekDay);

// The date pattern of `kind` (0..12; any other value gives "yyyy-MM-dd" unchanged), with "-"
// replaced by dateSeparator and ":" by timeSeparator where the kind calls for it.
QString GetDateFormat(int kind, const QString &dateSeparator, const QString &timeSeparator);

// "星期日" .. "星期六" for a date; "" for a value that is not a date.
QString GetWeekDayName(const QVariant &date);

// Doubles every single quote, for text placed between single quotes in SQL.
QString ReplaceQuote(const QString &text);

// "(c1 = 'v' OR c2 = 'v' OR c3 = 'v')", or with `like 'v%'` for a prefix match. A second column
// of blanks only counts as absent, an empty third column is left out. Quotes in the value are
// doubled, so typed text cannot end the literal; values without quotes appear as given.
QString BuildFieldCondition(const QString &value, const QString &column1, const QString &column2,
                            const QString &column3, bool prefixMatch);

// The two-digit userdefine identifier of a free item (cfree1..cfree10) or user-defined item
// (cdefine1..cdefine37, except cdefine17..cdefine21); "" for any other name. Case is ignored.
QString GetUserDefineID(const QString &fieldName);

// Reads a displayed number: thousands separators (",") are dropped, blanks, tabs and line feeds
// anywhere are ignored, and the longest leading number is taken (sign, digits, one decimal point,
// exponent; &H hexadecimal and &O octal). Text that does not start with a number gives 0.
double TextToNumber(const QString &text);

// The same reading, for a value that must be a number as a whole: the number when nothing but it
// remains (commas and blanks aside), nullopt for empty text, for text with anything after the
// number ("2个", "1.5kg") and for a number too large for a double.
std::optional<double> ReadNumber(const QString &text);

// The date and time a value holds: QDate (at midnight), QDateTime, QTime (on 1899-12-30, the
// day a time-only date value stands for), or text "yyyy-mm-dd" / "yyyy/mm/dd" with an optional
// time "hh:mm[:ss]" after a blank or "T". Anything else is no date.
std::optional<QDateTime> toDateTime(const QVariant &value);

} // namespace basFunction
