#pragma once

#include "CardFixture.h"

#include "engine/ReferenceData.h"

#include "card/FieldEditHandler.h"
#include "host/clsLogin.h"
#include "platform/SchemaSeed.h"

// The card in edit over the reference master data, with unit groups for the unit rules:
//  G1 (fixed rates, type 1) holds U01 个, U02 箱 (12), U03 包 (5) and U04 散 (rate 0); items A001
//  and A002 count in G1. G2 (floating, type 2) holds U05 公斤; G0 (no conversion) holds U06 台.
// A voucher of new item N002 with two component lines is shown in the seeded display template.
class FieldEditTest : public CardTest
{
protected:
    void seed() override
    {
        writeReferenceData(db, QDate::fromString(login->LoginDate(), Qt::ISODate));
        const QString group = QStringLiteral("INSERT INTO ComputationGroup (cGroupCode, cGroupName, iGroupType) "
                                             "VALUES (?, ?, ?)");
        db.exec(group, {QStringLiteral("G1"), QStringLiteral("件箱"), 1});
        db.exec(group, {QStringLiteral("G2"), QStringLiteral("重量"), 2});
        db.exec(group, {QStringLiteral("G0"), QStringLiteral("台"), 0});
        const QString unit = QStringLiteral("INSERT INTO ComputationUnit (cComUnitCode, cComUnitName, cGroupCode, "
                                            "bMainUnit, iChangRate) VALUES (?, ?, ?, 0, ?)");
        db.exec(unit, {QStringLiteral("U03"), QStringLiteral("包"), QStringLiteral("G1"), 5.0});
        db.exec(unit, {QStringLiteral("U04"), QStringLiteral("散"), QStringLiteral("G1"), 0.0});
        db.exec(unit, {QStringLiteral("U05"), QStringLiteral("公斤"), QStringLiteral("G2"), 1.0});
        db.exec(unit, {QStringLiteral("U06"), QStringLiteral("台"), QStringLiteral("G0"), 1.0});
        db.exec(QStringLiteral("UPDATE Inventory SET cGroupCode = 'G1' WHERE cInvCode IN ('A001', 'A002')"));
        samples.voucher(1, QStringLiteral("YP001"));
        db.exec(QStringLiteral("UPDATE ManageSample SET vt_id = ?"), {SchemaSeed::kDisplayTemplateId});
        ASSERT_TRUE(show({}, 1)) << error.toStdString();
        control().editState = CardControl::EditingVoucher;
        head(QStringLiteral("cnewinvcode"), QStringLiteral("N002"));
    }

    FieldEditHandler &edits() { return card->fieldEdits(); }
    void head(const QString &field, const QString &value) { control().head[field] = value; }
    QString cell(int row, const QString &field) { return control().body.value(row - 1).value(field); }
    void setCell(int row, const QString &field, const QString &value) { control().body[row - 1][field] = value; }

    // Enters a head or body value as the control does: the check may change or refuse it, an
    // accepted value is written into the item. Answers the result code.
    int typeHead(const QString &field, QString value)
    {
        int result = 2;
        edits().headCellCheck(field, value, result);
        if (result != 0)
            head(field, value);
        return result;
    }
    int typeCell(int row, const QString &field, QString value)
    {
        int result = 0;
        edits().bodyCellCheck(field, value, row, result);
        if (result != 0)
            setCell(row, field, value);
        return result;
    }
    QString lastMessage() const { return messages.shown.isEmpty() ? QString() : messages.shown.last().text; }
};

// Records the hooks the cost and structure work will fill.
class RecordingHooks final : public FieldEditHooks
{
public:
    QStringList rollUps;
    QString fetchAnswer;
    QStringList fetched;
    void rollUpCosts(VoucherCardControl::Section section, const QString &field, int row) override
    {
        rollUps
            << QStringLiteral("%1:%2:%3").arg(section == VoucherCardControl::Head ? "head" : "body", field).arg(row);
    }
    QString fetchParentItem(const QString &value, bool fromList) override
    {
        fetched << QStringLiteral("%1:%2").arg(value).arg(fromList);
        return fetchAnswer;
    }
};
