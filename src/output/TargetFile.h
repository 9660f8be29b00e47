#pragma once

#include "platform/Result.h"

#include <QString>

// A file written beside its final name and moved into place only when complete: a failure or a
// cancel leaves no half-written file, and a file already at the final name stays as it was until
// the new one replaces it whole.
class TargetFile
{
public:
    explicit TargetFile(QString finalPath);
    ~TargetFile(); // removes the file being written unless it was committed
    TargetFile(const TargetFile &) = delete;
    TargetFile &operator=(const TargetFile &) = delete;

    // Where to write; fails with the system's message when the folder cannot take a file.
    Result<QString> open();
    // Moves the written file to the final name.
    Result<void> commit();

    static QString cannotWrite(const QString &path);

private:
    QString m_final;
    QString m_partial;
    bool m_committed = false;
};
