#include "OutputCell.h"

#include "common/NumberText.h"

#include <optional>

namespace OutputCell {

std::optional<double> number(const OutputColumn &column, const QVariant &value)
{
    if (!column.isNumber() || value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::QString)
        return NumberText::parse(value.toString().trimmed());
    bool ok = false;
    const double v = value.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

QString text(const OutputColumn &column, const QVariant &value)
{
    if (value.isNull())
        return {};
    if (const auto v = number(column, value))
        return NumberText::shown(*v, column.decimals);
    return printable(value.toString());
}

QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            out += u' ';
        else if (c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

int widthInChars(const OutputColumn &column)
{
    return std::max(4, column.width > 0 ? column.width : int(column.caption.size()) * 2);
}

QVariantList totalsLine(const OutputDocument &doc)
{
    QVariantList totals = doc.totals;
    while (totals.size() < doc.columns.size())
        totals << QVariant();
    if (!doc.columns.isEmpty() && !doc.columns.front().isNumber() && totals.front().isNull())
        totals.front() = doc.totalsCaption;
    return totals;
}

RowsRead forEachRow(OutputDocument &doc, const OutputProgress &progress,
                    const std::function<bool(const QVariantList &row)> &write)
{
    constexpr qint64 kProgressEvery = 256;
    QVariantList row;
    qint64 done = 0;
    while (doc.nextRow && doc.nextRow(row)) {
        if (!write(row))
            return RowsRead::WriteFailed;
        if (++done % kProgressEvery == 0 && progress && !progress(done))
            return RowsRead::Cancelled;
    }
    if (progress && !progress(done))
        return RowsRead::Cancelled;
    return RowsRead::All;
}

QString cancelledMessage()
{
    return QStringLiteral("输出已取消，未生成文件。");
}

} // namespace OutputCell
