#pragma once

#include <QString>

class BaseCheck;
class FreeItemCheck;
class VoucherDocument;

// Checks one value of the head or of a body line as the card asks after an edit: numbers that must
// be positive or within a range, the expand flag, and master-data fields through BaseCheck and
// FreeItemCheck. Numbers are read as the leading number of the text (0 when there is none).
// Answers "" or the message with its "表头：" / "表体：" prefix; domReturn (when given) receives the
// row of a master-data check.
class SingleValueCheck
{
public:
    SingleValueCheck(BaseCheck &base, FreeItemCheck &freeItems)
        : m_base(base)
        , m_freeItems(freeItems)
    {}

    QString head(const VoucherDocument &domHead, const QString &field, VoucherDocument *domReturn);
    // Checks the first row of domBody: the card hands the engine the line under test as the body.
    QString body(const VoucherDocument &domBody, const QString &field, VoucherDocument *domReturn);

private:
    QString headMessage(const VoucherDocument &domHead, const QString &field, VoucherDocument *domReturn);
    QString bodyMessage(const VoucherDocument &domBody, const QString &field, VoucherDocument *domReturn);

    BaseCheck &m_base;
    FreeItemCheck &m_freeItems;
};
