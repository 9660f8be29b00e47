#pragma once

#include "card/CardControl.h"
#include "platform/VoucherDocument.h"

#include <functional>

// The card control of the browsing card: it keeps the documents it was given and hands them to the
// window to show; it has no edit of its own (edits are refused by the card while it views), so
// flags, marks and rows are only remembered.
class BrowseCardControl final : public CardControl
{
public:
    using Display = std::function<void(const VoucherDocument &head, const VoucherDocument &body)>;
    explicit BrowseCardControl(Display display);

    int HeadInfoCount() const override;
    int BodyInfoCount() const override;
    VoucherItemState ItemState(int index, Section section) const override;
    QString headerText(int index) const override;
    int BodyRows() const override { return m_body.rowCount(); }
    QString bodyText(int row, int column) const override;
    QString bodyText(int row, const QString &fieldName) const override;
    bool getVoucherDataXML(VoucherDocument &head, VoucherDocument &body) override;
    QString BodyBadStr() const override { return {}; }
    void setHeadBadStr(int, const QString &) override {}

    int EditState() const override { return m_editState; }
    void setEditState(int state) override { m_editState = state; }
    bool SummaryMode() const override { return false; }
    void restoreCells() override {}
    QString headerText(const QString &field) const override;
    void setHeaderText(const QString &field, const QString &text) override;
    void setBodyText(int row, const QString &field, const QString &text) override;
    int row() const override { return m_body.rowCount() > 0 ? 1 : 0; }
    void loadDocuments(const VoucherDocument &head, const VoucherDocument &body, int mode) override;
    bool isEditable(Section, const QString &) const override { return false; }
    void setEditable(Section, const QString &, bool) override {}
    void applyEditable(const QString &) override {}
    void addRow() override {}
    void deleteRow(int) override {}
    void markCell(const QString &, int) override {}
    void clearCell(const QString &, int) override {}
    void setNumberingRule(const QString &) override {}
    void setBackColor(int) override {}

private:
    Display m_display;
    VoucherDocument m_head;
    VoucherDocument m_body;
    int m_editState = Viewing;
};
