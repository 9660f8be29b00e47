#pragma once

#include "XmlTextBuffer.h"

#include <QStringView>
#include <QVariant>

#include <limits>

// Writes field values as the text of attribute values: integers in decimal, doubles with up to 15
// significant digits and no trailing zeros, booleans "True"/"False", dates "yyyy-MM-dd", date and
// time "yyyy-MM-ddThh:mm:ss", times "hh:mm:ss", bytes as lower-case hex, text as it is (escaped
// for a single-quoted attribute when asked). Internal to src/platform.
//
// Dates repeat a lot within a voucher (lines entered on the same day, the head's date on every
// line), so the texts of recent dates are kept.
class XmlValueWriter
{
public:
    explicit XmlValueWriter(XmlTextBuffer &out)
        : m_out(out)
    {}

    // Room every value that is not text needs at most.
    static constexpr qsizetype kScalarRoom = 48;

    // Whether the value is NULL. QVariant::isNull() is a call into QtCore, and over the values of
    // a large body such calls cost as much as the rest of the writing; the variant's data carries
    // the same flag inline. (isNull() also looks inside pointer types, which queries never give.)
    static bool isNull(const QVariant &v)
    {
        const QVariant::Private &d = v.data_ptr();
        return d.is_null || !d.typeInterface();
    }

    // A value that is not text written at p (kScalarRoom bytes free): returns the end, or nullptr
    // when the value is text-like and goes through appendTextLike().
    char *writeScalar(char *p, const QVariant &v);
    // Text, bytes and any other type (through QVariant::toString()).
    void appendTextLike(const QVariant &v, bool escape);
    // Either of the two.
    void append(const QVariant &v, bool escape);

    // UTF-16 to UTF-8, escaped for a single-quoted attribute when asked, the way pugixml escapes:
    // & < and ' as entities, every control character as "&#DD;" (so line breaks survive the
    // white-space normalisation of attribute values), everything else as it is.
    static void appendText(XmlTextBuffer &out, QStringView text, bool escape);
    // One ASCII character at p as appendText escapes it (at most 5 bytes); returns the end.
    static char *writeEscapedAscii(char *p, char c);

private:
    char *writeCachedDate(char *p, const QDate &d);

    struct CachedDate
    {
        qint64 day = std::numeric_limits<qint64>::min();
        char text[10] = {};
    };

    XmlTextBuffer &m_out;
    CachedDate m_dates[8]; // by day: a few columns of dates that repeat from row to row
};
