#pragma once

#include "TransferProgress.h"

#include "platform/Result.h"

#include <QString>

#include <functional>

class Connection;

// Runs the part of an upload or download that moves a file's bytes. The attachment store hands
// every transfer to its runner; without one (or for small files) the transfer runs at once on the
// store's connection. A runner may instead run it on another thread with a connection of its own
// to the same database, and let the user follow and cancel it (BackgroundTransfers).
class TransferRunner
{
public:
    // The transfer itself: works on `cnn` only (which may not be the store's), reports into
    // `progress` and stops at its next safe point once `progress.cancelled` is set, undoing what it
    // did. Answers a number (the stored row's identifier, or the bytes written) or the reason it
    // failed.
    using Job = std::function<Result<qint64>(Connection &cnn, TransferProgress &progress)>;

    virtual ~TransferRunner() = default;

    // Runs `job` for a file of `bytes` bytes described to the user by `label`, on `storeConnection`
    // or on a connection of the runner's own, and answers the job's answer.
    virtual Result<qint64> run(const QString &label, qint64 bytes, Connection &storeConnection, const Job &job) = 0;

    // The reason a cancelled transfer answers with; callers tell it apart from failures by it.
    static QString cancelledText() { return QStringLiteral("传输已取消"); }
};
