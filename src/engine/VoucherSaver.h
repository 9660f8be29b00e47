#pragma once

#include "VoucherBusiness.h"
#include "VoucherStatementBuilder.h"

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class clsVoucherCo;
class clsVoucherGetInfo;
class Connection;
class VoucherDocument;

// One save of the engine's head and body documents (clsVoucherCo::VoucherSave).
//
// The business object cleans, checks and defaults the documents first; then the engine checks on
// its own that every value fits its column and every reference names master data the user may use
// (SaveValueCheck, SaveReferenceCheck). Nothing is written when a check complains. Then, in one write transaction on the engine's connection: new identifiers
// (maximum + 1, read inside the transaction, whose writer lock keeps two saves from drawing the
// same key), the head row (a guarded insert, or an update that must still find the version the
// voucher was loaded with), the business object's head checks and dependent writes, the body lines
// by their editprop marks, its body checks, and finally the voucher number taken for good. A voucher
// number another voucher holds (the guard, or the unique index when another writer got there first)
// fetches a new number and writes the head again, up to five times. Any failure rolls everything
// back, the number included.
class VoucherSaver
{
public:
    explicit VoucherSaver(clsVoucherCo &engine);

    // See clsVoucherCo::VoucherSave.
    QString save(int iState, QVariant &varReturnID, qint32 &POvoucherID, QString &POvoucherTS);
    // The answer when another user changed or deleted the voucher meanwhile (line break included).
    static QString changedElsewhere();

private:
    enum class HeadWrite { Written, NumberTaken };

    Result<QString> checkValues(int iState);
    Result<void> write(int iState, qint32 &POvoucherID, QString &POvoucherTS);
    Result<void> assignKeys(int iState);
    Result<HeadWrite> writeHeads(int iState, qint32 &POvoucherID, QString &POvoucherTS);
    Result<qint64> runHeadStatement(const VoucherStatement &statement);
    Result<void> renumber();
    Result<void> writeBody();
    Result<qint64> runBody(const QList<VoucherStatement> &statements);
    Result<void> checkBody();
    void takeNumber(int iState, qint32 POvoucherID);
    Result<qint64> inSavepoint(const std::function<Result<qint64>()> &step, bool *duplicate = nullptr);
    VoucherBusiness &business() const;

    clsVoucherCo &m_engine;
    Connection &m_cnn;
    VoucherStatementBuilder &m_statements;
    std::shared_ptr<clsVoucherGetInfo> m_info;
    std::shared_ptr<VoucherBusiness> m_business;
    VoucherDocument &m_head;
    VoucherDocument &m_body;
    QVariant m_headId;
    qint32 m_nextLineKey = 0;
    int m_retries = 0;
};
