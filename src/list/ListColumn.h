#pragma once

#include <QString>

// One column of the voucher list as the list format keeps it for a user: the view column it
// shows, whether and where it is shown, its caption and width, and whether the totals row sums it.
struct ListColumn
{
    QString field; // lower-case column name of the list view
    QString caption;
    bool shown = true;
    int order = 0;
    int width = 0; // pixels; 0 lets the window choose
    bool sum = false;

    bool operator==(const ListColumn &) const = default;
};

// What a column holds, read from the view's declared types; decides number formats, the
// alignment and which columns may be summed.
enum class ListColumnKind { Text, Number, Date, Unknown };
