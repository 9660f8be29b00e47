#pragma once

#include "FileDialogChoice.h"
#include "fileType.h"

#include <QString>

class DataGridControl;
class Recordset;

// Describes one attachment file while it moves between the user's disk, the attachment window's
// grids and the attachment table: the voucher it belongs to, its name, local path, extension,
// kind, size text and, for downloads into a folder, that folder.
//
// File names held here never contain a folder: every initialiser keeps only the last part of the
// name it is given and replaces a name that is empty, "." or "..", so that joining the name to a
// folder can never lead out of that folder. A stored row without a name is written as "附件".
class FileClass
{
public:
    // The kind before an initialiser sets it: neither picture nor annex, and not Nulls either.
    static constexpr qint16 NoKind = -1;

    // From the file dialog: the chosen file, to be uploaded as kind fType of voucher iAutoID.
    void InitOpenFileParameters(qint32 iAutoID, fileType fType, const FileDialogChoice &codObj);
    // From row rowIndex of the waiting grid: column 1 the file name, column 4 the full local path.
    void InitSaveFileParameters4Annex(qint32 iAutoID, fileType fType, const DataGridControl &TempGrid, qint32 rowIndex);
    // From a stored row (fields fileNames, fileExtension, fileType, fileSize; the stored texts are
    // kept, not recomputed). L_D 0: the file goes into the folder saveFileTempDir, created when
    // missing. L_D 1: saveFileTempDir is the full target path chosen by the user.
    void InitDownLoadFileParameters(const Recordset &rectFields, const QString &saveFileTempDir, qint16 L_D);

    qint32 GetIAutoID() const { return m_iAutoID; }
    QString GetFileName() const { return m_fileName; }
    QString GetFilePath() const { return m_filePath; }
    QString GetFileExtension() const { return m_fileExtension; }
    qint16 GetFileType() const { return m_fileType; }
    QString GetFileSize() const { return m_fileSize; }
    // Where the file is, or is to be written: the file path when there is one, otherwise the working
    // folder, "/" and the file name.
    QString GetFileSavePath() const;

    // The size text of a file on disk ("1.50 KB"); a missing file counts as 0 bytes.
    static QString DecFileSize(const QString &filePath);
    // Everything after the last delimiter, in upper case; the whole text when there is none.
    static QString DecFileExtension(const QString &filePathName, const QString &strCase = QStringLiteral("."));
    // Makes sure the folder pathName exists (parents included) and returns it unchanged. The
    // current folder of the process is left alone.
    static QString CreateDir(const QString &pathName);

    // The last part of a name that may carry folders of either system ("a/b\c.txt" gives "c.txt"),
    // without control characters. Empty text stays empty (no file); "附件" when nothing usable is
    // left of a non-empty name (".", "..", a name ending in a separator).
    static QString safeFileName(const QString &name);

private:
    void reset();

    qint32 m_iAutoID = 0;
    QString m_fileName;
    QString m_filePath;
    QString m_fileExtension;
    qint16 m_fileType = NoKind;
    QString m_fileSize;
    QString m_fileSavePath;
};
