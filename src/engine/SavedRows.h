#pragma once

#include "platform/VoucherRow.h"

#include <QList>

class VoucherDocument;

// The rows a save is about to write, as the checks before the write see them: the head rows when
// the head is written (iState 1 or 2), and the body lines marked "A" or "M". A line carries the
// number the user sees it under: its place among the lines not marked "D", from 1, as the body
// checks count. Each row's attributes are read once, names in lower case, for every check to walk.
struct SavedRows
{
    struct Line
    {
        VoucherRow row;
        int number = 0; // 0 for a head row
        QList<VoucherAttribute> attributes;
    };

    QList<Line> heads;
    QList<Line> lines;

    static SavedRows of(int iState, const VoucherDocument &domHead, const VoucherDocument &domBody);
};
