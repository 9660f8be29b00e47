#include "FileClass.h"

#include "host/DataGridControl.h"
#include "platform/FileSizeText.h"
#include "platform/Recordset.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The name of a file whose own name leaves nothing usable.
QString unnamedFile()
{
    return QStringLiteral("附件");
}

} // namespace

void FileClass::reset()
{
    *this = FileClass();
}

void FileClass::InitOpenFileParameters(qint32 iAutoID, fileType fType, const FileDialogChoice &codObj)
{
    reset();
    m_iAutoID = iAutoID;
    m_fileName = safeFileName(codObj.FileTitle);
    m_filePath = codObj.fileName;
    m_fileExtension = DecFileExtension(m_fileName);
    m_fileType = qint16(fType);
    m_fileSize = DecFileSize(m_filePath);
}

void FileClass::InitSaveFileParameters4Annex(qint32 iAutoID, fileType fType, const DataGridControl &TempGrid,
                                             qint32 rowIndex)
{
    reset();
    m_iAutoID = iAutoID;
    m_fileType = qint16(fType);
    m_fileName = safeFileName(TempGrid.TextMatrix(rowIndex, 1));
    m_filePath = TempGrid.TextMatrix(rowIndex, 4);
    m_fileExtension = DecFileExtension(m_fileName);
    m_fileSize = DecFileSize(m_filePath);
}

void FileClass::InitDownLoadFileParameters(const Recordset &rectFields, const QString &saveFileTempDir, qint16 L_D)
{
    reset();
    m_fileName = safeFileName(rectFields.text(QStringLiteral("fileNames")));
    if (m_fileName.isEmpty())
        m_fileName = unnamedFile();
    m_fileExtension = rectFields.text(QStringLiteral("fileExtension"));
    m_fileType = qint16(rectFields.value(QStringLiteral("fileType")).toInt());
    m_fileSize = rectFields.text(QStringLiteral("fileSize"));
    if (L_D == 0)
        m_fileSavePath = CreateDir(saveFileTempDir);
    else if (L_D == 1)
        m_filePath = saveFileTempDir;
}

QString FileClass::GetFileSavePath() const
{
    if (!m_filePath.isEmpty())
        return m_filePath;
    if (m_fileSavePath.isEmpty())
        return m_fileName;
    return m_fileSavePath + QLatin1Char('/') + m_fileName;
}

QString FileClass::DecFileSize(const QString &filePath)
{
    return fileSizeText(filePath.isEmpty() ? 0 : QFileInfo(filePath).size());
}

QString FileClass::DecFileExtension(const QString &filePathName, const QString &strCase)
{
    const qsizetype at = strCase.isEmpty() ? -1 : filePathName.lastIndexOf(strCase);
    if (at < 0)
        return filePathName.toUpper();
    return filePathName.mid(at + strCase.size()).toUpper();
}

QString FileClass::CreateDir(const QString &pathName)
{
    if (!pathName.isEmpty())
        QDir().mkpath(pathName);
    return pathName;
}

QString FileClass::safeFileName(const QString &name)
{
    if (name.isEmpty())
        return {};
    const qsizetype cut = qMax(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    QString last = name.mid(cut + 1);
    last.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
    if (last.trimmed().isEmpty() || last == QLatin1String(".") || last == QLatin1String(".."))
        return unnamedFile();
    return last;
}
