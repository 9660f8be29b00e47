#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

class Connection;
class DataPermission;

// What the list keeps about printing: its print format in prn_format under the list's module key
// ("1801_0_Print_"), and the print templates of the card the user may use.
namespace ListPrintSettings {

// Stores the format text under the key: inserted the first time, updated afterwards. The text
// is bound, so any text (quotes included) is stored as it is.
Result<void> saveFormat(Connection &cnn, const QString &moduleId, const QString &formatText);

// The print templates of the card as "id name", in the database's order, restricted by the
// user's template permission ("DJMB": empty all, "1=2" none, else a list of identifiers).
Result<QStringList> templates(Connection &cnn, const QString &cardNumber, DataPermission &permission);

} // namespace ListPrintSettings
