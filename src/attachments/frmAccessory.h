#pragma once

#include "BackgroundTransfers.h"
#include "DataStreamClass.h"
#include "FileClass.h"

#include "entry/AccessoryWindow.h"

#include <memory>

class AccessoryView;
class DataGridControl;

// The attachment window's logic: shows, adds, downloads and deletes the picture (picture mode) or
// the annex files (annex mode) of one sample voucher, through one attachment store on the caller's
// connection. Files chosen in annex mode wait in TempGrid until they are uploaded together; the
// stored ones are listed in ServerGrid by their row identifier.
//
// Every command that changes data checks the right "SA03250102" first and gives it back at once;
// a confirmed voucher (its cHandler is set) can only be looked at and downloaded. After every
// action the buttons are set from the action, the grids and the voucher's confirmation
// (AccessoryButtonState). Files from BackgroundTransfers::DefaultThreshold on move on a worker
// thread with their own connection while the view shows their progress with a cancel button; a
// cancelled transfer stores or writes nothing.
//
// Made through WindowManager's attachment factory with its view; ShowModal loads the window, shows
// it modally and unloads it when it is closed. User-interface thread only; messages go through
// MessageService.
class frmAccessory final : public AccessoryWindow
{
public:
    explicit frmAccessory(std::shared_ptr<AccessoryView> view);
    ~frmAccessory() override;

    void ShowModal(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> cnn, ManagedWindow *owner) override;
    bool isVisible() const override { return m_visible; }
    void Show() override {}
    void ZOrder(int) override {}

    // Fills the window for voucher iAutoID without showing it: buttons and toolbar style, caption,
    // grids, the stored picture or files, button states.
    void Load(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> cnn);
    // A button of either bar, by key (letter case ignored). A button that is disabled does nothing.
    void CommandClick(const QString &key);
    // A click on a data row of the waiting or the stored grid.
    void TempGridClick(int row);
    void ServerGridClick(int row);

    bool isReadOnly() const { return m_readOnly; }
    fileType mode() const { return m_kind; }
    DataStreamClass &store() { return m_store; }
    BackgroundTransfers &transfers() { return m_transfers; }

protected:
    void unloading() override;

private:
    void openPicture();
    void uploadPicture();
    void downloadPicture();
    void deletePicture();
    void openAnnex();
    void uploadAnnexes();
    void downloadAnnex();
    void deleteAnnex();

    // Shows the stored picture, or the placeholder when there is none, with labels and buttons.
    void showStoredPicture();
    // The right to change attachments, checked and given back at once; false when refused.
    bool mayChange() const;
    bool readVoucherConfirmed() const;
    // Asks where to save a file named `fileName` of extension `extension`; empty when the dialog
    // was cancelled or the chosen file exists (that is said).
    QString chooseNewTarget(const QString &fileName, const QString &extension);
    void setButtonState(const QString &after);
    void showRowLabels(const DataGridControl &grid, int row);
    void resetLabels();
    bool isDataRow(const DataGridControl &grid, int row) const;
    enum class Grid { None, Temp, Server };
    // The user chose a data row of a grid: it is selected for the commands, its labels shown.
    void chooseRow(Grid grid, int row);

    std::shared_ptr<AccessoryView> m_view;
    BackgroundTransfers m_transfers;
    DataStreamClass m_store;
    FileClass m_file;
    fileType m_kind = fileType::annex;
    qint32 m_voucher = 0;
    bool m_readOnly = false;
    bool m_visible = false;
    bool m_lastUploadSucceeded = false;
    Grid m_lastGrid = Grid::None;
    int m_tempRow = 0;
    int m_serverRow = 0;
};
