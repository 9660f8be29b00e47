#pragma once

#include "ChildStructureData.h"
#include "SampleDocuments.h"

#include "support/EngineFixture.h"

#include "engine/clsVoucherCo.h"

// The card's engine with the business object it creates for card "1801", on a database holding
//
//   voucher 1 "YP001" (TOP): line 1001 C1 -> child 2, line 1002 C2 -> child 3, line 1003 C3
//     child 2 (C1): line 2001 D1
//     child 3 (C2): line 3001 G1 -> grandchild 4
//       grandchild 4 (G1): line 4001 R1
//   voucher 9 "YP009" (OTHER): line 9001 X1 -> child 10
//     child 10 (X1): line 10001 Y1
//
// with one attachment on every head.
class ChildStructureTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (setUpFailed())
            return;
        data.head(1, QStringLiteral("YP001"), QStringLiteral("TOP"));
        data.line(1, 1001, QStringLiteral("C1"), 2);
        data.line(1, 1002, QStringLiteral("C2"), 3);
        data.line(1, 1003, QStringLiteral("C3"));
        data.head(2, QString(), QStringLiteral("C1"));
        data.line(2, 2001, QStringLiteral("D1"));
        data.head(3, QString(), QStringLiteral("C2"));
        data.line(3, 3001, QStringLiteral("G1"), 4);
        data.head(4, QString(), QStringLiteral("G1"));
        data.line(4, 4001, QStringLiteral("R1"));
        data.head(9, QStringLiteral("YP009"), QStringLiteral("OTHER"));
        data.line(9, 9001, QStringLiteral("X1"), 10);
        data.head(10, QString(), QStringLiteral("X1"));
        data.line(10, 10001, QStringLiteral("Y1"));
        initialEngine();
        ASSERT_TRUE(engine.objVoucher());
    }

    void load(int id)
    {
        sp->ID = id;
        engine.GetVoucherData();
        ASSERT_EQ(engine.domHead().rowCount(), 1);
    }

    // Loads voucher `id`, marks its line `subId` deleted and saves.
    QString saveWithoutLine(int id, int subId)
    {
        load(id);
        for (VoucherRow row : engine.domBody().selectNodes(QStringLiteral("//z:row"))) {
            if (row.value(QStringLiteral("isubid")) == QString::number(subId))
                row.setValue(QStringLiteral("editprop"), QStringLiteral("D"));
        }
        QVariant savedId;
        qint32 parent = 0;
        QString parentVersion;
        return engine.VoucherSave(1, savedId, parent, parentVersion);
    }

    QString qvts(int id)
    {
        return db.cnn()
            .Scalar(QStringLiteral("SELECT CAST(qvts AS TEXT) FROM ManageSample WHERE iAutoID = ?"), {id})
            ->toString();
    }

    // Head ids of a table's rows, in order: what is left of the structure.
    QList<int> heads(const QString &table)
    {
        auto rs = db.cnn().Query(QStringLiteral("SELECT DISTINCT iAutoID FROM ") + table
                                 + QStringLiteral(" ORDER BY iAutoID"));
        EXPECT_TRUE(rs) << rs.error().toStdString();
        QList<int> ids;
        for (int row = 0; rs && row < rs->RecordCount(); ++row)
            ids << rs->value(row, 0).toInt();
        return ids;
    }

    // Rows whose head is gone, links to heads that are gone, and child samples no line points at.
    qint64 orphans()
    {
        const QString headGone = QStringLiteral("NOT EXISTS (SELECT 1 FROM ManageSample h WHERE h.iAutoID = %1)");
        return db.count(QStringLiteral("ManageSamples"), headGone.arg(QStringLiteral("ManageSamples.iAutoID")))
               + db.count(QStringLiteral("ManageSamples"),
                          QStringLiteral("COALESCE(ChildGUID, 0) > 0 AND ")
                              + headGone.arg(QStringLiteral("ManageSamples.ChildGUID")))
               + db.count(QStringLiteral("OR_VN_fileTable"), headGone.arg(QStringLiteral("OR_VN_fileTable.iAutoID")))
               + db.count(QStringLiteral("ManageSample"),
                          QStringLiteral("COALESCE(cCode, '') = '' AND NOT EXISTS (SELECT 1 FROM ManageSamples l "
                                         "WHERE l.ChildGUID = ManageSample.iAutoID)"));
    }

    ChildStructureData data{db};
};
