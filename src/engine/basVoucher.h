#pragma once

#include "platform/Result.h"

#include <QString>
#include <QVariant>

class Connection;
class VoucherCardControl;
class VoucherDocument;
class VoucherRow;
struct TableColumn;

// Value functions of the voucher engine: single values of the head and body documents, and the
// card checks that run before a save. None of them fails: a missing row or attribute reads as "".
namespace basVoucher {

// Text of attribute lower(trim(field)) of the first z:row (the head row), or "".
QString GetHeadValue(const VoucherDocument &doc, const QString &field);

// Text of attribute lower(trim(field)) of the row-th z:row (0-based, counting every row, those
// marked for deletion included), or "".
QString GetBodyValue(const VoucherDocument &doc, const QString &field, int row);

// Sets attribute lower(field) of the head row to the value's text (VoucherDocument::valueText).
// A null value makes the column NULL (removes the attribute). No head row: nothing happens.
void SetHeadValue(VoucherDocument &doc, const QString &field, const QVariant &value);

// Checks that every required head item and, on body rows that name a product (cpscode), every
// required body column is filled. excluded lists field names that are not checked, each wrapped in
// commas (",ccode,"). Returns false only when the body has no live row naming a product; the
// caller refuses the save whenever msg is not empty.
bool CheckRequiredItems(VoucherCardControl &card, const QString &excluded, QString &msg);

// Gives every head item the same refused characters: text when useGiven, else the body's.
void SetHeadBadStr(VoucherCardControl &card, bool useGiven, const QString &text);

// The value to bind for a document's text in a column of that kind. Numbers: the number when the
// trimmed text is one, else NULL. Dates: the first ten characters when they are a date, else NULL.
// Flags: 0 for blank, "0", "false" (any case) and "否", else 1. Text: as it is. Binary and row
// version columns are never written from a document: NULL.
QVariant FormatSqlValue(const TableColumn &column, const QString &text);

// True when the row has no attribute of that name: the column is NULL in the document.
bool AttributeMissing(const VoucherRow &row, const QString &field);

// The condition that finds a head row as it was loaded: "<idColumn> = ? AND CAST(<versionColumn>
// AS TEXT) = ?", to be bound with the identifier and the row version's text. A statement guarded by
// it changes nothing when another user changed or deleted the row meanwhile.
QString RowVersionCondition(const QString &idColumn, const QString &versionColumn);

// Expands a formula of display template templateId: the text is lower-cased, then every
// "[FieldName]" of the template's fields, in any letter case, becomes "[CardFormula1]" (its
// caption), field after field in the template's key order (section, then field name). A database
// error leaves the formula as it was and is returned.
Result<void> ExpandFormula(Connection &cnn, qint32 templateId, QString &formula);

} // namespace basVoucher
