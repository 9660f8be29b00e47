#include "ActionRetry.h"

#include "common/DeferredMessages.h"
#include "platform/Connection.h"

namespace {

constexpr int kRuns = 2;

} // namespace

QString ActionRetry::noConnectionText()
{
    return QStringLiteral("数据库连接已断开，请检查网络或数据库服务后重试!\r\n");
}

QString ActionRetry::outcomeUnknownText()
{
    return QStringLiteral("数据库连接中断，无法确认操作是否已完成，请刷新后查看!\r\n");
}

bool ActionRetry::reconnectIfLost()
{
    return !m_cnn.isLost() || m_cnn.Reopen().has_value();
}

QString ActionRetry::run(const std::function<QString()> &action, const std::function<QString()> &refusal)
{
    if (!reconnectIfLost())
        return noConnectionText();
    for (int run = 1;; ++run) {
        m_cnn.clearFailures();
        DeferredMessages held;
        const QString answer = action();
        const FailureKind kind = m_cnn.failureSinceCleared();
        if (answer.isEmpty() || (kind != FailureKind::Conflict && kind != FailureKind::Lost)) {
            held.release();
            return answer;
        }
        // What the run showed came from the database's failure, in the server's words.
        held.discard();
        if (kind == FailureKind::Lost) {
            const bool unknown = m_cnn.commitOutcomeUnknown();
            if (!m_cnn.Reopen())
                return noConnectionText();
            if (unknown)
                return outcomeUnknownText();
            if (run == kRuns)
                return noConnectionText();
        } else if (run == kRuns) {
            return refusal();
        }
    }
}
