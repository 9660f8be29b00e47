#pragma once

#include "CardCommandState.h"
#include "CardState.h"

#include "common/modPublic.h"
#include "engine/clsVoucherCo.h"
#include "entry/CardWindow.h"
#include "platform/VoucherDocument.h"

#include <QtGlobal>

#include <memory>

class CardControl;
class CardStructureCommands;
class CardStructureWork;
class CardView;
class DataPermission;
class FieldEditHandler;
class VoucherLoader;
class VoucherNumberService;

// The sample voucher card window's logic: shows one voucher at a time, moves between the vouchers
// the user may see, and runs every command of the card - add, edit, copy, save, cancel, delete,
// confirm and its cancellation, lines, pictures, attachments, locate - through one dispatch that
// checks the command's task first and sets every button from the card's state afterwards.
//
// Made through WindowManager's card factory with its view (the Qt window or a test fake). At load
// it chooses the visible bar by the toolbar style and hands the view the card data source;
// ShowVoucher fills and shows it; unloading gives the right to open the card back and closes the
// view. Everything runs on the user-interface thread; messages go through MessageService.
class frmManageSample : public CardWindow
{
public:
    // A window for card `cardNumber` on `view`; only the sample voucher's card can be shown.
    explicit frmManageSample(std::shared_ptr<CardView> view, const QString &cardNumber = modPublic::CardNumber());
    ~frmManageSample() override;

    bool ShowVoucher(std::shared_ptr<Connection> &DBConn, std::shared_ptr<clsLogin> &mLogin, const QVariant &vVouchID,
                     const QString &VtidField, QString &ErrMsg, qint16 &sMoveVouchOpe) override;

    bool isVisible() const override;
    void Show() override;
    void ZOrder(int position) override;

    // Runs the command with that key (letter case ignored): a toolbar or command bar button, or a
    // keyboard shortcut. A guarded command enters its task first and stops when it is refused.
    void CardCommandDispatch(const QString &key);
    // Sets every button from the card's state after the command with that key ("" leaves an edit).
    void RefreshCommandState(const QString &key);
    // A click on the command bar: kind 0 a button, 1 an item of a button's menu.
    void CommandBarClick(int kind, const QString &buttonKey, const QString &menuKey);
    // An item of the print button's menu (DoPrint): "print" is the card's own print, "newprint",
    // "newpreview" and "newdesign" hand the voucher to the report runner in mode "print",
    // "preview" or "design"; any other item does nothing.
    void PrintMenuClick(const QString &itemKey);
    // Prints ("tlbPrint"), previews ("tlbPreview") or outputs ("tlbSend") the voucher shown through
    // the card control: the chosen print template, or the display template in use for output.
    void PrintCard(const QString &key);
    // A key the window sees before its controls: Esc, Ctrl+F4 and Ctrl+P. True when consumed.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The card control asks for a voucher number (it raised its numbering event).
    void RefreshVoucherCode();
    // The user chose another display template in ComTemplateShow: the card is laid out by it,
    // keeping the edit and what was typed.
    void SwitchShowTemplate();
    // Whether the window may close: an unsaved edit asks first.
    bool QueryUnload();

    // Loads a voucher onto the card (by identifier, or by move when voucherId is ""), keeping what
    // the card knows of it; the documents are shown also when the load fails, with the reason in
    // message. The structure tree is not touched.
    bool LoadVoucher(const QString &voucherId, int move, QString &message);
    // Rebuilds the structure tree for a voucher and takes over whether its structure is a circle.
    void RebuildTree(const QString &voucherId);

    CardState &state() { return m_state; }
    const CardState &state() const { return m_state; }
    clsVoucherCo &engine() { return m_engine; }
    std::shared_ptr<Connection> connection() const { return m_cnn; }
    CardView &view() const { return *m_view; }
    // The documents of the voucher last loaded.
    const VoucherDocument &domHead() const { return m_domHead; }
    const VoucherDocument &domBody() const { return m_domBody; }

    // The data-permission service the loads ask; a DataPermissionService of the card session
    // unless another is given before ShowVoucher.
    void setDataPermission(std::shared_ptr<DataPermission> permission);
    // The answers to cell entries, reference requests and row changes of the card control.
    FieldEditHandler &fieldEdits() { return *m_fieldEdits; }
    // Cost fetch and conversion; without them the two commands only check their task. The card
    // starts with its own (CardStructureWork), which also answers the field edits' cost and
    // parent-item hooks and the tree's node clicks.
    void setStructureCommands(std::shared_ptr<CardStructureCommands> commands);
    CardStructureWork &structureWork() { return *m_structureWork; }

protected:
    void unloading() override;

private:
    // Sets up the engine and the loader on the card session once; false with the reason.
    bool startEngine(QString &message);
    // Fills both template choosers with the templates the user may use and chooses the defaults;
    // false with the reason when there is no display template to show the card with.
    bool loadTemplates(QString &message);
    // Decimals from the accounting options onto the card and into the print template.
    void applyDecimals();
    // Whether the voucher shown is still there to print; shows the reason when it is not.
    bool voucherStillThere();
    // Actions of the commands; those the dispatch needs an answer from report success.
    bool addVoucher();
    bool editVoucher();
    bool copyVoucher();
    bool saveVoucher();
    void cancelEdit();
    void deleteVoucher();
    void confirmVoucher();
    void cancelConfirmation();
    void refreshVoucher();
    bool move(int move);
    void addLine();
    void deleteLine();
    void showAttachments(bool picture);
    void locate();
    // The commands run inside their task (but add, edit, copy and save), and those without one.
    void runGuardedCommand(const QString &key);
    void runPlainCommand(const QString &key);
    void closeCard();
    // Gives back the save task a failed save kept, when it kept one.
    void releaseSaveTask();
    // Opens the engine's connection again when the server dropped it, and reads what the card
    // shows anew; false (with the message shown) when the connection cannot be opened.
    bool restoreConnection();

    // Reloads a voucher after a change; when it cannot be read any more the message is shown and
    // the card moves on to the next voucher (false).
    bool reloadAfterChange(const QString &voucherId, int move);
    // Editable flags and head values shared by add and copy.
    void prepareNewVoucher();
    // Makes ccode editable or not by the numbering mode; numberedOnly limits a non-automatic
    // mode to numbered vouchers.
    void lockCodeByNumbering(bool numberedOnly);
    void giveNumberingRule();
    void applyEditableDisplays();
    void setEditable(const QStringList &headFields, bool editable);
    // A message of the engine with its bracketed field names replaced by the display template's
    // captions.
    QString withCaptions(const QString &message);
    void show(const QString &text, int icon);
    // Puts the focus on the first item a refusal names ("[caption]" or "[field]").
    void focusNamedItem(const QString &message);

    CardControl &control() const;

    CardState m_state;
    std::shared_ptr<CardView> m_view;
    CardCommandState m_commandState;
    clsVoucherCo m_engine;
    std::shared_ptr<DataPermission> m_permission;
    std::unique_ptr<VoucherLoader> m_loader;
    std::unique_ptr<VoucherNumberService> m_numbering;
    std::shared_ptr<CardStructureWork> m_structureWork;
    std::shared_ptr<CardStructureCommands> m_structure;
    std::unique_ptr<FieldEditHandler> m_fieldEdits;
    std::shared_ptr<Connection> m_cnn;
    VoucherDocument m_domHead;
    VoucherDocument m_domBody;
    bool m_attachmentsOpen = false;
    bool m_holdsSaveTask = false; // a failed save kept the save task for the edit that goes on
};
