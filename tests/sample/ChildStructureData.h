#pragma once

#include "support/MasterDataRows.h"
#include "support/TestDatabase.h"

#include <QString>
#include <QVariant>

// Writes sample vouchers with child samples and attachments straight into the tables, complete
// enough for the engine to load, save and delete them.
class ChildStructureData
{
public:
    explicit ChildStructureData(TestDatabase &db)
        : m_db(db)
    {}

    // A head: a top-level voucher when code is not empty, else a child sample of version "V1".
    // Every head gets one attachment.
    void head(int id, const QString &code, const QString &item)
    {
        MasterDataRows::items(m_db.cnn(), {item});
        MasterDataRows::units(m_db.cnn(), {QStringLiteral("PCS")});
        m_db.exec(
            QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, cnewinvcomunitcode, "
                           "csocode, cmaker, ddate, iFinishExch) VALUES (?, ?, ?, '样品', 'PCS', ?, '测试员', "
                           "'2026-12-01', 1)"),
            {id, code, item, code.isEmpty() ? QStringLiteral("V1") : QStringLiteral("")});
        m_db.exec(QStringLiteral("INSERT INTO OR_VN_fileTable (iAutoID, fileNames, fileType) VALUES (?, ?, 1)"),
                  {id, QStringLiteral("图%1.png").arg(id)});
    }

    // A line of head `id`; child 0 = no child sample.
    void line(int id, int subId, const QString &component, int child = 0)
    {
        MasterDataRows::items(m_db.cnn(), {component});
        MasterDataRows::warehouses(m_db.cnn(), {QStringLiteral("01")});
        m_db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode, iPSQuantity, tdQtyD, cWhCode, "
                                 "ChildGUID) VALUES (?, ?, ?, 1, 1, '01', ?)"),
                  {id, subId, component, child > 0 ? QVariant(child) : QVariant(QMetaType(QMetaType::Int))});
    }

    // Makes the database refuse to delete (or update) the rows of `table` whose `column` holds
    // `value`: a failure in the middle of a longer piece of work, on either backend.
    void refuse(const QString &event, const QString &table, const QString &column, int value, const QString &text)
    {
        const QString name = QStringLiteral("refuse_%1_%2").arg(event, table).toLower();
        if (m_db.backend() == Backend::Sqlite) {
            m_db.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN OLD.%4 = %5 BEGIN "
                                     "SELECT RAISE(ABORT, '%6'); END")
                          .arg(name, event, table, column)
                          .arg(value)
                          .arg(text));
            return;
        }
        m_db.exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                                 "BEGIN\n"
                                 "    IF OLD.%2 = %3 THEN RAISE EXCEPTION '%4'; END IF;\n"
                                 "    IF TG_OP = 'DELETE' THEN RETURN OLD; END IF;\n"
                                 "    RETURN NEW;\n"
                                 "END\n"
                                 "$$")
                      .arg(name, column)
                      .arg(value)
                      .arg(text));
        m_db.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                      .arg(name, event, table));
    }

private:
    TestDatabase &m_db;
};
