#pragma once

#include "VoucherValues.h"

#include "host/PrintTemplate.h"
#include "output/OutputDocument.h"
#include "platform/Result.h"

class Connection;
class VoucherDocument;

// A voucher laid out by a print (or display) template as one document for every output: the
// template's title, its shown head items with their captions and formatted values, its shown body
// columns with captions, widths and decimals, and the lines read one at a time.
namespace VoucherPrintDocument {

// The document; fails with "打印模板中的项目[caption]在单据中不存在，请检查！" when a shown item
// names a field the voucher does not have, and "打印模板没有可打印的项目，请检查！" when nothing
// is shown. The values must outlive the document (its rows read them).
Result<OutputDocument> build(const PrintTemplate &t, const VoucherValues &values);

// The values of the documents the card shows (copied; the card may change its own meanwhile).
VoucherValues fromDocuments(const VoucherDocument &head, const VoucherDocument &body);
// The values of voucher `voucherId` of card `cardNumber`, read from the card's head and body
// views on `cnn`. "不存在该单据，请检查！" when there is no such voucher.
Result<VoucherValues> read(Connection &cnn, const QString &cardNumber, const QString &voucherId);

// The paper of a template's print setting.
PageSetup pageOf(const PrintSetting &setting);

} // namespace VoucherPrintDocument
