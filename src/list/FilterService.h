#pragma once

#include "SqlCondition.h"

#include "platform/Result.h"

#include <QList>
#include <QString>

class Connection;

// A condition the filter dialog offers (table FilterItems): a list column with its caption and
// kind of value.
struct FilterItem
{
    QString field; // lower-case column of the list view
    QString caption;
    QString dataType;   // "text", "number" or "date"
    bool range = false; // offered as a from/to pair
};

// One condition the user gave: column, operator and value (a second value for "between").
struct FilterValue
{
    QString field;
    QString op;
    QString value;
    QString value2 = {};

    bool operator==(const FilterValue &) const = default;
};

// The filter service: which conditions a list's filter offers, what a user last asked for
// (table FilterValues, per report name, sub-identifier and user), and the condition that a set of
// filter values makes.
//
// The connection must outlive the service. Database failures come back as the database's text.
class FilterService
{
public:
    FilterService(Connection &cnn, QString userId);

    // The operators in the order the dialog offers them, with their captions.
    static QList<QPair<QString, QString>> operators();
    // Which operators suit a kind of value: text values also match by "contains" and "starts with".
    static QStringList operatorsFor(const QString &dataType);

    Result<QList<FilterItem>> items(const QString &reportName, const QString &subId) const;
    Result<QList<FilterValue>> remembered(const QString &reportName, const QString &subId) const;
    // Replaces what the user's filter remembers, in one transaction.
    Result<void> remember(const QString &reportName, const QString &subId, const QList<FilterValue> &values);

    // The condition of the values, joined with " and ", each value bound: a number converted, a
    // date read as yyyy-MM-dd, a text kept as typed (with "%" and "_" matched literally by the
    // like operators). Values with an empty value are left out. A column the items do not offer, an
    // unknown operator or a value that is not of its kind is refused with a message for the user.
    static Result<SqlCondition> condition(const QList<FilterItem> &items, const QList<FilterValue> &values);

private:
    Connection &m_cnn;
    QString m_userId;
};
