#include "ListFormatService.h"

#include "ListTransaction.h"

#include "platform/Connection.h"

#include <algorithm>

ListFormatService::ListFormatService(Connection &cnn, QString userId)
    : m_cnn(cnn)
    , m_userId(std::move(userId))
{}

Result<QList<ListColumn>> ListFormatService::read(const QString &userId) const
{
    auto rs
        = m_cnn.Query(QStringLiteral("SELECT FieldName, Caption, bShow, ItemOrder, ColumnWidth, bSum FROM ListFormat "
                                     "WHERE BusObID = ? AND cUserId = ? ORDER BY ItemOrder, FieldName"),
                      {m_busObId, userId});
    if (!rs)
        return fail(rs.error());
    QList<ListColumn> out;
    for (int row = 0; row < rs->RecordCount(); ++row) {
        ListColumn c;
        c.field = rs->value(row, 0).toString().trimmed().toLower();
        c.caption = rs->value(row, 1).toString();
        c.shown = rs->value(row, 2).toInt() != 0;
        c.order = rs->value(row, 3).toInt();
        c.width = rs->value(row, 4).toInt();
        c.sum = rs->value(row, 5).toInt() != 0;
        if (c.caption.isEmpty())
            c.caption = c.field;
        out << c;
    }
    return out;
}

Result<void> ListFormatService::load(const QString &busObId)
{
    m_busObId = busObId;
    auto own = read(m_userId);
    if (!own)
        return fail(own.error());
    m_userFormat = !own->isEmpty();
    if (m_userFormat) {
        m_columns = *own;
        return {};
    }
    auto standard = read(QStringLiteral("")); // a null text would bind NULL, which matches no row
    if (!standard)
        return fail(standard.error());
    m_columns = *standard;
    return {};
}

QList<ListColumn> ListFormatService::shownColumns() const
{
    QList<ListColumn> out;
    std::copy_if(m_columns.begin(), m_columns.end(), std::back_inserter(out),
                 [](const ListColumn &c) { return c.shown; });
    return out;
}

Result<void> ListFormatService::save(QList<ListColumn> columns)
{
    auto done = inTransaction(m_cnn, [&]() -> Result<void> {
        auto removed = m_cnn.Execute(QStringLiteral("DELETE FROM ListFormat WHERE BusObID = ? AND cUserId = ?"),
                                     {m_busObId, m_userId});
        if (!removed)
            return fail(removed.error());
        int order = 0;
        for (ListColumn &c : columns) {
            c.order = ++order;
            auto written = m_cnn.Execute(
                QStringLiteral("INSERT INTO ListFormat (BusObID, cUserId, FieldName, ItemOrder, Caption, bShow, bSum, "
                               "ColumnWidth) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                {m_busObId, m_userId, c.field, c.order, c.caption, c.shown ? 1 : 0, c.sum ? 1 : 0, c.width});
            if (!written)
                return fail(written.error());
        }
        return {};
    });
    if (!done)
        return done;
    m_columns = std::move(columns);
    m_userFormat = true;
    return {};
}

Result<void> ListFormatService::resetToDefault()
{
    auto removed = m_cnn.Execute(QStringLiteral("DELETE FROM ListFormat WHERE BusObID = ? AND cUserId = ?"),
                                 {m_busObId, m_userId});
    if (!removed)
        return fail(removed.error());
    return load(m_busObId);
}
