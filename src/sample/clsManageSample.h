#pragma once

#include "SampleStateRules.h"

#include "engine/VoucherBusiness.h"
#include "host/ObjectRegistry.h"

#include <QString>
#include <QVariant>

#include <memory>

class Connection;
class clsLogin;
class clsVoucherGetInfo;

// The sample voucher's public class ("Orvane.clsManageSample"). It has two roles:
//
// - Business object: the engine of card "1801" creates it by program identifier and calls it back
//   during loading, saving and state changes (VoucherBusiness).
// - Card entry object: the host and the list open the sample voucher card through the entry
//   members below. They act on the card windows WindowManager keeps; members without a window
//   argument act on the default card window, which asking for makes (loaded, not shown).
class clsManageSample : public RegisteredObject, public VoucherBusiness
{
public:
    // The right to open the card.
    static QString viewTaskId() { return QStringLiteral("SA03250101"); }

    void Initial(std::shared_ptr<clsLogin> login, std::shared_ptr<clsVoucherGetInfo> info) override;
    // A fresh head: the login date as voucher date, the user as maker, the default display template.
    void VoucherNew(clsVoucherCo &objVO) override;

    // The sample's save rules (see SampleDefaults, SampleSaveChecks, SampleStructureChecks). The
    // second-stage checks refuse with the reason in Msg/MsgStr; a database error refuses with the
    // database's text, and the engine rolls the save back.
    void BodyDeleteEmptyRow(VoucherDocument &domBody) override;
    QString HeadSaveCheck(const VoucherDocument &domHead) override;
    QString BodySaveCheck(const VoucherDocument &domBody) override;
    void DomSetDefault(VoucherDocument &domHead, VoucherDocument &domBody) override;
    bool HeadSaveCheck2(Connection &cnn, const VoucherRow &eleHead, qint32 &POvoucherID, QString &POvoucherTS,
                        QString &Msg) override;
    bool BodySaveCheck2(Connection &cnn, const VoucherRow &eleHead, QString &MsgStr) override;

    // Child-structure links (see ChildStructureLinks): a saved child sample is linked into its
    // parent's line, a deleted line or voucher takes its child samples and their attachments along.
    // A database error refuses the save (SaveOther, DelOther: after a message box) or the deletion
    // (VoucherDelete: "VoucherDelete:" + the error), and the engine rolls everything back.
    QString SaveOther(Connection &cnn, const VoucherRow &eleInsert, qint32 &POvoucherID) override;
    QString DelOther(Connection &cnn, const VoucherRow &eleDelete) override;
    QString VoucherDelete(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;

    // The sample's state rules (see SampleStateRules): what may be edited, deleted, confirmed,
    // cancelled, closed or opened, and the status updates of confirm and cancel confirmation.
    QString VoucherAllowEdit(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherAllowDelete(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherAllowConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherAllowCancelConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherAllowClose(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherAllowOpen(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherCancelConfirm(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherClose(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;
    QString VoucherOpen(Connection &cnn, VoucherDocument &domHead, VoucherDocument &domBody) override;

    std::shared_ptr<clsLogin> login() const { return m_login; }
    std::shared_ptr<clsVoucherGetInfo> info() const { return m_info; }

    // Texts the host keeps with the default card window.
    QString VoucherName() const;
    void setVoucherName(const QString &name);
    QString QVTaskID() const;
    void setQVTaskID(const QString &taskId);
    // "True" when the default card window is visible, else "False".
    QString FrmVisible() const;
    // Moves the default card window in the window order: 0 to the front.
    void setFrmZOrder(qint16 position);

    // Shows vVouchID (text of its identifier) in the default card window, without a permission
    // check. Without an identifier nothing is named to show, and the window reports so.
    // False when the window is not shown; a load failure's message was shown and is in *ErrMsg.
    bool ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                     const QVariant &vVouchID = {}, const QString &VtidField = {}, QString *ErrMsg = nullptr);
    // Opens a card window for a menu: mLogin (when given) becomes the card session, the right to
    // open the card is checked with message boxes, and a window already open for a non-empty
    // m_MenuId is brought to the front instead (the answer is then false). Otherwise a new window
    // shows vVouchID, or the voucher sMoveVouchOpe names (1 first ... 4 last, 5 new).
    bool ShowVoucher2(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                      const QVariant &vVouchID = {}, const QString &VtidField = {}, QString *ErrMsg = nullptr,
                      qint16 sMoveVouchOpe = 0, const QString &m_MenuId = {});
    // As ShowVoucher2; with bCheckAuth false a refused right is not shown and the card opens anyway.
    bool ShowVoucher3(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                      const QVariant &vVouchID = {}, const QString &VtidField = {}, QString *ErrMsg = nullptr,
                      qint16 sMoveVouchOpe = 0, const QString &m_MenuId = {}, bool bCheckAuth = false);
    // Unloads the default card window, if one is loaded. Answers an empty variant.
    QVariant UnloadFrm();

    // The help file of the module, shared with the list entry object.
    QString AppHelpFilePath() const;
    void setAppHelpFilePath(const QString &path);

private:
    SampleStateRules stateRules(Connection &cnn) const;

    enum class RightCheck { WithBoxes, Silent };
    bool showInNewWindow(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin,
                         const QVariant &vVouchID, const QString &VtidField, QString *ErrMsg, qint16 sMoveVouchOpe,
                         const QString &menuId, RightCheck check);

    std::shared_ptr<clsLogin> m_login;
    std::shared_ptr<clsVoucherGetInfo> m_info;
};
