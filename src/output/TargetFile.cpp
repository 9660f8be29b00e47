#include "TargetFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

TargetFile::TargetFile(QString finalPath)
    : m_final(std::move(finalPath))
{}

TargetFile::~TargetFile()
{
    if (!m_committed && !m_partial.isEmpty())
        QFile::remove(m_partial);
}

QString TargetFile::cannotWrite(const QString &path)
{
    return QStringLiteral("文件“%1”无法写入，请检查路径和权限！").arg(QDir::toNativeSeparators(path));
}

Result<QString> TargetFile::open()
{
    const QFileInfo target(m_final);
    if (m_final.isEmpty() || target.isDir() || !target.absoluteDir().exists())
        return fail(cannotWrite(m_final));
    // A unique name in the same folder, so the final rename stays on one file system.
    QTemporaryFile probe(target.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.part").arg(target.fileName())));
    probe.setAutoRemove(false);
    if (!probe.open())
        return fail(cannotWrite(m_final));
    m_partial = probe.fileName();
    probe.close();
    return m_partial;
}

Result<void> TargetFile::commit()
{
    // rename(2) replaces an existing file in one step, where QFile::rename would refuse.
    if (std::rename(QFile::encodeName(m_partial).constData(), QFile::encodeName(m_final).constData()) != 0)
        return fail(cannotWrite(m_final));
    m_committed = true;
    return {};
}
