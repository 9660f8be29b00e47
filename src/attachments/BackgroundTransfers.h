#pragma once

#include "TransferRunner.h"

#include <functional>

// Shows a transfer that runs on another thread until it has finished: a progress display with a
// cancel button that sets TransferProgress::cancelled. Implemented by the attachment window's
// view (a modal progress dialog); tests script it.
class TransferWait
{
public:
    virtual ~TransferWait() = default;
    // Returns once `finished` answers true, keeping the user interface alive meanwhile.
    virtual void waitFor(const QString &label, TransferProgress &progress, const std::function<bool()> &finished) = 0;
};

// Moves large files on a worker thread, so that the window that asked stays painted and the user
// can follow the transfer and cancel it. The worker opens its own connection from the store
// connection's connection string (a connection belongs to the thread that opened it) and closes it
// when done; the calling thread waits in TransferWait meanwhile. Small files, and every transfer
// while the store's connection is inside a transaction (which another connection could not join),
// run at once on the store's connection.
//
// One transfer at a time, started and finished on the user-interface thread.
class BackgroundTransfers final : public TransferRunner
{
public:
    // Files from this size on go to the worker thread.
    static constexpr qint64 DefaultThreshold = qint64(4) * 1024 * 1024;

    explicit BackgroundTransfers(TransferWait &wait, qint64 threshold = DefaultThreshold);

    Result<qint64> run(const QString &label, qint64 bytes, Connection &storeConnection, const Job &job) override;

    qint64 threshold() const { return m_threshold; }
    void setThreshold(qint64 bytes) { m_threshold = bytes; }

private:
    TransferWait &m_wait;
    qint64 m_threshold;
};
