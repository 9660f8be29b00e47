#pragma once

#include "RecordingBusiness.h"

#include "support/TestDatabase.h"

#include "engine/clsVoucherCo.h"

#include <QString>
#include <QVariant>

#include <memory>

class clsLogin;
class clsVoucherShowParameter;

// One user's sample card for save tests: a session of the test user "tester" (see loginTester),
// an engine on card "1801" whose business object records its callbacks, and helpers that fill the
// documents the way the card does. Everything is made and used on the thread that creates it.
class SaveClient
{
public:
    explicit SaveClient(const QString &connectionString, const QString &userId = QStringLiteral("tester"));
    ~SaveClient();

    bool isReady() const { return m_ready; }

    // Loads a voucher into the documents (0: an empty card that only carries the columns).
    void open(qlonglong id);
    // Replaces the documents with a new voucher dated 2026-12-01: a head with that number and
    // `lines` new lines (editprop "A"), components C1, C2, ...
    void newVoucher(const QString &code, int lines);
    // A new line (editprop as given) on the loaded body; returns it for further values.
    VoucherRow addLine(const QString &component, const QString &mark = QStringLiteral("A"));

    // Saves (2 new, 1 edit); "" or the message.
    QString save(int state);

    QString head(const QString &field) { return engine.domHead().headRow().value(field); }

    clsVoucherCo engine;
    std::shared_ptr<RecordingBusiness> business = std::make_shared<RecordingBusiness>();
    std::shared_ptr<clsVoucherShowParameter> sp;
    std::shared_ptr<clsLogin> login;
    QVariant returnedId;
    qint32 parentId = 0; // POvoucherID: 0 for a top-level voucher
    QString parentVersion;

private:
    bool m_ready = false;
};

// A test on both backends with the test user and one client on a fresh database.
class SaveClientTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override;

    TestDatabase db{GetParam()};
    std::unique_ptr<SaveClient> client;
};
