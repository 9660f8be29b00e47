#include "StorableText.h"

namespace StorableText {

std::optional<char32_t> firstUnstorable(const QString &text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < n && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
                ++i;
                continue;
            }
            return c;
        }
        if (QChar::isLowSurrogate(c) || c == 0x0000 || c == 0xFEFF || c == 0xFFFE || c == 0xFFFF)
            return c;
    }
    return std::nullopt;
}

qsizetype characterCount(const QString &text)
{
    qsizetype count = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (QChar::isHighSurrogate(text.at(i).unicode()) && i + 1 < n
            && QChar::isLowSurrogate(text.at(i + 1).unicode()))
            ++i;
        ++count;
    }
    return count;
}

QString characterName(char32_t c)
{
    return QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace StorableText
