#pragma once

#include "ListColumn.h"

#include "platform/Result.h"

#include <QList>
#include <QString>

class Connection;

// The list-format service: the columns of a list per business object ("样品接单管理_LM") and
// user, kept in the table ListFormat. Rows with an empty cUserId are the default every user starts
// from; a user who saves column settings gets rows of their own, which then replace the default
// whole.
//
// The connection must outlive the service. Failures come back as the database's text for the
// caller to report.
class ListFormatService
{
public:
    ListFormatService(Connection &cnn, QString userId);

    // Reads the user's columns, or the default when the user has none; ordered by ItemOrder.
    Result<void> load(const QString &busObId);
    QString busObId() const { return m_busObId; }
    // Every column, shown or not, in their order.
    const QList<ListColumn> &columns() const { return m_columns; }
    QList<ListColumn> shownColumns() const;
    // The user's own settings replace the stored ones in one transaction; orders are renumbered
    // from 1 in the list's order.
    Result<void> save(QList<ListColumn> columns);
    // Drops the user's own settings; the default counts again.
    Result<void> resetToDefault();
    bool isUserFormat() const { return m_userFormat; }

private:
    Result<QList<ListColumn>> read(const QString &userId) const;

    Connection &m_cnn;
    QString m_userId;
    QString m_busObId;
    QList<ListColumn> m_columns;
    bool m_userFormat = false;
};
