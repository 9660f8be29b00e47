#pragma once

#include <QString>
#include <QVariantList>

// A condition for a WHERE clause with its values bound: `text` holds one "?" per entry of
// `params`, in order, and never a value itself, so nothing a user typed can change the statement.
struct SqlCondition
{
    QString text;
    QVariantList params;

    bool isEmpty() const { return text.trimmed().isEmpty(); }
};
