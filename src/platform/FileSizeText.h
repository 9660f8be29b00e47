#pragma once

#include <QString>

// The size text stored with an attachment: the largest of GB, MB and KB whose count is more than
// one (so 1024 bytes stay "1024.00 BYTE"), two decimals, no thousands separators; "12.34 KB".
QString fileSizeText(qint64 bytes);
