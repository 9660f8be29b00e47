#pragma once

#include "platform/Result.h"

#include <QString>

class Connection;
class VoucherRow;

// The checks of a sample voucher that run inside the save, after its rows were written, on the
// save's own connection (they see its rows; on SQLite a second connection would wait for the save's
// write lock). A refusal is the message to show; a database error is returned as the error, and
// the engine rolls the save back either way.
//
// A structure is named by its key: the new item's code, the version (csocode) and the ten free
// items. The item code matches exactly as stored (the lookup goes by index); the version and free
// items match with trailing blanks ignored, as fixed-width text compared on the suite's first
// database, and with letter case respected, since "A" and "a" are different colours or materials.
class SampleStructureChecks
{
public:
    explicit SampleStructureChecks(Connection &cnn)
        : m_cnn(cnn)
    {}

    // No other sample, and no bill of materials, may describe the head's structure; a child sample
    // (empty number) must find its parent voucher (parentId) unchanged since it was loaded
    // (parentVersion, its qvts text). "" = passed, else the reason.
    Result<QString> checkHead(const VoucherRow &head, qint32 parentId, const QString &parentVersion);

    // The saved structure must not close a loop through samples or bills of materials.
    // "" = passed, else the reason.
    Result<QString> checkBody(const VoucherRow &head);

private:
    // Identifiers of the sample heads with the head's structure key, in identifier order.
    Result<QList<qint64>> samplesWithKey(const VoucherRow &head);
    Result<bool> bomWithKey(const VoucherRow &head);
    Result<QString> checkParent(qint32 parentId, const QString &parentVersion);

    Connection &m_cnn;
};
