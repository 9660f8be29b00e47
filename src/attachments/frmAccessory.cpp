#include "frmAccessory.h"

#include "AccessoryButtonState.h"
#include "AccessoryView.h"

#include "common/MessageService.h"
#include "common/modPublic.h"
#include "host/CommandBarControl.h"
#include "host/DataGridControl.h"
#include "host/PictureControl.h"
#include "host/ToolbarControl.h"
#include "platform/Connection.h"

#include <QFileInfo>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Title = QStringLiteral("系统提示");
// The right to change a voucher, its attachments included.
const QString ChangeTask = QStringLiteral("SA03250102");

const QString PictureFilter = QStringLiteral("JPEG图像 *.jpg ,GIF图像 *.gif ,BMP位图 *.bmp|*.jpg;*.bmp;*.gif;|"
                                             "JPEG图像 *.jpg|*.jpg;|BMP位图  *.bmp|*.bmp;|GIF图像  *.gif|*.gif;");
const QString AnnexFilter = QStringLiteral("所有文件|*.*");

// The save dialog's filter for a stored file of extension `extension`.
QString saveFilter(const QString &extension)
{
    return extension + QStringLiteral(" 文件|*.") + extension;
}

MessageService::Answer ask(const QString &question, MessageService::Icon icon)
{
    return MessageService::current().show(question, Title, icon, MessageService::OkCancel);
}

} // namespace

frmAccessory::frmAccessory(std::shared_ptr<AccessoryView> view)
    : m_view(std::move(view))
    , m_transfers(*m_view)
{
    m_view->setAccessory(this);
    m_store.setTransferRunner(&m_transfers);
}

frmAccessory::~frmAccessory()
{
    m_view->setAccessory(nullptr);
}

void frmAccessory::ShowModal(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> cnn, ManagedWindow *owner)
{
    Load(fType, iAutoID, std::move(cnn));
    m_visible = true;
    m_view->execModal(owner);
    m_visible = false;
    Unload();
}

void frmAccessory::Load(sFileType fType, qint32 iAutoID, std::shared_ptr<Connection> cnn)
{
    m_kind = fType == sFileType::Picture ? fileType::Picture : fileType::annex;
    m_voucher = iAutoID;
    m_store.InitParameters(std::move(cnn), qint32(m_kind), iAutoID);
    m_file = FileClass();

    const bool picture = m_kind == fileType::Picture;
    const QString open = AccessoryButtonState::openKey(m_kind);
    m_view->setButtons({{open, QStringLiteral("打开")},
                        {AccessoryButtonState::uploadKey(m_kind), QStringLiteral("上传")},
                        {AccessoryButtonState::downloadKey(m_kind), QStringLiteral("下载")},
                        {AccessoryButtonState::deleteKey(), QStringLiteral("删除")},
                        {AccessoryButtonState::exitKey(), QStringLiteral("退出")}});
    modPublic::ApplyToolbarStyle(m_view->innerWidth(), m_view->toolbar(), m_view->commandBar());
    m_view->setCaption(picture ? QStringLiteral("查看图片") : QStringLiteral("查看附件"));
    m_view->showPicturePane(picture);
    m_view->tempGrid().setRows(1);
    m_view->serverGrid().setRows(1);
    m_view->clearPicture();
    resetLabels();
    m_readOnly = readVoucherConfirmed();

    if (picture) {
        showStoredPicture();
    } else {
        m_store.LoadServerAnnex(m_view->serverGrid());
        setButtonState(QStringLiteral("All"));
    }
    if (m_readOnly)
        m_view->showStatus(QStringLiteral("单据已审核，附件只能查看和下载"));
}

void frmAccessory::showStoredPicture()
{
    m_view->clearPicture();
    resetLabels();
    m_file = FileClass();
    auto shown = m_store.LoadServerPic(m_view->picture());
    if (shown) {
        m_file = *shown;
        showRowLabels(m_view->serverGrid(), -1);
    }
    setButtonState(shown ? QStringLiteral("Load") : QStringLiteral("All"));
}

bool frmAccessory::readVoucherConfirmed() const
{
    auto cnn = m_store.GetConnection();
    if (!cnn)
        return true; // nothing can be changed without a connection anyway
    auto rs = cnn->Query(QStringLiteral("SELECT cHandler FROM ManageSample WHERE iAutoID = ?"), {m_voucher});
    if (!rs) {
        // Unknown state: nothing may change until the window is opened again.
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, rs.error(), QStringLiteral("frmAccessory:Form_Load"));
        return true;
    }
    return !rs->isEmpty() && !rs->value(0).toString().trimmed().isEmpty();
}

void frmAccessory::unloading()
{
    m_view->setAccessory(nullptr);
    m_view->closeWindow();
}

void frmAccessory::CommandClick(const QString &key)
{
    if (key.compare(AccessoryButtonState::exitKey(), Qt::CaseInsensitive) == 0) {
        m_view->closeWindow();
        return;
    }
    // Keys reach us from both bars and their shortcuts; a disabled button is not pressed.
    if (!m_view->toolbar().isButtonEnabled(key))
        return;
    const bool picture = m_kind == fileType::Picture;
    auto is = [&key](const QString &k) {
        return key.compare(k, Qt::CaseInsensitive) == 0;
    };
    if (is(AccessoryButtonState::openKey(m_kind))) {
        if (mayChange())
            picture ? openPicture() : openAnnex();
    } else if (is(AccessoryButtonState::uploadKey(m_kind))) {
        if (mayChange())
            picture ? uploadPicture() : uploadAnnexes();
    } else if (is(AccessoryButtonState::downloadKey(m_kind))) {
        picture ? downloadPicture() : downloadAnnex();
    } else if (is(AccessoryButtonState::deleteKey())) {
        if (mayChange())
            picture ? deletePicture() : deleteAnnex();
    }
}

bool frmAccessory::mayChange() const
{
    if (!modPublic::CheckAuth(ChangeTask, false))
        return false;
    modPublic::CheckAuth(ChangeTask, true);
    return true;
}

void frmAccessory::openPicture()
{
    const auto choice = m_view->chooseFileToOpen(PictureFilter, QString());
    if (!choice)
        return;
    m_view->picture().setPicture(choice->fileName);
    if (!m_view->picture().isShowingPicture()) {
        modPublic::ShowInfo(
            QStringLiteral("文件 [ %1 ] 不是可以显示的图片（JPEG、GIF 或 BMP），请另选文件。").arg(choice->FileTitle));
        // Back to what the database holds; nothing was chosen.
        showStoredPicture();
        return;
    }
    m_file.InitOpenFileParameters(m_voucher, fileType::Picture, *choice);
    showRowLabels(m_view->serverGrid(), -1);
    setButtonState(QStringLiteral("PicOpenFile"));
    m_view->showStatus(QStringLiteral("已打开图片 %1，尚未上传").arg(m_file.GetFileName()));
}

void frmAccessory::uploadPicture()
{
    QString message;
    m_lastUploadSucceeded = m_store.SaveFile2Server(m_file, message);
    if (!m_lastUploadSucceeded) {
        if (!message.isEmpty())
            modPublic::ShowInfo(message);
        return;
    }
    setButtonState(QStringLiteral("PicUp"));
    modPublic::ShowInfo(QStringLiteral("上传图片成功!"));
    m_view->showStatus(QStringLiteral("图片 %1 已上传").arg(m_file.GetFileName()));
}

QString frmAccessory::chooseNewTarget(const QString &fileName, const QString &extension)
{
    const QString path = m_view->chooseFileToSave(saveFilter(extension), fileName, extension);
    if (path.isEmpty())
        return {};
    if (QFileInfo::exists(path)) {
        modPublic::ShowInfo(QStringLiteral("同名文件已经存在!请另选文件名!  "));
        return {};
    }
    return path;
}

void frmAccessory::downloadPicture()
{
    const QString path = chooseNewTarget(m_file.GetFileName(), m_file.GetFileExtension());
    if (path.isEmpty())
        return;
    m_store.DownLoad(path);
    if (QFileInfo::exists(path))
        m_view->showStatus(QStringLiteral("图片已保存到 %1").arg(path));
}

void frmAccessory::deletePicture()
{
    if (ask(QStringLiteral("是否删除在数据库中的图片?"), MessageService::Exclamation) != MessageService::AnswerOk)
        return;
    const bool deleted = m_store.DeleteFile();
    m_view->clearPicture();
    m_file = FileClass();
    resetLabels();
    setButtonState(QStringLiteral("All"));
    m_view->showStatus(deleted ? QStringLiteral("图片已删除") : QStringLiteral("数据库中已没有这张图片"));
}

void frmAccessory::openAnnex()
{
    const auto choice = m_view->chooseFileToOpen(AnnexFilter, QString());
    if (!choice)
        return;
    m_file.InitOpenFileParameters(m_voucher, fileType::annex, *choice);
    DataGridControl &waiting = m_view->tempGrid();
    m_store.AddAnnex2TempGrid(waiting, m_file);
    showRowLabels(waiting, waiting.Rows() - 1);
    setButtonState(QStringLiteral("AnnexOpenFile"));
    m_view->showStatus(QStringLiteral("%1 等待上传（共 %2 个）").arg(m_file.GetFileName()).arg(waiting.Rows() - 1));
}

void frmAccessory::uploadAnnexes()
{
    DataGridControl &waiting = m_view->tempGrid();
    if (waiting.Rows() < 2)
        return;
    if (ask(QStringLiteral("是否上传所有附件?     "), MessageService::Information) != MessageService::AnswerOk)
        return;
    const int before = waiting.Rows() - 1;
    QString message;
    m_lastUploadSucceeded = m_store.SaveAnnex2Server4TempGrid(waiting, m_view->serverGrid(), message);
    if (!m_lastUploadSucceeded && !message.isEmpty())
        modPublic::ShowInfo(message);
    m_lastGrid = Grid::None;
    m_tempRow = m_serverRow = 0;
    resetLabels();
    setButtonState(QStringLiteral("All"));
    const int stored = before - (waiting.Rows() - 1);
    m_view->showStatus(waiting.Rows() > 1
                           ? QStringLiteral("已上传 %1 个附件，%2 个仍在等待").arg(stored).arg(waiting.Rows() - 1)
                           : QStringLiteral("已上传 %1 个附件").arg(stored));
}

void frmAccessory::downloadAnnex()
{
    const DataGridControl &stored = m_view->serverGrid();
    if (m_lastGrid != Grid::Server || !isDataRow(stored, m_serverRow)) {
        modPublic::ShowInfo(QStringLiteral("请在数据库原来有附件中选择需要下载的附件!"));
        return;
    }
    const QString path = chooseNewTarget(stored.TextMatrix(m_serverRow, 1), stored.TextMatrix(m_serverRow, 3));
    if (path.isEmpty())
        return;
    m_store.DownLoad(path, m_serverRow, &stored);
    setButtonState(QStringLiteral("AnnexDownLoad"));
    if (QFileInfo::exists(path))
        m_view->showStatus(QStringLiteral("附件已保存到 %1").arg(path));
}

void frmAccessory::deleteAnnex()
{
    if (m_lastGrid == Grid::Temp) {
        DataGridControl &waiting = m_view->tempGrid();
        if (isDataRow(waiting, m_tempRow)) {
            const QString name = waiting.TextMatrix(m_tempRow, 1);
            waiting.RemoveItem(m_tempRow);
            m_view->showStatus(QStringLiteral("%1 已从等待上传的附件中移除").arg(name));
        }
        m_lastGrid = Grid::None;
        m_tempRow = 0;
        resetLabels();
        setButtonState(QStringLiteral("All"));
        return;
    }
    DataGridControl &stored = m_view->serverGrid();
    if (m_lastGrid != Grid::Server || !isDataRow(stored, m_serverRow)) {
        modPublic::ShowInfo(QStringLiteral("请在数据库原来有附件中选择需要删除的附件!"));
        return;
    }
    const int row = m_serverRow;
    const QString question = QStringLiteral("是否删除选中的附件?") + CrLf + CrLf + QStringLiteral("   记录序号：  ")
                             + stored.TextMatrix(row, 0) + CrLf + QStringLiteral("   文  件  名：  ")
                             + stored.TextMatrix(row, 1) + CrLf + QStringLiteral("   文件大小：  ")
                             + stored.TextMatrix(row, 2) + CrLf + QStringLiteral("   文件类型：  ")
                             + stored.TextMatrix(row, 3) + QStringLiteral("  文件") + QStringLiteral("\t\t");
    if (ask(question, MessageService::Exclamation) != MessageService::AnswerOk)
        return;
    const QString name = stored.TextMatrix(row, 1);
    const bool deleted = m_store.DeleteFile(stored.TextMatrix(row, 0).toInt());
    m_store.LoadServerAnnex(stored);
    m_lastGrid = Grid::None;
    m_serverRow = 0;
    resetLabels();
    setButtonState(QStringLiteral("All"));
    if (deleted) {
        m_view->showStatus(QStringLiteral("附件 %1 已删除").arg(name));
    } else {
        modPublic::ShowInfo(QStringLiteral("附件 [ %1 ] 已不在数据库中，可能已被其他用户删除。").arg(name));
    }
}

void frmAccessory::TempGridClick(int row)
{
    chooseRow(Grid::Temp, row);
}

void frmAccessory::ServerGridClick(int row)
{
    chooseRow(Grid::Server, row);
}

void frmAccessory::chooseRow(Grid grid, int row)
{
    const bool waiting = grid == Grid::Temp;
    const DataGridControl &rows = waiting ? m_view->tempGrid() : m_view->serverGrid();
    if (!isDataRow(rows, row))
        return;
    m_lastGrid = grid;
    (waiting ? m_tempRow : m_serverRow) = row;
    showRowLabels(rows, row);
    // A waiting row can go up or leave the grid; a stored one can be downloaded or deleted.
    setButtonState(waiting ? QStringLiteral("TempRow") : QStringLiteral("AnnexDownLoad"));
}

bool frmAccessory::isDataRow(const DataGridControl &grid, int row) const
{
    return row >= 1 && row < grid.Rows();
}

void frmAccessory::setButtonState(const QString &after)
{
    AccessoryButtonState::apply(m_view->toolbar(), m_kind, after, m_readOnly, m_view->tempGrid().Rows() > 1);
    m_view->commandBar().SynchronizeToolbar();
    m_view->commandBar().RefreshBar();
}

void frmAccessory::showRowLabels(const DataGridControl &grid, int row)
{
    // Row -1: the file held in the descriptor (the picture shown).
    const QString name = row < 0 ? m_file.GetFileName() : grid.TextMatrix(row, 1);
    const QString size = row < 0 ? m_file.GetFileSize() : grid.TextMatrix(row, 2);
    const QString type = row < 0 ? m_file.GetFileExtension() : grid.TextMatrix(row, 3);
    m_view->setFileLabels(QStringLiteral("文件名： ") + name, QStringLiteral("大  小： ") + size,
                          QStringLiteral("类  型： ") + type + QStringLiteral(" 文件"));
}

void frmAccessory::resetLabels()
{
    m_view->setFileLabels(QStringLiteral("文件名："), QStringLiteral("大  小："), QStringLiteral("类  型："));
}
