#pragma once

#include "engine/VoucherBusiness.h"
#include "platform/Connection.h"
#include "platform/VoucherRow.h"

#include <QHash>
#include <QStringList>

#include <functional>

// A business object that logs every save callback in order and can be told to complain at any of
// them (the checks and the dependent writes return the text, the second-stage checks return false
// with it) or to run an action there on the save's connection.
class RecordingBusiness final : public VoucherBusiness
{
public:
    QStringList calls;
    QHash<QString, QString> complaints;                        // callback name -> text
    QHash<QString, std::function<void(Connection &)>> actions; // callback name -> action

    void BodyDeleteEmptyRow(VoucherDocument &) override { record(QStringLiteral("BodyDeleteEmptyRow")); }
    QString HeadSaveCheck(const VoucherDocument &) override { return check(QStringLiteral("HeadSaveCheck")); }
    QString BodySaveCheck(const VoucherDocument &) override { return check(QStringLiteral("BodySaveCheck")); }
    void DomSetDefault(VoucherDocument &, VoucherDocument &) override { record(QStringLiteral("DomSetDefault")); }
    bool HeadSaveCheck2(Connection &cnn, const VoucherRow &, qint32 &, QString &, QString &Msg) override
    {
        return secondStage(QStringLiteral("HeadSaveCheck2"), cnn, Msg);
    }
    QString SaveOther(Connection &cnn, const VoucherRow &, qint32 &) override
    {
        record(QStringLiteral("SaveOther"), &cnn);
        return complaints.value(QStringLiteral("SaveOther"));
    }
    QString DelOther(Connection &cnn, const VoucherRow &row) override
    {
        record(QStringLiteral("DelOther:") + row.value(QStringLiteral("isubid")), &cnn);
        return complaints.value(QStringLiteral("DelOther"));
    }
    bool BodySaveCheck2(Connection &cnn, const VoucherRow &, QString &MsgStr) override
    {
        return secondStage(QStringLiteral("BodySaveCheck2"), cnn, MsgStr);
    }

private:
    void record(const QString &name, Connection *cnn = nullptr)
    {
        calls << name;
        const QString step = name.section(QLatin1Char(':'), 0, 0);
        if (cnn && actions.contains(step))
            actions[step](*cnn);
    }
    QString check(const QString &name)
    {
        record(name);
        return complaints.value(name);
    }
    bool secondStage(const QString &name, Connection &cnn, QString &msg)
    {
        record(name, &cnn);
        if (!complaints.contains(name))
            return true;
        msg = complaints[name];
        return false;
    }
};
