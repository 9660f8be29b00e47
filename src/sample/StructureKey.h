#pragma once

#include <QString>

// A structure is named by its parent item, its version and its ten free items. The SQL here finds
// the structure a sample line or a bill-of-materials line stands for, in one place for the tree,
// the roll-up and the conversion.
//
// Codes compare exactly as stored (letter case and blanks count), versions and free items with a
// missing value read as empty text. When several bills of materials carry the same key (imported
// data, or structures written before the conversion refused duplicates), the oldest one (lowest
// iAutoId) is meant, so a line is never doubled by the join and costs are not counted twice. The
// same holds for child samples matched to a bill-of-materials line: the lowest iAutoID.
namespace StructureKey {

// "COALESCE(a.csocode,'') = COALESCE(b.csocode,'') AND COALESCE(a.cfree1,'') = ..." over the
// version and the ten free items of the two aliases.
QString sameVersionAndFreeItems(const QString &a, const QString &b);

// Scalar sub-query: iAutoId of the bill of materials for line alias `line` (columns cPSCode,
// csocode, cfree1..10), NULL when there is none.
QString bomOfLine(const QString &line);

// Scalar sub-query: iAutoID of the child sample (no voucher number) for the bill-of-materials line
// alias `line`: the sample of the line's component whose version and free items equal those of the
// line's child structure (ChildGUID), NULL when there is none.
QString childSampleOfBomLine(const QString &line);

// The ten columns "alias.cfree1, ..., alias.cfree10" each read as empty text when missing.
QString freeItemColumns(const QString &alias);

} // namespace StructureKey
