#pragma once

#include "BackgroundTransfers.h"
#include "FileDialogChoice.h"

#include <QList>
#include <QString>

#include <optional>

class CommandBarControl;
class DataGridControl;
class ManagedWindow;
class PictureControl;
class ToolbarControl;
class frmAccessory;

// The attachment window's view: the window itself, its two bars, the picture with its placeholder,
// the waiting grid (TempGrid) and the stored grid (ServerGrid), the three labels describing the
// chosen file, the file dialogs and the progress of long transfers. The Qt dialog implements it;
// tests fake it.
class AccessoryView : public TransferWait
{
public:
    struct Button
    {
        QString key;
        QString caption;
    };

    // Where the view sends commands, grid clicks and the closing of the window; nullptr detaches it.
    virtual void setAccessory(frmAccessory *accessory) = 0;
    virtual void setCaption(const QString &caption) = 0;
    // Puts these buttons, in this order, on the classic toolbar (the command bar takes them over).
    virtual void setButtons(const QList<Button> &buttons) = 0;
    virtual ToolbarControl &toolbar() = 0;
    virtual CommandBarControl &commandBar() = 0;
    virtual int innerWidth() const = 0;

    // Shows the picture pane (picture mode) or the two grids (annex mode).
    virtual void showPicturePane(bool picture) = 0;
    virtual PictureControl &picture() = 0;
    // Empties the picture and shows the placeholder "暂无图片".
    virtual void clearPicture() = 0;
    virtual DataGridControl &tempGrid() = 0;
    virtual DataGridControl &serverGrid() = 0;
    // The texts of lblFileName, lblFileSize and lblFileExtension.
    virtual void setFileLabels(const QString &name, const QString &size, const QString &type) = 0;

    // The open dialog with a filter of "description|patterns" pairs; nothing when cancelled.
    virtual std::optional<FileDialogChoice> chooseFileToOpen(const QString &filter, const QString &fileName) = 0;
    // The save dialog; the chosen full path, or empty text when cancelled. The dialog itself does
    // not ask about an existing file: the window refuses it with its own message.
    virtual QString chooseFileToSave(const QString &filter, const QString &fileName, const QString &defaultSuffix) = 0;

    // A short line saying what the last command did ("已上传 2 个附件").
    virtual void showStatus(const QString &text) = 0;

    // Shows the window modally over `owner` (nullptr: over the active window) and returns when it
    // has been closed.
    virtual void execModal(ManagedWindow *owner) = 0;
    virtual void closeWindow() = 0;
};
