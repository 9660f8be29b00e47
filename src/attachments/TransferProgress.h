#pragma once

#include <QtGlobal>

#include <atomic>

// How far one file transfer has come, shared between the thread that moves the bytes and the one
// that shows the progress: the bytes moved of the total, and the user's request to stop. Whoever
// moves the bytes checks `cancelled` at its safe points (after a chunk, before a commit) and
// undoes its work when it is set.
struct TransferProgress
{
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancelled{false};
};
