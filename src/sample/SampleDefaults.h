#pragma once

#include <QString>

class VoucherDocument;

// How a sample voucher's documents are tidied before they are checked and written.
class SampleDefaults
{
public:
    // Body rows whose component was cleared: a stored row (editprop "M") is marked "D" so that the
    // save deletes it; a new row (editprop "A") is dropped, it never reaches the database. Rows
    // without a cpscode column and unchanged rows are left alone.
    static void deleteEmptyRows(VoucherDocument &domBody);

    // Values every saved sample carries. templateColumn names the head's template column and
    // defaultTemplate fills it when it holds empty text (an empty templateColumn skips that). The
    // expand flag becomes 1 or 0; a top-level sample (with a number) carries no version; a live
    // body row's divisor tdqtyd of "" or "0" becomes 1.
    static void setDefaults(VoucherDocument &domHead, VoucherDocument &domBody, const QString &templateColumn,
                            qint32 defaultTemplate);
};
