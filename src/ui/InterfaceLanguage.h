#pragma once

class QCoreApplication;

// The interface speaks Simplified Chinese whatever the machine's locale: Qt's own texts (the
// buttons of message boxes and dialogs: 确定, 取消, 是, 否) come from Qt's translations, which
// the distribution installs beside Qt (Debian: qt6-translations-l10n).
namespace InterfaceLanguage {

// Installs Qt's Chinese translations into the application once; false when they are not
// installed (Qt's English texts are shown then).
bool install(QCoreApplication &app);

} // namespace InterfaceLanguage
