#pragma once

#include <QString>

// The list's profile file: private-profile settings (section, key = value) in a file of the
// user's configuration folder, where the list keeps its page size:
// "QVZLGLQM.ini", section "ZLGL_VoucherList", key "PageSize", default "30".
namespace ListProfile {

// The folder used for an empty or missing folder: ~/.config/Orvane (XDG_CONFIG_HOME moves it).
QString defaultFolder();
// folder + "/" (unless it ends with one) + fileName.
QString getMyPathFileName(const QString &folder, const QString &fileName);
// The value under section and key, or `defaultValue` when the file or the key is missing. Values
// longer than 254 characters are cut there, as a read into the fixed buffer is.
QString INIfileGetValue(const QString &section, const QString &key, const QString &defaultValue,
                        const QString &fileName, const QString &folder = QString());
// Writes the value, creating the folder and the file when needed. False when it cannot be written.
bool INIfileSetValue(const QString &section, const QString &key, const QString &value, const QString &fileName,
                     const QString &folder = QString());

// The list's own setting.
QString pageSizeText();
bool setPageSizeText(const QString &text);

} // namespace ListProfile
