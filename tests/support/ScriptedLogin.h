#pragma once

#include "host/clsLogin.h"

#include <QStringList>

// A session without a database that answers function requests from its settings and records
// every call, in order, as "RequestTask(SA03250101,1)", "FinishRequest", "GetRequestError".
class ScriptedLogin final : public clsLogin
{
public:
    explicit ScriptedLogin(const QString &connectionString = QStringLiteral("sqlite:///nowhere.db"))
        : clsLogin(connectionString, QStringLiteral("001"), QStringLiteral("zhang"), QStringLiteral("张三"),
                   QDate(2026, 12, 1))
    {}

    QString SessionValue() const override { return QStringLiteral("session-token"); }
    QString ReportValue() const override { return QStringLiteral("report-value"); }

    Result<void> RequestTask(const QString &taskId, short mode, const QString &text, bool &allowed) override
    {
        calls << QStringLiteral("RequestTask(%1,%2)").arg(taskId).arg(mode);
        requestTexts << text;
        allowed = false;
        if (!failure.isEmpty())
            return fail(failure);
        allowed = mode == TaskCheck ? holdsRight : mode == TaskEnter ? mayEnter : leaveAllowed;
        return {};
    }
    void FinishRequest() override { calls << QStringLiteral("FinishRequest"); }
    QString GetRequestError() const override
    {
        calls << QStringLiteral("GetRequestError");
        return busyReason;
    }

    bool holdsRight = true;
    bool mayEnter = true;
    bool leaveAllowed = true;
    QString busyReason = QStringLiteral("功能[SA03250101]正被用户 李四 (pc7/42) 使用");
    QString failure; // non-empty: every request fails with it

    mutable QStringList calls;
    QStringList requestTexts;
};
