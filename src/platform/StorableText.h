#pragma once

#include <QString>

#include <optional>

// What text the databases keep exactly as it was given.
//
// Both databases store any Unicode text but these characters: U+0000 (PostgreSQL refuses it in
// text), a byte-order mark U+FEFF and the non-characters U+FFFE and U+FFFF (the drivers' UTF-16 and
// UTF-8 conversions drop, byte-swap or replace them), and a lone half of a surrogate pair (not
// Unicode at all). Text holding one of them is refused rather than stored changed.
namespace StorableText {

// The first character of text that cannot be stored as it is; nullopt when every one can. A lone
// surrogate is reported as its own code unit.
std::optional<char32_t> firstUnstorable(const QString &text);

// The number of characters (code points) in text: what a database's VARCHAR(n) counts.
qsizetype characterCount(const QString &text);

// "U+FEFF": how a character is named to a user.
QString characterName(char32_t c);

} // namespace StorableText
