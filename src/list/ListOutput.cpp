#include "ListOutput.h"

#include "platform/Connection.h"

#include <QSqlQuery>

namespace {

// The document's own connection and cursor, alive as long as the document's nextRow.
struct RowSource
{
    ListQuery query;
    QList<ListNumberFormats::Format> formats;
    QString connectionString;
    std::shared_ptr<QString> error;
    std::unique_ptr<Connection> cnn;
    std::unique_ptr<QSqlQuery> cursor;
    bool finished = false;

    bool open()
    {
        cnn = std::make_unique<Connection>();
        if (auto opened = cnn->Open(connectionString); !opened) {
            *error = opened.error();
            return false;
        }
        auto stream = query.openStream(*cnn);
        if (!stream) {
            *error = stream.error();
            return false;
        }
        cursor = std::move(*stream);
        return true;
    }

    bool next(QVariantList &row)
    {
        if (finished || (!cursor && !open())) {
            finished = true;
            return false;
        }
        if (!cursor->next()) {
            finished = true;
            cursor.reset();
            cnn.reset();
            return false;
        }
        row.clear();
        for (int k = 0; k < formats.size(); ++k)
            row << cell(cursor->value(k), formats.at(k));
        return true;
    }

    static QVariant cell(const QVariant &value, const ListNumberFormats::Format &format)
    {
        if (value.isNull())
            return QVariant();
        if (format.decimals >= 0) {
            bool ok = false;
            const double number = value.toDouble(&ok);
            return ok ? QVariant(number) : QVariant(value.toString());
        }
        return ListNumberFormats::text(value, format);
    }
};

} // namespace

OutputDocument ListOutput::document(const QString &title, const ListQuery &query, const ListPage &page,
                                    const QString &connectionString, std::shared_ptr<QString> error)
{
    OutputDocument doc;
    doc.title = title;
    for (int k = 0; k < page.columns.size(); ++k) {
        OutputColumn c;
        c.caption = page.columns.at(k).caption;
        c.width = page.columns.at(k).width / 8; // pixels to characters
        c.decimals = page.formats.at(k).decimals;
        doc.columns << c;
    }
    auto source = std::make_shared<RowSource>(RowSource{query, page.formats, connectionString,
                                                        error ? error : std::make_shared<QString>(), nullptr, nullptr});
    doc.nextRow = [source](QVariantList &row) {
        return source->next(row);
    };
    bool anyTotal = false;
    for (int k = 0; k < page.columns.size(); ++k) {
        const QVariant total = page.totals.value(k);
        doc.totals << (total.isNull() ? QVariant() : RowSource::cell(total, page.formats.at(k)));
        anyTotal = anyTotal || !total.isNull();
    }
    if (!anyTotal)
        doc.totals.clear();
    return doc;
}
