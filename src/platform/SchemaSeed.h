#pragma once

#include "Connection.h"
#include "Result.h"

// The rows a new database needs before any window can open: the registration of voucher type
// "1801" with its display and print templates and their fields, the accounting options, the account,
// the numbering rule, the unnamed free items, the list's default columns and its filter conditions.
namespace SchemaSeed {

inline constexpr int kDisplayTemplateId = 180101;
inline constexpr int kPrintTemplateId = 180102;
inline constexpr const char *kAccountId = "001";

// Inserts the rows on the caller's connection and transaction; fails with the database's text.
Result<void> insert(Connection &cnn);

} // namespace SchemaSeed
