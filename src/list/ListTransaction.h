#pragma once

#include "platform/Connection.h"
#include "platform/Result.h"

#include <functional>

// Runs `work` in a transaction of its own on `cnn`: committed when the work succeeds, rolled back
// when it fails; the work's error, or the commit's, is the answer. The list's settings (columns,
// remembered filters) replace a user's rows this way, so a failure leaves the old ones.
inline Result<void> inTransaction(Connection &cnn, const std::function<Result<void>()> &work)
{
    if (auto begun = cnn.BeginTrans(); !begun)
        return begun;
    if (auto done = work(); !done) {
        cnn.RollbackTrans();
        return done;
    }
    return cnn.CommitTrans();
}
