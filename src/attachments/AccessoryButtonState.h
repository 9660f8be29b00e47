#pragma once

#include "fileType.h"

#include <QString>

class ToolbarControl;

// Which of the attachment window's buttons can be pressed after an action. The four buttons are
// open, upload, download and delete; their keys depend on the mode (PicOpenFile or AnnexOpenFile,
// ...; delete is "Delete" in both). Exit is always available.
namespace AccessoryButtonState {

// The keys of the mode's buttons.
QString openKey(fileType mode);
QString uploadKey(fileType mode);
QString downloadKey(fileType mode);
QString deleteKey();
QString exitKey();

// Sets the buttons after action `after`:
//   picture  "All" (nothing shown)    open on, the rest off
//            "Load" (stored picture)  open, download, delete on; upload off
//            "PicOpenFile"            upload on, download and delete off; open unchanged
//            "PicUp"                  upload off, download and delete on; open unchanged
//   annex    "All" (nothing selected) open on, the rest off, but upload on while files wait
//            "AnnexOpenFile"          upload on, download off; open and delete unchanged
//            "AnnexDownLoad"          (a stored row chosen) upload off, download and delete on
//            "TempRow"                (a waiting row chosen) upload and delete on, download off
// A confirmed voucher (`readOnly`) then has open, upload and delete off whatever the action.
// An unknown action changes nothing but the read-only rule.
void apply(ToolbarControl &toolbar, fileType mode, const QString &after, bool readOnly, bool filesWaiting);

} // namespace AccessoryButtonState
