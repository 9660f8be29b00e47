#pragma once

#include "attachments/AccessoryView.h"

#include <QDialog>

class AttachmentGrid;
class ClassicToolbar;
class CommandBar;
class QLabel;
class QStackedWidget;
class ScaledPicture;

// The attachment window (frmAccessory) on Qt: the commands on the classic toolbar or the command
// bar, the picture with its placeholder or the waiting and stored grids, the three labels of the
// chosen file and a status line. It is the view of a frmAccessory, which it tells about the user's
// commands and grid rows. Commands have shortcuts (Ctrl+O open, Ctrl+U upload, Ctrl+S download,
// Del delete, Esc exit). File dialogs are Qt's; transfers of large files show a modal progress
// dialog with a cancel button.
class AccessoryDialog : public QDialog, public AccessoryView
{
    Q_OBJECT

public:
    explicit AccessoryDialog(QWidget *parent = nullptr);
    ~AccessoryDialog() override;

    void setAccessory(frmAccessory *accessory) override { m_accessory = accessory; }
    void setCaption(const QString &caption) override { setWindowTitle(caption); }
    void setButtons(const QList<Button> &buttons) override;
    ToolbarControl &toolbar() override;
    CommandBarControl &commandBar() override;
    int innerWidth() const override { return width(); }
    void showPicturePane(bool picture) override;
    PictureControl &picture() override;
    void clearPicture() override;
    DataGridControl &tempGrid() override;
    DataGridControl &serverGrid() override;
    void setFileLabels(const QString &name, const QString &size, const QString &type) override;
    std::optional<FileDialogChoice> chooseFileToOpen(const QString &filter, const QString &fileName) override;
    QString chooseFileToSave(const QString &filter, const QString &fileName, const QString &defaultSuffix) override;
    void showStatus(const QString &text) override;
    void execModal(ManagedWindow *owner) override;
    void closeWindow() override;
    void waitFor(const QString &label, TransferProgress &progress, const std::function<bool()> &finished) override;

    // Qt's own file dialogs instead of the desktop's (tests drive them; default false).
    static void setUseQtFileDialogs(bool qtDialogs);

    // The parts, for tests and screenshots.
    QAction *command(const QString &key) const;
    ScaledPicture *pictureWidget() const { return m_picture; }
    QLabel *placeholder() const { return m_placeholder; }
    AttachmentGrid *waitingGrid() const { return m_tempGrid; }
    AttachmentGrid *storedGrid() const { return m_serverGrid; }
    QString statusText() const;
    QStringList fileLabels() const;
    ClassicToolbar *classicToolbar() const { return m_toolbar; }
    CommandBar *suiteCommandBar() const { return m_commandBar; }

private:
    QWidget *buildPicturePage();
    QWidget *buildAnnexPage();
    QWidget *buildFileLabels();
    void run(const QString &key);
    // The file dialog's folder: the one last used in this program.
    static QString &lastFolder();

    frmAccessory *m_accessory = nullptr;
    ClassicToolbar *m_toolbar;
    CommandBar *m_commandBar;
    QStackedWidget *m_pages;
    QStackedWidget *m_pictureStack;
    ScaledPicture *m_picture;
    QLabel *m_placeholder;
    AttachmentGrid *m_tempGrid;
    AttachmentGrid *m_serverGrid;
    QLabel *m_fileName;
    QLabel *m_fileSize;
    QLabel *m_fileExtension;
    QLabel *m_status;
};
