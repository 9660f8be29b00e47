#pragma once

#include "host/CardTemplate.h"

#include "card/CardControl.h"
#include "platform/VoucherDocument.h"

#include <QMap>
#include <QSet>
#include <QWidget>

#include <functional>

class BodyLinesModel;
class CardCellDelegate;
class CardGrid;
class QGridLayout;
class QLabel;
class QLineEdit;

// The voucher card: the head items of the display template above a grid of body lines. It shows
// the head and body documents it is given and hands them back with what the user typed; body rows
// carry their edit mark (editprop): "A" added, "M" changed, "D" deleted (kept until the save),
// "" unchanged. Items are editable only while the card is in an edit state and the item's flag
// allows it; greyed body cells never are.
//
// Keyboard: Tab and Enter move to the next item or cell the user may change (Enter in the last one
// of the last line adds a line while editing), F2 (or an item's button) asks for its reference
// list, PgUp/PgDn/Ctrl+Home/Ctrl+End page the grid while it has the focus. What the card logic must
// answer - cell checks, references, new rows, the numbering event - goes out as signals; a check
// may change the value or refuse the entry (result 0), and a refused entry goes back to the value
// it had. Number items take numbers only and show them with the decimals of their kind.
//
// The code is split by what it holds: VoucherCardWidget.cpp the documents and the control's
// interface, VoucherCardHead.cpp the head items, VoucherCardBody.cpp the grid's keys and entries.
class VoucherCardWidget : public QWidget, public CardControl
{
    Q_OBJECT

public:
    // Gives the template whose identifier a loaded head names (vt_id).
    using TemplateSource = std::function<CardTemplate(int templateId)>;
    // Whether head item `field` takes the key (Qt::Key_*); the choices of a drop-down item.
    using KeyFilter = std::function<bool(const QString &field, int key)>;
    using ChoiceSource = std::function<QStringList(const QString &field)>;

    explicit VoucherCardWidget(QWidget *parent = nullptr);
    ~VoucherCardWidget() override;

    void setTemplate(const CardTemplate &cardTemplate);
    const CardTemplate &cardTemplate() const { return m_template; }
    void setTemplateSource(TemplateSource source) { m_templateSource = std::move(source); }
    void setKeyFilter(KeyFilter filter) { m_keyFilter = std::move(filter); }
    void setChoiceSource(ChoiceSource source) { m_choiceSource = std::move(source); }
    // Puts the template in place and shows the documents the card holds again (what was typed
    // stays): the display template was switched while editing.
    void relayTemplate(const CardTemplate &cardTemplate);

    // VoucherCardControl
    int HeadInfoCount() const override { return int(m_template.head.size()); }
    int BodyInfoCount() const override { return int(m_template.body.size()); }
    VoucherItemState ItemState(int index, Section section) const override;
    QString headerText(int index) const override;
    int BodyRows() const override;
    QString bodyText(int row, int column) const override;
    QString bodyText(int row, const QString &fieldName) const override;
    bool getVoucherDataXML(VoucherDocument &head, VoucherDocument &body) override;
    QString BodyBadStr() const override { return m_bodyBadStr; }
    void setHeadBadStr(int index, const QString &text) override;

    // CardControl
    int EditState() const override { return m_editState; }
    void setEditState(int state) override;
    bool SummaryMode() const override { return false; }
    void restoreCells() override;
    QString headerText(const QString &field) const override;
    void setHeaderText(const QString &field, const QString &text) override;
    void setBodyText(int row, const QString &field, const QString &text) override;
    int row() const override;
    void loadDocuments(const VoucherDocument &head, const VoucherDocument &body, int mode) override;
    bool isEditable(Section section, const QString &field) const override;
    void setEditable(Section section, const QString &field, bool editable) override;
    void applyEditable(const QString &headField) override;
    void addRow() override;
    void deleteRow(int row) override;
    void markCell(const QString &field, int row) override;
    void clearCell(const QString &field, int row) override;
    void setNumberingRule(const QString &ruleXml) override;
    void setBackColor(int colour) override;
    void focusItem(Section section, const QString &field) override;
    void applyTemplate(const CardTemplate &cardTemplate) override { relayTemplate(cardTemplate); }
    void setDecimals(Section section, const QString &field, int decimals) override;
    void printVoucher(const Recordset &layout, const Recordset &fixed, bool preview) override;
    void exportVoucher(const Recordset &layout, const Recordset &fixed) override;

    QString numberingRule() const { return m_numberingRule; }
    // Characters typed text may not hold, in the body and (until set per item) in the head.
    void setBodyBadStr(const QString &text);

    // The widgets, for the window and for tests.
    QLineEdit *headEditor(const QString &field) const;
    QLabel *headLabel(const QString &field) const;
    CardGrid *bodyGrid() const { return m_grid; }
    // The grid column of a body field; -1 when the template does not show it.
    int columnOf(const QString &field) const;
    bool isCellMarked(const QString &field, int row) const;
    // Finishes the entry under way, as leaving it would: a head item typed into goes through its
    // check, an open cell editor is committed. The window calls it before every command.
    void commitPendingEntry();
    // Puts the focus on the first head item the user may change, else on the grid.
    void focusFirstEditable();

signals:
    // A head item or body cell entry is finished. The receiver may change the value, or set
    // result to 0 to refuse it; result comes in as 2.
    void headCellCheck(const QString &field, QString &value, int &result);
    void bodyCellCheck(const QString &field, QString &value, int row, int &result);
    // F2 or the item's button: the reference list of a head item or of a body cell is wanted.
    void headReferenceRequested(const QString &field);
    void bodyReferenceRequested(const QString &field, int row);
    // A body row was added by the user or the card (its number).
    void rowAdded(int row);
    void currentRowChanged(int row);
    // A new voucher got its numbering rule: the card should number it (queued, after the flow that
    // gave the rule has shown the new voucher).
    void numberingRequested();
    // New documents are shown; the edit state changed.
    void documentsLoaded();
    void editStateChanged(int state);
    // A print, preview or output finished; what to tell the user.
    void printFinished(const QString &text);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool headKeyEvent(QLineEdit *edit, QEvent *event);
    bool gridKeyEvent(QEvent *event);
    struct HeadEditor
    {
        QLabel *label = nullptr;
        QLineEdit *edit = nullptr;
    };

    const CardItem *headItem(const QString &field) const;
    const CardItem *bodyItem(const QString &field) const;
    void buildHead();
    void buildGrid();
    void fillHead();
    void fillGrid();
    void updateHeadEditor(const QString &field);
    void finishHeadEntry(const QString &field);
    // A finished cell entry (grid row from 0): true when the check took it (and it was written).
    bool checkCellEntry(int gridRow, const QString &field, QString &value);
    void markChanged(VoucherRow line);
    void moveToNextHeadItem(const QString &field);
    void requestHeadReference(const QString &field);
    void requestBodyReference(int gridRow, int column);
    // Enter in the grid: the next cell the user may change; past the last one of the last line a
    // new line while editing. False when there is nowhere to go.
    bool moveToNextCell();
    // The text a head item shows for a stored value, and the value for a shown text.
    QString headShown(const QString &field, const QString &value) const;
    // Refuses text a number item cannot take, with a hint at the item.
    bool numberAccepted(QLineEdit *edit, const CardItem &item);
    QString headValue(const QString &field) const;
    QString headForbidden(const QString &field) const;
    void setHeadForbidden(const QString &field);
    bool headEditable(const QString &field) const;
    bool cellEditable(int gridRow, int column) const;
    bool bodyFieldEditable(const QString &field) const;

    CardTemplate m_template;
    TemplateSource m_templateSource;
    KeyFilter m_keyFilter;
    ChoiceSource m_choiceSource;
    VoucherDocument m_head;
    VoucherDocument m_body;
    int m_editState = Viewing;
    QMap<QString, bool> m_headEditable; // flags set by the card, by field
    QMap<QString, bool> m_bodyEditable;
    QMap<QString, bool> m_headShownEditable; // flags applied to the head display
    QMap<QString, QString> m_headBadStr;
    QString m_bodyBadStr;
    QString m_numberingRule;
    bool m_filling = false;
    bool m_checking = false;  // a head entry's check is under way
    bool m_referring = false; // a reference list opened from an item is open

    QWidget *m_headPanel;
    QGridLayout *m_headGrid;
    QMap<QString, HeadEditor> m_headEditors;
    QStringList m_headOrder; // fields shown in the head, in tab order
    BodyLinesModel *m_lines;
    CardGrid *m_grid;
    CardCellDelegate *m_delegate;
};
