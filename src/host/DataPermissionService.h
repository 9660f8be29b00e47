#pragma once

#include "DataPermission.h"
#include "DataPermissionStore.h"

#include <memory>

class Connection;

// The host's data-permission service: answers the questions of DataPermission from the grants in
// the database (see DataPermissionStore) for the user of the bound login.
//
// The service opens its own connection with the login's connection string at the first question
// and keeps it until it is destroyed or bound to a login of another database. Grants are read
// for every question, so a change counts at once; an answer costs one or two indexed queries.
//
// Values written into the answers come from our own tables, yet are still made safe: identifiers
// are written as integers (a stored value that is not one is left out) and codes and names as
// quoted literals with their quotes doubled, so no stored text can change a caller's statement.
//
// A question the service cannot answer (no login, a logged-out login, a database failure) answers
// "nothing allowed" and leaves the reason in lastError(); it is also logged as a warning.
class DataPermissionService final : public DataPermission
{
public:
    DataPermissionService();
    ~DataPermissionService() override;
    DataPermissionService(const DataPermissionService &) = delete;
    DataPermissionService &operator=(const DataPermissionService &) = delete;

    void BindLogin(std::shared_ptr<clsLogin> &login) override;
    QString GetFieldCondition(const QString &field) override;
    QString GetKindCondition(const QString &kind) override;

    // Why the last answer fell back to "nothing allowed"; empty when it came from the grants.
    QString lastError() const { return m_lastError; }

private:
    // The answer of a kind: `everything` when all is granted, "1=2" when nothing, else the values.
    QString listAnswer(DataObject object, const QString &access, const QString &everything);
    // The user's grants, or none when they cannot be read.
    DataGrants grantsOf(DataObject object, const QString &access = QString());
    Result<DataGrants> readGrants(DataObject object, const QString &access);

    std::shared_ptr<clsLogin> m_login;
    std::unique_ptr<Connection> m_cnn;
    QString m_lastError;
};
