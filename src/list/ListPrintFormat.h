#pragma once

#include "output/OutputDocument.h"

#include <QString>

// The list's print format as the text kept in prn_format: the paper, its orientation and the
// margin, written as one XML element, <打印格式 纸张="A4" 方向="横向" 边距="12"/>. A text that
// cannot be read gives the default page: A4 landscape, as a list is wide.
namespace ListPrintFormat {

QString toText(const PageSetup &page);
PageSetup fromText(const QString &text);

} // namespace ListPrintFormat
