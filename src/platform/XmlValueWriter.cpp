#include "XmlValueWriter.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <charconv>
#include <cmath>

namespace {

char *writeInteger(char *p, long long v)
{
    return std::to_chars(p, p + 24, v).ptr;
}

char *writeUnsigned(char *p, unsigned long long v)
{
    return std::to_chars(p, p + 24, v).ptr;
}

// m / 10^decimals in fixed notation; m has no trailing zero unless decimals is 0.
char *writeFixed(char *p, long long m, int decimals)
{
    if (m < 0) {
        *p++ = '-';
        m = -m;
    }
    char digits[24];
    char *end = std::to_chars(digits, digits + sizeof digits, m).ptr;
    int count = int(end - digits);
    if (count <= decimals) {
        *p++ = '0';
        *p++ = '.';
        for (int i = count; i < decimals; ++i)
            *p++ = '0';
        std::memcpy(p, digits, size_t(count));
        return p + count;
    }
    std::memcpy(p, digits, size_t(count - decimals));
    p += count - decimals;
    if (decimals > 0) {
        *p++ = '.';
        std::memcpy(p, digits + count - decimals, size_t(decimals));
        p += decimals;
    }
    return p;
}

// The text QString::number(v, 'g', 15) gives: 15 significant digits, trailing zeros dropped, so
// 0.1 + 0.2 reads "0.3". Quantities and prices mostly have a few decimals; for those, the
// shortest decimal m / 10^k that converts back to exactly v is that same text, and finding it is
// much cheaper than general formatting. If m / 10^k equals v it has at most 15 significant
// digits here, so rounding v to 15 digits gives m / 10^k as well.
char *writeDouble(char *p, double v)
{
    if (v == 0) { // -0 as well, as QString::number writes it
        *p++ = '0';
        return p;
    }
    const double magnitude = std::fabs(v);
    if (magnitude >= 1e-4 && magnitude < 1e9) {
        static constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
        // Adding and taking away 1.5 * 2^52 rounds to an integer (|scaled| < 1e15 < 2^52)
        // without a call into libm.
        constexpr double kRound = 6755399441055744.0;
        for (int k = 0; k < 7; ++k) {
            const double scaled = v * kScale[k];
            const double rounded = (scaled + kRound) - kRound;
            // Only a near-integer can be the decimal; the division then proves it exactly.
            if (std::fabs(scaled - rounded) > std::fabs(scaled) * 1e-15)
                continue;
            const auto m = static_cast<long long>(rounded);
            if (k == 0 ? rounded == v : double(m) / kScale[k] == v)
                return writeFixed(p, m, k);
        }
    }
    return std::to_chars(p, p + 32, v, std::chars_format::general, 15).ptr;
}

char *writePadded(char *p, int v, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        p[i] = char('0' + v % 10);
        v /= 10;
    }
    return p + width;
}

char *writeDate(char *p, const QDate &d)
{
    if (!d.isValid())
        return p;
    int y = 0, m = 0, day = 0;
    d.getDate(&y, &m, &day);
    p = writePadded(p, y, 4);
    *p++ = '-';
    p = writePadded(p, m, 2);
    *p++ = '-';
    return writePadded(p, day, 2);
}

char *writeTime(char *p, const QTime &t)
{
    if (!t.isValid())
        return p;
    p = writePadded(p, t.hour(), 2);
    *p++ = ':';
    p = writePadded(p, t.minute(), 2);
    *p++ = ':';
    return writePadded(p, t.second(), 2);
}

// The type and the stored value, read from the variant's data inline: typeId() and constData()
// are calls into QtCore (see isNull() in the header).
int typeOf(const QVariant &v)
{
    return v.data_ptr().typeId();
}

template<typename T> const T &as(const QVariant &v)
{
    return *static_cast<const T *>(v.data_ptr().storage());
}

} // namespace

char *XmlValueWriter::writeScalar(char *p, const QVariant &v)
{
    switch (typeOf(v)) {
    case QMetaType::Bool:
        std::memcpy(p, as<bool>(v) ? "True" : "False", as<bool>(v) ? 4 : 5);
        return p + (as<bool>(v) ? 4 : 5);
    case QMetaType::Int:
        return writeInteger(p, as<int>(v));
    case QMetaType::LongLong:
        return writeInteger(p, as<qlonglong>(v));
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::Char:
    case QMetaType::SChar:
        return writeInteger(p, v.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return writeUnsigned(p, v.toULongLong());
    case QMetaType::Double:
        return writeDouble(p, as<double>(v));
    case QMetaType::Float:
        // Shortest text that reads back as the same float; widening to double first would
        // show the binary noise (0.1f as 0.100000001490116).
        return std::to_chars(p, p + 24, as<float>(v)).ptr;
    case QMetaType::QDate:
        return writeCachedDate(p, as<QDate>(v));
    case QMetaType::QTime:
        return writeTime(p, as<QTime>(v));
    case QMetaType::QDateTime: {
        const QDateTime &dt = as<QDateTime>(v);
        if (!dt.isValid())
            return p;
        p = writeCachedDate(p, dt.date());
        *p++ = 'T';
        return writeTime(p, dt.time());
    }
    default:
        return nullptr;
    }
}

void XmlValueWriter::appendTextLike(const QVariant &v, bool escape)
{
    switch (typeOf(v)) {
    case QMetaType::QString:
        appendText(m_out, as<QString>(v), escape);
        return;
    case QMetaType::QByteArray:
        m_out.append(as<QByteArray>(v).toHex());
        return;
    default:
        appendText(m_out, v.toString(), escape);
        return;
    }
}

void XmlValueWriter::append(const QVariant &v, bool escape)
{
    char *p = m_out.reserve(kScalarRoom);
    if (char *end = writeScalar(p, v))
        m_out.commit(end);
    else
        appendTextLike(v, escape);
}

char *XmlValueWriter::writeEscapedAscii(char *p, char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && c != '&' && c != '<' && c != '\'') {
        *p++ = c;
        return p;
    }
    const char *entity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '\'' ? "&apos;" : nullptr;
    if (entity) {
        const size_t n = std::strlen(entity);
        std::memcpy(p, entity, n);
        return p + n;
    }
    *p++ = '&';
    *p++ = '#';
    *p++ = char('0' + u / 10);
    *p++ = char('0' + u % 10);
    *p++ = ';';
    return p;
}

void XmlValueWriter::appendText(XmlTextBuffer &out, QStringView text, bool escape)
{
    char *p = out.reserve(text.size() * 6);
    const char16_t *s = text.utf16();
    const char16_t *end = s + text.size();
    while (s < end) {
        char32_t c = *s++;
        if (c < 0x80) {
            p = escape ? writeEscapedAscii(p, char(c)) : (*p++ = char(c), p);
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && s < end && *s >= 0xDC00 && *s < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(*s++) - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // a lone surrogate cannot be written as UTF-8
        if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
        } else {
            *p++ = char(0xF0 | (c >> 18));
            *p++ = char(0x80 | ((c >> 12) & 0x3F));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
        }
        *p++ = char(0x80 | (c & 0x3F));
    }
    out.commit(p);
}

char *XmlValueWriter::writeCachedDate(char *p, const QDate &d)
{
    if (!d.isValid())
        return p;
    const qint64 day = d.toJulianDay();
    CachedDate &slot = m_dates[size_t(day) % std::size(m_dates)];
    if (slot.day != day) {
        writeDate(slot.text, d);
        slot.day = day;
    }
    std::memcpy(p, slot.text, sizeof slot.text);
    return p + sizeof slot.text;
}
