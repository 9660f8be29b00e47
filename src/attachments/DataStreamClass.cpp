#include "DataStreamClass.h"

#include "common/MessageService.h"
#include "common/modPublic.h"
#include "host/DataGridControl.h"
#include "host/PictureControl.h"
#include "platform/BinaryColumn.h"
#include "platform/Connection.h"
#include "platform/FileSizeText.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString closedConnection()
{
    return QStringLiteral("  数据库连接 con_IsOpen 对象为空或者连接没有打开!");
}

QString tooLarge(const QString &name, qint64 size, qint64 limit)
{
    return QStringLiteral("上传文件出错：") + CrLf + CrLf
           + QStringLiteral("  文件 [ %1 ] 的大小为 %2，超过了允许上传的最大值 %3，不能上传!")
                 .arg(name, fileSizeText(size), fileSizeText(limit));
}

BinaryColumn fileStreamColumn(Connection &cnn)
{
    return BinaryColumn(cnn, QStringLiteral("OR_VN_fileTable"), QStringLiteral("fileStream"),
                        QStringLiteral("fAutoID"));
}

// The file to upload, opened for reading; nullptr with the reason in `why` when it cannot be.
std::unique_ptr<QFile> openSource(const QString &path, QString *why)
{
    auto file = std::make_unique<QFile>(path);
    const bool folder = QFileInfo(path).isDir();
    if (folder || !file->open(QIODevice::ReadOnly)) {
        if (why)
            *why = QStringLiteral("无法读取文件 [ %1 ]：%2")
                       .arg(path, folder ? QStringLiteral("这是一个文件夹") : file->errorString());
        return nullptr;
    }
    return file;
}

QString &workingFolderSetting()
{
    static QString folder;
    return folder;
}

} // namespace

void DataStreamClass::InitParameters(std::shared_ptr<Connection> conn, qint32 fType_Val, const QVariant &iAutoID_Val)
{
    m_conn = std::move(conn);
    m_fileType = qint16(fType_Val);
    m_iAutoID = iAutoID_Val.toInt();
}

bool DataStreamClass::isConnectionOpen() const
{
    return m_conn && m_conn->State() != Connection::adStateClosed;
}

std::shared_ptr<Connection> DataStreamClass::GetConnection() const
{
    return isConnectionOpen() ? m_conn : nullptr;
}

std::unique_ptr<QFile> DataStreamClass::GetSaveFileStream(const QString &filePathName) const
{
    if (filePathName.isEmpty()) {
        modPublic::ShowInfo(QStringLiteral("上传文件的路径不能为空！"));
        return nullptr;
    }
    return openSource(filePathName, nullptr);
}

bool DataStreamClass::SaveFile2Server(const FileClass &fileObj, QString &sMsg)
{
    m_lastStoredId = 0;
    if (!isConnectionOpen()) {
        modPublic::ShowInfo(QStringLiteral("上传文件出错：") + CrLf + CrLf + closedConnection());
        return false;
    }
    if (fileObj.GetFileName().isEmpty())
        return false;
    // The file is opened and measured before anything is asked or written, so that a file that
    // cannot go up changes nothing.
    const QString path = fileObj.GetFilePath();
    std::unique_ptr<QFile> source = path.isEmpty() ? GetSaveFileStream(path) : openSource(path, &sMsg);
    if (!source)
        return false;
    if (source->size() > m_maxFileSize) {
        sMsg = tooLarge(fileObj.GetFileName(), source->size(), m_maxFileSize);
        return false;
    }

    const qint64 size = source->size();
    source.reset(); // the transfer opens the file again, possibly on another thread

    std::optional<qint64> replaceId;
    if (fileObj.GetFileType() == qint16(fileType::Picture)) {
        auto pictures = m_conn->Query(
            QStringLiteral("SELECT fAutoID FROM OR_VN_fileTable WHERE iAutoID = ? AND fileType = 1"), {m_iAutoID});
        if (!pictures) {
            sMsg = pictures.error();
            return false;
        }
        if (pictures->RecordCount() == 1) {
            const auto answer = MessageService::current().show(QStringLiteral("    数据库中已经存在图片!是否覆盖?"),
                                                               QStringLiteral("系统提示"), MessageService::NoIcon,
                                                               MessageService::OkCancel);
            if (answer != MessageService::AnswerOk)
                return true;
            replaceId = pictures->value(0).toLongLong();
        }
    }
    auto stored = transfer(QStringLiteral("正在上传 %1（%2）…").arg(fileObj.GetFileName(), fileSizeText(size)), size,
                           [fileObj, replaceId](Connection &cnn, TransferProgress &progress) {
                               return storeRow(cnn, fileObj, replaceId, progress);
                           });
    if (!stored) {
        sMsg = stored.error() == TransferRunner::cancelledText() ? uploadCancelled() : stored.error();
        return false;
    }
    m_lastStoredId = *stored;
    return true;
}

Result<qint64> DataStreamClass::transfer(const QString &label, qint64 bytes, const TransferRunner::Job &job) const
{
    if (m_runner)
        return m_runner->run(label, bytes, *m_conn, job);
    TransferProgress progress;
    progress.total = bytes;
    return job(*m_conn, progress);
}

Result<qint64> DataStreamClass::storeRow(Connection &cnn, const FileClass &fileObj, std::optional<qint64> replaceId,
                                         TransferProgress &progress)
{
    QString why;
    std::unique_ptr<QFile> source = openSource(fileObj.GetFilePath(), &why);
    if (!source)
        return fail(why);
    // The row and its bytes go in together: in the caller's transaction when one is open,
    // otherwise in one of our own.
    const bool ownTransaction = !cnn.inTransaction();
    if (ownTransaction) {
        auto begun = cnn.BeginTrans();
        if (!begun)
            return fail(begun.error());
    }
    auto failed = [&](const QString &reason) -> Result<qint64> {
        if (ownTransaction)
            cnn.RollbackTrans();
        return fail(reason);
    };

    QVariantList values{fileObj.GetIAutoID(), fileObj.GetFileName(), int(fileObj.GetFileType()), fileObj.GetFileSize(),
                        fileObj.GetFileExtension()};
    qint64 id = 0;
    if (replaceId) {
        id = *replaceId;
        values << id;
        auto updated = cnn.Execute(QStringLiteral("UPDATE OR_VN_fileTable SET iAutoID = ?, fileNames = ?, "
                                                  "fileType = ?, fileSize = ?, fileExtension = ? WHERE fAutoID = ?"),
                                   values);
        if (!updated)
            return failed(updated.error());
    } else {
        auto inserted = cnn.Scalar(QStringLiteral("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType, "
                                                  "fileSize, fileExtension) VALUES (?, ?, ?, ?, ?) RETURNING fAutoID"),
                                   values);
        if (!inserted)
            return failed(inserted.error());
        id = inserted->toLongLong();
    }
    auto written = fileStreamColumn(cnn).write(id, *source);
    if (!written)
        return failed(written.error());
    progress.done = source->size();
    // The last point at which a cancel can still leave nothing behind.
    if (progress.cancelled && ownTransaction)
        return failed(TransferRunner::cancelledText());
    if (ownTransaction) {
        auto committed = cnn.CommitTrans();
        if (!committed)
            return failed(committed.error());
    }
    return id;
}

bool DataStreamClass::SaveAnnex2Server4TempGrid(DataGridControl &TempGrid, DataGridControl &ServerGrid, QString &sMsg)
{
    // Data rows start below the title row; each stored file leaves from the top.
    const int waiting = TempGrid.Rows() - 1;
    for (int i = 0; i < waiting; ++i) {
        FileClass file;
        file.InitSaveFileParameters4Annex(m_iAutoID, fileType(m_fileType), TempGrid, 1);
        if (!SaveFile2Server(file, sMsg))
            return false;
        TempGrid.RemoveItem(1);
        // The new row's own identifier: a table-wide maximum could be another user's row.
        AddAnnex2TempGrid(ServerGrid, file, qint32(m_lastStoredId));
    }
    return true;
}

qint32 DataStreamClass::GetMaxID() const
{
    if (!isConnectionOpen())
        return -1;
    auto max = m_conn->Scalar(QStringLiteral("SELECT MAX(fAutoID) AS MaxID FROM OR_VN_fileTable"));
    if (!max)
        return -1;
    const qint64 value = max->isNull() ? 0 : max->toLongLong();
    return value >= 1 ? qint32(value) : 1;
}

void DataStreamClass::AddAnnex2TempGrid(DataGridControl &SGObj_SuperGrid, const FileClass &upFileObj,
                                        qint32 maxID) const
{
    SGObj_SuperGrid.setRows(SGObj_SuperGrid.Rows() + 1);
    const int row = SGObj_SuperGrid.Rows() - 1;
    SGObj_SuperGrid.setTextMatrix(row, 0, QString::number(maxID > 0 ? maxID : row));
    SGObj_SuperGrid.setTextMatrix(row, 1, upFileObj.GetFileName());
    SGObj_SuperGrid.setTextMatrix(row, 2, upFileObj.GetFileSize());
    SGObj_SuperGrid.setTextMatrix(row, 3, upFileObj.GetFileExtension());
    if (SGObj_SuperGrid.Name() == QLatin1String("TempGrid"))
        SGObj_SuperGrid.setTextMatrix(row, 4, upFileObj.GetFilePath());
}

void DataStreamClass::LoadServerAnnex(DataGridControl &ServerGrid_SuperGrid) const
{
    if (!isConnectionOpen())
        return;
    auto rs = m_conn->Query(QStringLiteral("SELECT fAutoID, fileNames, fileSize, fileExtension FROM OR_VN_fileTable "
                                           "WHERE iAutoID = ? AND fileType = ? ORDER BY fAutoID"),
                            {m_iAutoID, int(m_fileType)});
    if (!rs) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, rs.error(),
                              QStringLiteral("DataStreamClass:LoadServerAnnex"));
        return;
    }
    ServerGrid_SuperGrid.setRows(rs->RecordCount() + 1);
    for (int r = 0; r < rs->RecordCount(); ++r) {
        for (int c = 0; c < 4; ++c)
            ServerGrid_SuperGrid.setTextMatrix(r + 1, c, rs->value(r, c).toString());
    }
}

std::optional<FileClass> DataStreamClass::GetServerData(const QString &saveFilePath, qint16 L_D, qint32 selSupGRow,
                                                        const DataGridControl *ServerGrid_SuperGrid) const
{
    if (!isConnectionOpen()) {
        modPublic::ShowInfo(QStringLiteral("    下载文件出错：") + CrLf + CrLf + closedConnection());
        return std::nullopt;
    }
    const bool picture = m_fileType == qint16(fileType::Picture);
    QString sql
        = QStringLiteral("SELECT fAutoID, fileNames, fileType, fileSize, fileExtension, "
                         "LENGTH(fileStream) AS streamBytes FROM OR_VN_fileTable WHERE iAutoID = ? AND fileType = ?");
    QVariantList params{m_iAutoID, int(m_fileType)};
    if (picture) {
        sql += QStringLiteral(" ORDER BY fAutoID LIMIT 1");
    } else {
        // The stored row's identifier from column 0 of the chosen row, not the row's number.
        bool numeric = false;
        const qint64 fAutoID
            = ServerGrid_SuperGrid ? ServerGrid_SuperGrid->TextMatrix(selSupGRow, 0).trimmed().toLongLong(&numeric) : 0;
        if (!numeric)
            return std::nullopt;
        sql += QStringLiteral(" AND fAutoID = ?");
        params << fAutoID;
    }
    auto rs = m_conn->Query(sql, params);
    if (!rs) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, rs.error(),
                              QStringLiteral("DataStreamClass:GetServerData"));
        return std::nullopt;
    }
    if (rs->isEmpty())
        return std::nullopt;

    FileClass file;
    file.InitDownLoadFileParameters(*rs, saveFilePath, L_D);
    if (!writeRowToFile(rs->value(QStringLiteral("fAutoID")).toLongLong(),
                        rs->value(QStringLiteral("streamBytes")).toLongLong(), file.GetFileSavePath(), picture))
        return std::nullopt;
    return file;
}

bool DataStreamClass::writeRowToFile(qint64 fAutoID, qint64 size, const QString &target, bool replaceExisting) const
{
    if (replaceExisting)
        QFile::remove(target); // a stale working file; failing to remove it is not an error
    auto written = transfer(QStringLiteral("正在下载 %1（%2）…").arg(QFileInfo(target).fileName(), fileSizeText(size)),
                            size, [fAutoID, target](Connection &cnn, TransferProgress &progress) {
                                return fetchRow(cnn, fAutoID, target, progress);
                            });
    if (!written) {
        if (written.error() == TransferRunner::cancelledText())
            modPublic::ShowInfo(downloadCancelled());
        else
            modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, written.error(),
                                  QStringLiteral("DataStreamClass:GetServerData"));
        return false;
    }
    return *written >= 0;
}

Result<qint64> DataStreamClass::fetchRow(Connection &cnn, qint64 fAutoID, const QString &target,
                                         TransferProgress &progress)
{
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        // An existing file is never overwritten; the caller still gets the descriptor.
        if (QFileInfo::exists(target) && !QFileInfo(target).isDir())
            return 0;
        return fail(QStringLiteral("无法写入文件 [ %1 ]：%2").arg(target, out.errorString()));
    }
    auto read = fileStreamColumn(cnn).read(fAutoID, out, [&progress](qint64 written) {
        progress.done = written;
        return !progress.cancelled;
    });
    const bool flushed = read && out.flush();
    if (!read || !flushed || !*read) {
        const QString why = !read ? read.error() : out.errorString();
        out.close();
        out.remove(); // never leave half a file behind
        if (progress.cancelled)
            return fail(TransferRunner::cancelledText());
        if (!read || !flushed)
            return fail(why);
        return -1;
    }
    out.close();
    return out.size();
}

std::optional<FileClass> DataStreamClass::LoadServerPic(PictureControl &imgObj) const
{
    auto file = GetServerData(workingFolder(), 0, 0, nullptr);
    if (file && file->GetFileType() >= qint16(fileType::Picture)) {
        const QString path = file->GetFileSavePath();
        imgObj.setPicture(path);
        QFile::remove(path);
    }
    return file;
}

void DataStreamClass::DownLoad(const QString &saveFilePath, qint32 selSupGRow,
                               const DataGridControl *ServerGrid_SuperGrid) const
{
    if (saveFilePath.isEmpty())
        return;
    const bool picture = m_fileType == qint16(fileType::Picture);
    auto file = picture ? GetServerData(saveFilePath, 1, 0, nullptr)
                        : GetServerData(saveFilePath, 1, selSupGRow, ServerGrid_SuperGrid);
    if (!file)
        return;
    modPublic::ShowInfo((picture ? QStringLiteral("文件保存成功：") : QStringLiteral("附件保存成功：")) + CrLf + CrLf
                        + QStringLiteral("保存位置 [ ") + saveFilePath + QStringLiteral(" ]"));
}

bool DataStreamClass::DeleteFile(qint32 Annex_fAutoID)
{
    if (!isConnectionOpen())
        return false;
    auto deleted
        = m_fileType == qint16(fileType::Picture)
              ? m_conn->Execute(QStringLiteral("DELETE FROM OR_VN_fileTable WHERE iAutoID = ? AND fileType = 1"),
                                {m_iAutoID})
              : m_conn->Execute(QStringLiteral("DELETE FROM OR_VN_fileTable WHERE iAutoID = ? AND fileType = 2 "
                                               "AND fAutoID = ?"),
                                {m_iAutoID, Annex_fAutoID});
    return deleted && *deleted == 1;
}

QString DataStreamClass::workingFolder()
{
    QString &folder = workingFolderSetting();
    if (folder.isEmpty()) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (base.isEmpty())
            base = QDir::tempPath();
        folder = base + QStringLiteral("/TempPic");
    }
    return folder;
}

void DataStreamClass::setWorkingFolder(const QString &folder)
{
    workingFolderSetting() = folder;
}
