#pragma once

#include "FileClass.h"
#include "TransferRunner.h"

#include <QFile>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

class Connection;
class DataGridControl;
class PictureControl;

// Stores, lists, downloads and deletes the attachment files of one sample voucher and one kind
// (picture or annex) in OR_VN_fileTable.
//
// The store shares the caller's connection and is initialised once with it, the kind and the
// voucher. File bytes move between disk and database through BinaryColumn: a file is never held in
// memory more than about twice (once on the way down), and every value is bound as a parameter.
// Messages are shown through modPublic::ShowInfo and the installed MessageService; operations that
// report through `sMsg` show nothing themselves.
class DataStreamClass
{
public:
    // Files larger than this are refused on upload, with a message that names the limit.
    static constexpr qint64 DefaultMaxFileSize = qint64(100) * 1024 * 1024;

    void InitParameters(std::shared_ptr<Connection> conn, qint32 fType_Val, const QVariant &iAutoID_Val);

    // The connection when it is open, otherwise nullptr.
    std::shared_ptr<Connection> GetConnection() const;
    qint32 GetIAutoID() const { return m_iAutoID; }
    qint16 GetFileType() const { return m_fileType; }

    // The file opened for reading, or nullptr: an empty path is refused with a message, a file that
    // cannot be opened silently.
    std::unique_ptr<QFile> GetSaveFileStream(const QString &filePathName) const;

    // Stores one file. A picture where the voucher already has exactly one asks whether to
    // overwrite it; OK replaces the stored one, Cancel keeps it, and both answer true. Anything
    // else adds a row. False with the reason in sMsg when the file cannot be read, is over the size
    // limit or the database refuses it; nothing is then changed.
    bool SaveFile2Server(const FileClass &fileObj, QString &sMsg);
    // Uploads the files waiting in TempGrid (data rows from row 1, full path in column 4) one after
    // the other. Each stored file leaves TempGrid and is appended to ServerGrid with its new row
    // identifier. The first failure stops the run: false, the reason in sMsg, the failed file and
    // those after it still waiting.
    bool SaveAnnex2Server4TempGrid(DataGridControl &TempGrid, DataGridControl &ServerGrid, QString &sMsg);
    // The highest row identifier of the table, at least 1; -1 when the connection is closed.
    qint32 GetMaxID() const;
    // Appends a file to a grid: column 0 maxID when positive, otherwise the new row's number; then
    // name, size text, extension and, in the grid named "TempGrid", the full local path.
    void AddAnnex2TempGrid(DataGridControl &SGObj_SuperGrid, const FileClass &upFileObj, qint32 maxID = 0) const;
    // Fills the grid with this voucher's stored files of this kind, by row identifier.
    void LoadServerAnnex(DataGridControl &ServerGrid_SuperGrid) const;
    // Shows the voucher's picture in the control through a working file that is deleted again.
    // The descriptor of the picture, or nothing when there is none.
    std::optional<FileClass> LoadServerPic(PictureControl &imgObj) const;
    // Saves the picture, or the annex in row selSupGRow of the stored-files grid, to the full path
    // saveFilePath and tells the user where it went. An empty path does nothing.
    void DownLoad(const QString &saveFilePath, qint32 selSupGRow = 0,
                  const DataGridControl *ServerGrid_SuperGrid = nullptr) const;
    // Writes a stored file to disk: L_D 0 into the folder saveFilePath (under the stored name, which
    // never carries a folder), L_D 1 to the full path saveFilePath. An annex is the one whose row
    // identifier is in column 0 of row selSupGRow of the grid. An existing target is left as it is
    // (a picture's is deleted first) and the descriptor is returned all the same. Nothing when the
    // connection is closed, there is no such file or reading it fails (reported).
    std::optional<FileClass> GetServerData(const QString &saveFilePath, qint16 L_D, qint32 selSupGRow,
                                           const DataGridControl *ServerGrid_SuperGrid) const;
    // Deletes the picture, or the annex with row identifier Annex_fAutoID. True when exactly one
    // row was deleted.
    bool DeleteFile(qint32 Annex_fAutoID = 0);

    // The upload size limit (DefaultMaxFileSize unless changed).
    qint64 maxFileSize() const { return m_maxFileSize; }
    void setMaxFileSize(qint64 bytes) { m_maxFileSize = bytes; }
    // Who moves the bytes of uploads and downloads (not owned; nullptr: the store itself, at once).
    void setTransferRunner(TransferRunner *runner) { m_runner = runner; }
    // What the user is told when a transfer was cancelled: nothing was stored or written.
    static QString uploadCancelled() { return QStringLiteral("上传已取消，数据库中没有保存该文件。"); }
    static QString downloadCancelled() { return QStringLiteral("下载已取消，没有写入任何文件。"); }

    // The working folder for pictures on their way to the picture control: "TempPic" in the user's
    // cache folder unless changed.
    static QString workingFolder();
    static void setWorkingFolder(const QString &folder);

private:
    bool isConnectionOpen() const;
    // Runs a transfer through the runner, or at once on the store's connection.
    Result<qint64> transfer(const QString &label, qint64 bytes, const TransferRunner::Job &job) const;
    // The transfers themselves; they run on whichever connection and thread they are given and
    // show nothing. storeRow answers the stored row's identifier, fetchRow the bytes written (-1:
    // no such row; 0 also when the target already existed and was left alone).
    static Result<qint64> storeRow(Connection &cnn, const FileClass &fileObj, std::optional<qint64> replaceId,
                                   TransferProgress &progress);
    static Result<qint64> fetchRow(Connection &cnn, qint64 fAutoID, const QString &target, TransferProgress &progress);
    bool writeRowToFile(qint64 fAutoID, qint64 size, const QString &target, bool replaceExisting) const;

    std::shared_ptr<Connection> m_conn;
    qint32 m_iAutoID = 0;
    qint16 m_fileType = 0;
    qint64 m_maxFileSize = DefaultMaxFileSize;
    qint64 m_lastStoredId = 0;
    TransferRunner *m_runner = nullptr;
};
