#pragma once

#include <QString>

#include <optional>

// Numbers as the card shows and takes them: plain decimal text, never scientific notation.
namespace NumberText {

// The number `text` holds ("" for an empty text), with `decimals` places (-1: as many as it
// needs, up to 10). Text that is no number is given back as it is.
QString shown(const QString &text, int decimals = -1);
QString shown(double value, int decimals = -1);
// The number typed: digits with an optional sign and decimal point; nullopt for anything else
// (letters, exponents) and for values beyond what a voucher column holds (±1e15).
std::optional<double> parse(const QString &text);

} // namespace NumberText
