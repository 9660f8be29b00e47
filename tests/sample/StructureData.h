#pragma once

#include "support/TestDatabase.h"

#include <QString>
#include <QStringList>

// Writes sample vouchers and bills of materials straight into the tables, for the structure checks.
class StructureData
{
public:
    explicit StructureData(TestDatabase &db)
        : m_db(db)
    {}

    // A sample head for `item` (empty number: a child sample) with one line per component.
    void sample(int id, const QString &code, const QString &item, const QString &version, const QStringList &components,
                const QString &free1 = QString())
    {
        m_db.exec(QStringLiteral("INSERT INTO ManageSample (iAutoID, cCode, cNewInvCode, cNewInvName, csocode, cfree1) "
                                 "VALUES (?, ?, ?, '样品', ?, ?)"),
                  {id, code, item, version, free1});
        for (int i = 0; i < components.size(); ++i)
            m_db.exec(QStringLiteral("INSERT INTO ManageSamples (iAutoID, iSubID, cPSCode) VALUES (?, ?, ?)"),
                      {id, id * 1000 + i + 1, components[i]});
    }

    // A bill of materials for `item` with one line per component.
    void bom(const QString &item, const QString &version, const QStringList &components)
    {
        m_db.exec(QStringLiteral("INSERT INTO ProductStructure (cPSPCode, csocode) VALUES (?, ?)"), {item, version});
        const QVariant id = *m_db.cnn().Scalar(QStringLiteral("SELECT MAX(iAutoId) FROM ProductStructure"));
        for (const QString &component : components)
            m_db.exec(QStringLiteral("INSERT INTO ProductStructures (iPId, cPSPCode, cPSCode) VALUES (?, ?, ?)"),
                      {id, item, component});
    }

private:
    TestDatabase &m_db;
};
