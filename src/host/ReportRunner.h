#pragma once

#include <QString>

// The host's report runner: prints, previews or designs a voucher's print template. It has one
// entry point with eight text arguments; the application installs the runner it uses.
class ReportRunner
{
public:
    virtual ~ReportRunner() = default;

    // Runs the report of one voucher. The answer is the runner's own text; callers ignore it.
    // Arguments, in this order: the connection string of the voucher's database, the session token,
    // the card number, the voucher identifier, the mode ("print", "preview" or "design"), the
    // account identifier, the session's report value and the runner's options text.
    virtual QString ReportExec(const QString &connectionString, const QString &sessionValue, const QString &cardNumber,
                               const QString &voucherId, const QString &mode, const QString &accountId,
                               const QString &reportValue, const QString &options)
        = 0;

    // The runner in use. Without an installed one, requests are written to the log and nothing is
    // printed.
    static ReportRunner &current();
    // Installs a runner (not owned; the caller keeps it alive while installed). nullptr restores
    // the logging default.
    static void install(ReportRunner *runner);
};
