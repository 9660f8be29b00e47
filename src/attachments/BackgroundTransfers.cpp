#include "BackgroundTransfers.h"

#include "platform/Connection.h"

#include <thread>

BackgroundTransfers::BackgroundTransfers(TransferWait &wait, qint64 threshold)
    : m_wait(wait)
    , m_threshold(threshold)
{}

Result<qint64> BackgroundTransfers::run(const QString &label, qint64 bytes, Connection &storeConnection, const Job &job)
{
    TransferProgress progress;
    progress.total = bytes;
    if (bytes < m_threshold || storeConnection.inTransaction())
        return job(storeConnection, progress);

    const QString connectionString = storeConnection.ConnectionString();
    Result<qint64> answer = fail(QString());
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        {
            Connection own;
            auto opened = own.Open(connectionString);
            answer = opened ? job(own, progress) : Result<qint64>(fail(opened.error()));
        } // the connection is closed and removed on this thread, which owns it
        finished = true;
    });
    m_wait.waitFor(label, progress, [&finished] { return finished.load(); });
    worker.join();
    return answer;
}
