#pragma once

#include <QString>

class Connection;
class VoucherDocument;

// Checks the value of a free item (cfree1..cfree10) of an item: the item must use the free item
// (its bFree flag) and the value must be one of the free item's values in UserDefine, typed as the
// value or as its alias. Fields that are not free items pass.
//
// An empty value passes: nothing was entered, so there is nothing to check (whether the item must
// have one is the save's business). The answer row (domReturn, when given) holds the field with the
// value as listed, or empty text when nothing was found.
//
// A database error does not stop the user: it is logged and the value passes.
class FreeItemCheck
{
public:
    explicit FreeItemCheck(Connection &cnn)
        : m_cnn(cnn)
    {}

    QString check(const QString &field, const QString &value, const QString &invCode, VoucherDocument *domReturn);

    // As check(), but a value that is not in the list may still be accepted as a new entry of the
    // free item's archive when the display template's field allows that (voucheritems.BuildArchives).
    // The template's field is looked up in section cardSection ("t" head, "b" body); when
    // cardSection is empty, in the head and then in the body, and cardSection tells where it was
    // found. buildArchives comes back true when the value was accepted as a new entry, so that the
    // caller may add it to the archive, else false. templateCnn, when given, answers the template
    // question instead of the check's connection.
    QString check2(const QString &field, const QString &value, const QString &invCode, VoucherDocument *domReturn,
                   const QString &sVTID, QString &cardSection, bool &buildArchives, Connection *templateCnn);

private:
    enum class Verdict { Accepted, NotUsed, NotListed };
    struct Outcome
    {
        Verdict verdict = Verdict::Accepted;
        QString itemName;
    };
    // The field (lower-cased), the value as compared, and the free item's number; number 0 when
    // there is nothing to check (no free item, or an empty value, for which domReturn is cleared).
    struct Typed
    {
        QString field;
        QString value;
        int number = 0;
    };
    static Typed typedFreeItem(const QString &field, const QString &value, VoucherDocument *domReturn);
    // Number of the free item (1..10), or 0 for a field that is not one.
    static int itemNumber(const QString &field);
    Outcome run(const QString &field, int number, const QString &value, const QString &invCode,
                VoucherDocument *domReturn);
    QString message(const Outcome &outcome) const;
    QString templateAnswer(const QString &field, const QString &sVTID, QString &cardSection, bool &buildArchives,
                           Connection &cnn, const QString &itemName);

    Connection &m_cnn;
};
