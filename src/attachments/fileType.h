#pragma once

#include <QtGlobal>

// The kind of a stored attachment file (column fileType of OR_VN_fileTable).
enum class fileType : qint16 {
    Nulls = 0,
    Picture = 1,
    annex = 2,
};
