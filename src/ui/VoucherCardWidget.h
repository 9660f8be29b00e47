#pragma once

#include "CardTemplate.h"

#include "card/CardControl.h"
#include "platform/VoucherDocument.h"

#include <QMap>
#include <QSet>
#include <QWidget>

#include <functional>

class CardCellDelegate;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTableWidgetItem;

// The voucher card: the head items of the display template above a grid of body lines. It shows
// the head and body documents it is given and hands them back with what the user typed; body rows
// carry their edit mark (editprop): "A" added, "M" changed, "D" deleted (kept until the save),
// "" unchanged. Items are editable only while the card is in an edit state and the item's flag
// allows it; greyed body cells never are.
//
// Keyboard: Tab and Enter move to the next item or cell, F2 (or an item's button) asks for its
// reference list. What the card logic must answer - cell checks, references, new rows, the
// numbering event - goes out as signals; a check may change the value or refuse the entry
// (result 0), and a refused entry goes back to the value it had.
class VoucherCardWidget : public QWidget, public CardControl
{
    Q_OBJECT

public:
    // Gives the template whose identifier a loaded head names (vt_id).
    using TemplateSource = std::function<CardTemplate(int templateId)>;

    explicit VoucherCardWidget(QWidget *parent = nullptr);
    ~VoucherCardWidget() override;

    void setTemplate(const CardTemplate &cardTemplate);
    const CardTemplate &cardTemplate() const { return m_template; }
    void setTemplateSource(TemplateSource source) { m_templateSource = std::move(source); }

    // VoucherCardControl
    int HeadInfoCount() const override { return int(m_template.head.size()); }
    int BodyInfoCount() const override { return int(m_template.body.size()); }
    VoucherItemState ItemState(int index, Section section) const override;
    QString headerText(int index) const override;
    int BodyRows() const override { return int(m_lines.size()); }
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

    QString numberingRule() const { return m_numberingRule; }
    // Characters typed text may not hold, in the body and (until set per item) in the head.
    void setBodyBadStr(const QString &text);

    // The widgets, for the window and for tests.
    QLineEdit *headEditor(const QString &field) const;
    QLabel *headLabel(const QString &field) const;
    QTableWidget *bodyGrid() const { return m_grid; }
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

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
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
    void updateCellFlags();
    void updateCellFlags(int gridRow);
    void finishHeadEntry(const QString &field);
    void onCellChanged(QTableWidgetItem *item);
    void markChanged(VoucherRow line);
    void moveToNextHeadItem(const QString &field);
    void requestHeadReference(const QString &field);
    void requestBodyReference(int gridRow, int column);
    void moveToNextCell();
    QString headValue(const QString &field) const;
    QString headForbidden(const QString &field) const;
    void setHeadForbidden(const QString &field);
    bool headEditable(const QString &field) const;
    bool cellEditable(int gridRow, int column) const;

    CardTemplate m_template;
    TemplateSource m_templateSource;
    VoucherDocument m_head;
    VoucherDocument m_body;
    QList<VoucherRow> m_lines; // the live rows of m_body, in grid order
    int m_editState = Viewing;
    QMap<QString, bool> m_headEditable; // flags set by the card, by field
    QMap<QString, bool> m_bodyEditable;
    QMap<QString, bool> m_headShownEditable; // flags applied to the head display
    QSet<QPair<QString, int>> m_marked;      // greyed body cells: field and grid row
    QMap<QString, QString> m_headBadStr;
    QString m_bodyBadStr;
    QString m_numberingRule;
    bool m_filling = false;
    bool m_checking = false; // a head entry's check is under way

    QWidget *m_headPanel;
    QGridLayout *m_headGrid;
    QMap<QString, HeadEditor> m_headEditors;
    QStringList m_headOrder; // fields shown in the head, in tab order
    QTableWidget *m_grid;
    CardCellDelegate *m_delegate;
    QList<int> m_columns; // template body index of each grid column
};
