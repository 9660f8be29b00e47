#include "ListPaging.h"

#include <cmath>

namespace ListPaging {

namespace {

// The box's text as a number rounded half to even, when it is numeric and fits 32 bits.
std::optional<int> roundedNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return int(rounded);
}

} // namespace

std::optional<int> pageNumber(const QString &text)
{
    const auto n = roundedNumber(text);
    if (!n || *n < 1)
        return std::nullopt;
    return n;
}

std::optional<int> pageSize(const QString &text)
{
    const auto n = roundedNumber(text);
    if (!n || *n < 0 || *n > MaxPageSize)
        return std::nullopt;
    return n;
}

int effectivePageSize(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value <= 0 || value > MaxPageSize)
        return DefaultPageSize;
    return int(value);
}

int firstPage()
{
    return 1;
}

int previousPage(int current)
{
    return current <= 1 ? 1 : current - 1;
}

int nextPage(int current, int pageCount)
{
    return current >= pageCount ? lastPage(pageCount) : current + 1;
}

int lastPage(int pageCount)
{
    return pageCount == 0 ? 1 : pageCount;
}

int shownPage(int current, int pageCount)
{
    if (current <= 0)
        return 1;
    return current > pageCount ? lastPage(pageCount) : current;
}

QString pageNumberMessage()
{
    return QStringLiteral("转到页必须输入大于0的整型数字!");
}

QString pageSizeMessage()
{
    return QStringLiteral("页大小必须输入大于等于0且不大于5000的整型数字!");
}

} // namespace ListPaging
