#pragma once

#include "host/ReportRunner.h"

// The report runner of the desktop application: prints, previews or designs a voucher through its
// card's default print template (vouchers.DEF_ID_PRN, or the card's first print template when that
// is not one). "print" opens the system's print dialog (a printer or a PDF file), "preview" Qt's
// print preview, "design" the print-layout editor, which saves into the template. Works on a
// connection of its own opened from the connection string; every failure is shown in a message
// box and nothing is half-written. Runs on the user-interface thread.
class QtReportRunner final : public ReportRunner
{
public:
    QString ReportExec(const QString &connectionString, const QString &sessionValue, const QString &cardNumber,
                       const QString &voucherId, const QString &mode, const QString &accountId,
                       const QString &reportValue, const QString &options) override;

    // Installs one runner for the life of the program.
    static void installShared();
};
