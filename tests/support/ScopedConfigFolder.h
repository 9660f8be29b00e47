#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// Points the user's configuration folder (XDG_CONFIG_HOME) at a temporary folder for its
// lifetime, so that profile files a test writes (the list's page size) start missing and go with it.
class ScopedConfigFolder
{
public:
    ScopedConfigFolder()
        : m_saved(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    ~ScopedConfigFolder() { qputenv("XDG_CONFIG_HOME", m_saved); }
    ScopedConfigFolder(const ScopedConfigFolder &) = delete;
    ScopedConfigFolder &operator=(const ScopedConfigFolder &) = delete;

    // The temporary folder, also a place for the test's other files.
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};
