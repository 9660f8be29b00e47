#pragma once

#include <QtGlobal>

// What the attachment window shows of a voucher: its picture or its annex files.
enum class sFileType : qint16 {
    Nulls = 0,
    Picture = 1,
    Aannex = 2,
};
