#pragma once

#include "VoucherBusiness.h"
#include "enumVoucherMoveStyle.h"

#include "host/ObjectRegistry.h"
#include "platform/Connection.h"
#include "platform/Result.h"
#include "platform/VoucherDocument.h"

#include <QString>
#include <QVariant>

#include <memory>

class DataPermission;
class Recordset;
class clsLogin;
class clsVoucherGetInfo;
class clsVoucherShowParameter;
class VoucherNumberService;
class VoucherStateActions;
class VoucherStatementBuilder;

// The voucher engine of one voucher type: holds the voucher being shown as a head and a body
// document, loads it by identifier or by move within the shown set (the head view's rows that
// satisfy objSP's Where), keeps objSP's CurID/PreID and the BOF/EOF flags, and answers whether the
// loaded head was changed by someone else. It saves the documents (VoucherSave, see VoucherSaver)
// and asks the numbering service for the voucher type's numbering mode and numbers.
//
// The engine owns its connection (opened by Initial from the login's connection string) and shares
// the login, the meta-information and the show parameters with its caller.
// BOF and EOF are isBOF()/isEOF(): EOF is a C macro.
class clsVoucherCo : public RegisteredObject
{
public:
    clsVoucherCo();
    ~clsVoucherCo() override;

    // Set-up; must run before anything else. Errors are reported through ShowErrMsg.
    void Initial(std::shared_ptr<clsLogin> login, const QString &sCardNumber,
                 std::shared_ptr<clsVoucherShowParameter> objSP1);

    // Loads the voucher named by objSP.ID (-1 the newest of the shown set, 0 an empty card).
    // Errors are reported through ShowErrMsg; the documents keep what they held.
    void GetVoucherData();
    // Loads the newest voucher of the shown set. Errors go to the caller.
    Result<void> Refresh();
    // Loads the first, previous, next or last voucher of the shown set. Errors go to the caller.
    Result<void> VoucherMove(enumVoucherMoveStyle eMoveStyle);
    // The statements a move runs, in this order: the head moved to (by one: "?" is the current
    // identifier), its body lines ("?" the head's identifier), and whether the voucher moved to
    // is in the shown set and the set has vouchers before and after it (every "?" the identifier
    // moved to). For benchmarks that run them without the engine around them. Loading a voucher by
    // its identifier runs headById ("?" the identifier), body and bounds.
    struct MoveStatements
    {
        QString head;
        QString body;
        QString bounds;
        QString headById;
    };
    MoveStatements moveStatements(enumVoucherMoveStyle eMoveStyle) const;
    // True when the loaded head's row version no longer matches the database (changed or deleted
    // by someone else); a failing query also answers true.
    bool TimeStampChange();

    // Writes the documents in one transaction: iState 2 inserts the head, 1 updates it, any other
    // value writes the body lines only. Returns "" and the head identifier in varReturnID, or the
    // message (nothing written). POvoucherID and POvoucherTS go to the business object's
    // HeadSaveCheck2; POvoucherID also tells whether the number is taken for good. The documents
    // keep the identifiers, line keys and numbers written into them, also when the save fails.
    // A deadlock or a lost connection is retried once (see ActionRetry); message boxes of the
    // business object are shown after the transaction.
    QString VoucherSave(int iState, QVariant &varReturnID, qint32 &POvoucherID, QString &POvoucherTS);

    // Begins the transaction of a writer of the voucher type's tables (the save, the deletion).
    // Every such writer takes the same lock (see Connection::BeginWriteTrans), so a save and a
    // deletion of the same tables queue instead of interleaving.
    Result<void> BeginWriteTrans();
    // Makes sure the connection works: one that the server dropped is opened again with the same
    // connection string. True when it was opened again (what was read through it may be out of
    // date), false when it was fine; the error is the text to show when it cannot be opened.
    Result<bool> RestoreConnection();

    // The numbering mode of the card's rule: "完全自动编号", "半自动编号" or "完全手工编号" into
    // strNoType (left as given when the rule fits none). Returns "" or the error text.
    QString GetVoucherNOType(QString &strNoType);
    // A voucher number from the card's rule, its parts filled from the head document; bGetRealNo
    // takes it for good (inside the save's transaction when one is open), otherwise it is a
    // preview that consumes nothing. Returns "" with strErr set when no number can be made, also
    // under fully manual numbering. bSynchronization is accepted and not used.
    QString GetVoucherNO(QString &strErr, bool bGetRealNo = false, bool bSynchronization = false);

    // State actions on the loaded voucher (see VoucherStateActions for the allow chain). Each
    // answers "" when allowed or done, else the message to show. With bolCheckAuth false the
    // user's right is not asked; the data permission still is.
    bool VoucherCheckAuth(const QString &strTaskID);
    QString VoucherAllowEdit(bool bolCheckAuth = true);
    QString VoucherAllowDelete(bool bolCheckAuth = true);
    QString VoucherAllowConfirm(bool bolCheckAuth = true);
    QString VoucherAllowCancelConfirm(bool bolCheckAuth = true);
    QString VoucherAllowClose(bool bolCheckAuth = true);
    QString VoucherAllowOpen(bool bolCheckAuth = true);
    QString VoucherConfirm(bool bolCheckAuth = true);
    QString VoucherCancelConfirm(bool bolCheckAuth = true);
    QString VoucherClose(bool bolCheckAuth = true);
    QString VoucherOpen(bool bolCheckAuth = true);
    // Deletes the loaded voucher and its lines in one transaction; nothing changes on a refusal.
    QString VoucherDelete(bool bolCheckAuth = true);
    // The same on the voucher varID, loaded into the documents first; a non-empty strTimeStamp is
    // the row version the caller saw, and the action is refused when the voucher has another.
    QString VoucherConfirm2(const QVariant &varID, const QString &strTimeStamp = {}, bool bolCheckAuth = true);
    QString VoucherCancelConfirm2(const QVariant &varID, const QString &strTimeStamp = {}, bool bolCheckAuth = true);
    QString VoucherDeleteForOuter(const QVariant &varID, const QString &strTimeStamp = {}, bool bolCheckAuth = true);

    // Reference lists and field checks (see ReferenceLookup, BaseCheck, FreeItemCheck and
    // SingleValueCheck). Checks answer "" or the message; domReturn receives the row the card
    // copies into the voucher. Database errors of CheckBase and the single-value checks come back as
    // the message; ReferBase and ReferDefine answer false on them.
    //
    // Opens the field's reference list with varReturnValue as the search prefix; true when the user
    // picked a record: varReturnValue takes its value of the field, rstReturn the picked record(s).
    // False when the field has no list or no picker is installed.
    bool ReferBase(const QString &strFieldName, QVariant &varReturnValue, const QString &strWhere = {},
                   Recordset *rstReturn = nullptr, bool bolMultiSelect = false, bool bolMultiPage = true,
                   qint32 lngPageSize = 0);
    // The list of a user-defined item's values (UserDefine, value column cValue).
    bool ReferDefine(const QString &strFieldName, QVariant &varReturnValue, qint32 lngDataSource,
                     const QString &strDataRule, bool bolMultiPage = true, qint32 lngPageSize = 0);
    // A typed value against its family's master data, the data permission and strWhere.
    QString CheckBase(const QString &strFieldName, const QVariant &varValue, VoucherDocument &domReturn,
                      const QString &strWhere = {});
    // One value of domHead ("表头：" + message).
    QString HeadCheckSingle(const QString &strFieldName = {}, VoucherDocument *domReturn = nullptr);
    // One value of domBody's first row, the line the card hands over ("表体：" + message). R is the
    // card's row number and is not needed for that.
    QString BodyCheckSingle(const QString &strFieldName = {}, VoucherDocument *domReturn = nullptr, qint32 R = 0);
    // A free item's value for the item strInvCode. Needs only Initial's login and connection.
    QString CheckFree(const QString &strFieldName, const QVariant &varValue, const QString &strInvCode,
                      VoucherDocument *domReturn = nullptr);
    // The same, letting the display template sVTID accept a value outside the list (see
    // FreeItemCheck::check2); FrmCnn, when given, answers the template question.
    QString CheckFree2(const QString &strFieldName, const QVariant &varValue, const QString &strInvCode,
                       VoucherDocument *domReturn, const QString &sVTID, QString &CardSection, bool &bBuildArchives,
                       Connection *FrmCnn = nullptr);
    // Templates, passed through to the template service (see TemplateService): the layout rows of
    // template strVTID for the engine's card number, its fixed items (read on a connection of their
    // own from the engine's connection string) and the printer settings kept for it (the answer is
    // the number of templates changed). Failures come back to the caller unchanged.
    Result<Recordset> GetVoucherFormat(const QString &strVTID);
    Result<Recordset> GetVoucherFixed(const QString &strVTID);
    Result<int> SavePrintSetting(const QString &strVTID, const QVariant &varDevice);
    // The data-permission service of the engine's checks (see VoucherStateActions).
    DataPermission &dataPermission();

    bool isBOF() const { return m_bof; }
    bool isEOF() const { return m_eof; }

    // Documents (Initial...DOM / Terminate...DOM).
    VoucherDocument &domHead() { return m_domHead; }
    VoucherDocument &domBody() { return m_domBody; }
    VoucherDocument &domFormat() { return m_domFormat; }
    void setDomHead(VoucherDocument doc) { m_domHead = std::move(doc); }
    void setDomBody(VoucherDocument doc) { m_domBody = std::move(doc); }
    void setDomFormat(VoucherDocument doc) { m_domFormat = std::move(doc); }
    void InitialNewDOM(const VoucherDocument *head = nullptr, const VoucherDocument *body = nullptr);
    void TerminateDOM();
    bool hasDocuments() const { return m_hasDocuments; }

    // Spare slots that callers may use to park copies of the documents.
    VoucherDocument g_domHeadtemp;
    VoucherDocument g_domBodytemp;

    std::shared_ptr<clsLogin> objLogin() const { return m_login; }
    std::shared_ptr<clsVoucherGetInfo> oGI();
    std::shared_ptr<clsVoucherShowParameter> objSP() const { return m_sp; }
    void setObjSP(std::shared_ptr<clsVoucherShowParameter> sp) { m_sp = std::move(sp); }
    QString CardNumber() const;
    void setCardNumber(const QString &cardNumber);
    std::shared_ptr<VoucherBusiness> objVoucher() const { return m_business; }
    void setObjVoucher(std::shared_ptr<VoucherBusiness> business) { m_business = std::move(business); }

    // The engine's connection; open after a successful Initial.
    Connection &connection() { return m_cnn; }
    // Builds the save's statements on the engine's connection; keeps the tables' structures.
    VoucherStatementBuilder &statements();

    // The sales system's start date ("yyyy-MM-dd"), read by Initial and kept program-wide.
    static QString SalesStartDate();

private:
    // Loads the rows of sql into doc (through the native client, see Connection::QueryXml) and
    // answers the identifier of the first row, null when there is none.
    Result<QVariant> loadInto(VoucherDocument &doc, const QString &sql, const QVariantList &params);
    // Loads the body lines of one head, in line order, into doc.
    Result<void> loadBody(VoucherDocument &doc, const QVariant &headId);
    // Makes currentId (null: none) the current voucher and works out BOF/EOF.
    Result<void> updatePosition(const QVariant &currentId);
    Result<QVariant> boundId(bool largest);
    QString bodySql() const;
    QString boundIdSql(bool largest) const;
    QString boundsSql() const;
    QString headByIdSql() const;
    QString moveSql(enumVoucherMoveStyle eMoveStyle) const;
    QString whereClause(const QString &keyword) const;
    void readSalesStartDate();
    // Loads the card's numbering rule into domFormat; "" or the text for the failing step.
    VoucherStateActions &stateActions();
    QString loadNumberingRule(VoucherNumberService &service, const QString &initFailed, const QString &loadFailed);

    std::shared_ptr<clsLogin> m_login;
    std::shared_ptr<clsVoucherGetInfo> m_info;
    std::shared_ptr<clsVoucherShowParameter> m_sp;
    std::shared_ptr<VoucherBusiness> m_business;
    Connection m_cnn;
    std::unique_ptr<VoucherStatementBuilder> m_statements;
    std::unique_ptr<VoucherStateActions> m_stateActions;
    VoucherDocument m_domHead;
    VoucherDocument m_domBody;
    VoucherDocument m_domFormat;
    bool m_hasDocuments = false;
    bool m_bof = false;
    bool m_eof = false;
};
