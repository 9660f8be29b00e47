#pragma once

#include "SaveFieldCaptions.h"
#include "SavedRows.h"

#include "platform/Result.h"

#include <QSet>
#include <QString>

class TableStructure;

// Checks every value a save is about to write against the column it goes to, so that what is
// stored is what the user typed, on both databases alike, or the save is refused naming the item:
//
// - a number column takes a number, read the one way the program reads numbers (basFunction::
//   ReadNumber: thousands commas and blanks aside, nothing but the number); an integer column a
//   whole number within its width. Empty text is no value (NULL). "2个" or "1.5kg" is refused,
//   never stored as NULL or as its leading number;
// - a date column takes a date;
// - a text column takes at most its declared length in characters (PostgreSQL enforces it,
//   SQLite would not) and no character that a database cannot keep (see StorableText).
//
// Attributes that are not columns of the table (display fields of the card) are not written and
// not checked; neither are the keys the engine assigns itself.
class SaveValueCheck
{
public:
    SaveValueCheck(const SaveFieldCaptions &captions, QSet<QString> engineKeys)
        : m_captions(captions)
        , m_engineKeys(std::move(engineKeys))
    {}

    // "" when every value fits, else one message per refused value, each ended by CR LF.
    QString check(const SavedRows &rows, const TableStructure &head, const TableStructure &body) const;

private:
    QString checkRow(const SavedRows::Line &row, const TableStructure &table, SaveFieldCaptions::Section section) const;

    const SaveFieldCaptions &m_captions;
    QSet<QString> m_engineKeys; // lower case
};
