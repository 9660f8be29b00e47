#include "host/DataPermissionService.h"
#include "host/clsLogin.h"

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const QString kAll = QStringLiteral("1=1");
const QString kNone = QStringLiteral("1=2");

const QStringList kFields = {"CustomerIID", "Customer.iId", "NewInvIID", "InventoryIID",
                             "I.iId",       "i.iId",        "cdepcode",  "COALESCE(InventoryIID,0) not"};
const QStringList kMakerKinds = {"r", "w", "v", "u", "c"};

class DataPermissionServiceTest : public testing::TestWithParam<Backend>
{
protected:
    std::shared_ptr<clsLogin> login(const QString &id, bool super = false)
    {
        auto made = clsLogin::CreateUser(db.cnn(), id, id + QStringLiteral("名"), QStringLiteral("pw"), super);
        EXPECT_TRUE(made) << made.error().toStdString();
        auto session = clsLogin::Login(db.connectionString(), id, QStringLiteral("pw"));
        EXPECT_TRUE(session) << session.error().toStdString();
        return session ? *session : nullptr;
    }

    void bind(const QString &id, bool super = false)
    {
        m_session = login(id, super);
        service.BindLogin(m_session);
    }

    void control(DataObject object, bool on = true)
    {
        auto done = DataPermissionStore::setControlled(db.cnn(), object, on);
        ASSERT_TRUE(done) << done.error().toStdString();
    }

    void grant(const QString &user, DataObject object, const QStringList &values, const QString &access = {})
    {
        for (const QString &v : values) {
            auto done = DataPermissionStore::grantValue(db.cnn(), user, object, v, access);
            ASSERT_TRUE(done) << done.error().toStdString();
        }
    }

    void controlEverything()
    {
        for (auto object : {DataObject::Customer, DataObject::Inventory, DataObject::Department, DataObject::Maker,
                            DataObject::Template})
            control(object);
    }

    // Every field and maker kind answers `answer` ("1=1" or "1=2"); the negated field text, which
    // selects the rows outside the permission, the opposite; templates `templates`.
    void expectTrivialAnswers(const QString &answer, const QString &templates)
    {
        const QString opposite = answer == kAll ? kNone : kAll;
        for (const QString &field : kFields) {
            const bool negated = field.endsWith(QStringLiteral(" not"));
            EXPECT_EQ(service.GetFieldCondition(field), negated ? opposite : answer) << field.toStdString();
        }
        for (const QString &kind : kMakerKinds)
            EXPECT_EQ(service.GetKindCondition(kind), answer) << kind.toStdString();
        EXPECT_EQ(service.GetKindCondition(QStringLiteral("DJMB")), templates);
    }

    TestDatabase db{GetParam()};
    DataPermissionService service; // after db: closes its connection before the database goes
    std::shared_ptr<clsLogin> m_session;
};

TEST_P(DataPermissionServiceTest, answers_everything_for_objects_not_under_control)
{
    ORVANE_REQUIRE(db);
    bind(QStringLiteral("li"));
    expectTrivialAnswers(kAll, QString());

    // Control is switched per object, and off again.
    control(DataObject::Customer);
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), kNone);
    control(DataObject::Customer, false);
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), kAll);
}

TEST_P(DataPermissionServiceTest, answers_nothing_for_a_controlled_object_without_grants)
{
    ORVANE_REQUIRE(db);
    controlEverything();
    bind(QStringLiteral("li"));
    expectTrivialAnswers(kNone, kNone);
    EXPECT_TRUE(service.lastError().isEmpty()) << "an empty grant is an answer, not a failure";
}

TEST_P(DataPermissionServiceTest, names_the_asked_text_before_the_granted_values)
{
    ORVANE_REQUIRE(db);
    controlEverything();
    bind(QStringLiteral("li"));
    // Stored out of order and in a form that is not canonical: answered by number, once each.
    grant(QStringLiteral("li"), DataObject::Customer, {"12", "3", "007", "7"});
    grant(QStringLiteral("li"), DataObject::Inventory, {"40", "5"});
    grant(QStringLiteral("li"), DataObject::Department, {"0203", "0101"});
    grant(QStringLiteral("li"), DataObject::Template, {"180102", "180101"});

    const struct
    {
        const char *field;
        const char *answer;
    } cases[] = {
        {"CustomerIID", "CustomerIID in (3,7,12)"},
        {"Customer.iId", "Customer.iId in (3,7,12)"},
        {"NewInvIID", "NewInvIID in (5,40)"},
        {"InventoryIID", "InventoryIID in (5,40)"},
        {"I.iId", "I.iId in (5,40)"},
        {"i.iId", "i.iId in (5,40)"},
        {"isnull(InventoryIID,0) not", "isnull(InventoryIID,0) not in (5,40)"},
        {"COALESCE(InventoryIID, 0) not", "COALESCE(InventoryIID, 0) not in (5,40)"},
        {"cdepcode", "cdepcode in ('0101','0203')"},
        {"CDEPCODE", "CDEPCODE in ('0101','0203')"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(service.GetFieldCondition(QString::fromUtf8(c.field)), QString::fromUtf8(c.answer)) << c.field;
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("DJMB")), QStringLiteral("180101,180102"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("djmb")), QStringLiteral("180101,180102"));

    // Texts that name no controlled object are outside data permissions.
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("cpersoncode")), kAll);
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("Vendor.iId")), kAll);
}

TEST_P(DataPermissionServiceTest, keeps_the_access_kinds_of_makers_apart)
{
    ORVANE_REQUIRE(db);
    control(DataObject::Maker);
    bind(QStringLiteral("li"));
    grant(QStringLiteral("li"), DataObject::Maker, {"张明", "李娜"}, QStringLiteral("r"));
    grant(QStringLiteral("li"), DataObject::Maker, {"李娜"}, QStringLiteral("w"));
    auto all = DataPermissionStore::grantAll(db.cnn(), QStringLiteral("li"), DataObject::Maker, QStringLiteral("v"));
    ASSERT_TRUE(all) << all.error().toStdString();

    EXPECT_EQ(service.GetKindCondition(QStringLiteral("r")), QStringLiteral("'张明','李娜'"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("R")), QStringLiteral("'张明','李娜'"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("w")), QStringLiteral("'李娜'"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("v")), kAll);
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("u")), kNone);
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("c")), kNone);
    // Not an access kind: nothing is allowed by it.
    for (const char *kind : {"", "x", "rw", "UserR"})
        EXPECT_EQ(service.GetKindCondition(QString::fromLatin1(kind)), kNone) << kind;
}

TEST_P(DataPermissionServiceTest, an_all_grant_or_a_super_user_outweighs_single_values)
{
    ORVANE_REQUIRE(db);
    controlEverything();
    bind(QStringLiteral("li"));
    grant(QStringLiteral("li"), DataObject::Customer, {"3"});
    grant(QStringLiteral("li"), DataObject::Maker, {"李娜"}, QStringLiteral("r"));
    for (const auto &[object, access] :
         {std::pair{DataObject::Customer, QString()}, std::pair{DataObject::Maker, QStringLiteral("r")}}) {
        auto all = DataPermissionStore::grantAll(db.cnn(), QStringLiteral("li"), object, access);
        ASSERT_TRUE(all) << all.error().toStdString();
    }
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), kAll);
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("r")), kAll);
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("w")), kNone);

    bind(QStringLiteral("boss"), true); // no grants at all
    expectTrivialAnswers(kAll, QString());
}

TEST_P(DataPermissionServiceTest, grant_helpers_refuse_values_an_answer_could_not_carry)
{
    ORVANE_REQUIRE(db);
    login(QStringLiteral("li"));
    const QString li = QStringLiteral("li");
    EXPECT_FALSE(DataPermissionStore::grantValue(db.cnn(), li, DataObject::Customer, QStringLiteral("KH0001")));
    EXPECT_FALSE(DataPermissionStore::grantValue(db.cnn(), li, DataObject::Template, QStringLiteral("1.5")));
    EXPECT_FALSE(DataPermissionStore::grantValue(db.cnn(), li, DataObject::Department, QStringLiteral("  ")));
    EXPECT_FALSE(DataPermissionStore::grantValue(db.cnn(), li, DataObject::Maker, QStringLiteral("李娜")));
    EXPECT_FALSE(
        DataPermissionStore::grantValue(db.cnn(), li, DataObject::Maker, QStringLiteral("李娜"), QStringLiteral("x")));
    EXPECT_FALSE(
        DataPermissionStore::grantValue(db.cnn(), li, DataObject::Customer, QStringLiteral("1"), QStringLiteral("r")));
    EXPECT_FALSE(DataPermissionStore::grantAll(db.cnn(), QStringLiteral("nobody"), DataObject::Customer));
    EXPECT_EQ(db.count(QStringLiteral("ua_datapermission")), 0);

    // Granting twice, also in another spelling of the same number, keeps one row.
    EXPECT_TRUE(DataPermissionStore::grantValue(db.cnn(), li, DataObject::Customer, QStringLiteral("7")));
    EXPECT_TRUE(DataPermissionStore::grantValue(db.cnn(), li, DataObject::Customer, QStringLiteral(" 07 ")));
    EXPECT_TRUE(DataPermissionStore::grantAll(db.cnn(), li, DataObject::Customer));
    EXPECT_TRUE(DataPermissionStore::grantAll(db.cnn(), li, DataObject::Customer));
    EXPECT_EQ(db.count(QStringLiteral("ua_datapermission")), 2);
}

TEST_P(DataPermissionServiceTest, leaves_out_stored_identifiers_that_are_not_integers)
{
    ORVANE_REQUIRE(db);
    controlEverything();
    bind(QStringLiteral("li"));
    // Written past the grant helpers, which refuse such values.
    const QString insert = QStringLiteral("INSERT INTO ua_datapermission (cacc_id, cuser_id, cobject, caccess, cvalue, "
                                          "ball) VALUES ('001', 'li', ?, '', ?, 0)");
    db.exec(insert, {QStringLiteral("customer"), QStringLiteral("1) or (1=1")});
    db.exec(insert, {QStringLiteral("template"), QStringLiteral("180101 or 1=1")});
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), kNone);
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("DJMB")), kNone);

    db.exec(insert, {QStringLiteral("customer"), QStringLiteral("4")});
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), QStringLiteral("CustomerIID in (4)"));
}

TEST_P(DataPermissionServiceTest, answers_for_the_user_of_the_last_bound_login)
{
    ORVANE_REQUIRE(db);
    control(DataObject::Customer);
    auto li = login(QStringLiteral("li"));
    auto wang = login(QStringLiteral("wang"));
    grant(QStringLiteral("li"), DataObject::Customer, {"1"});
    grant(QStringLiteral("wang"), DataObject::Customer, {"2"});

    service.BindLogin(li);
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), QStringLiteral("CustomerIID in (1)"));
    service.BindLogin(wang);
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), QStringLiteral("CustomerIID in (2)"));
    // Grants are read for every question, so a new one counts without binding again.
    grant(QStringLiteral("wang"), DataObject::Customer, {"5"});
    EXPECT_EQ(service.GetFieldCondition(QStringLiteral("CustomerIID")), QStringLiteral("CustomerIID in (2,5)"));
}

TEST_P(DataPermissionServiceTest, answers_nothing_without_a_logged_in_user)
{
    ORVANE_REQUIRE(db);
    expectTrivialAnswers(kNone, kNone); // nothing is under control, yet nobody is asking
    EXPECT_FALSE(service.lastError().isEmpty());

    bind(QStringLiteral("li"));
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("r")), kAll);
    EXPECT_TRUE(service.lastError().isEmpty());
    m_session->Logout();
    EXPECT_EQ(service.GetKindCondition(QStringLiteral("r")), kNone);
    EXPECT_FALSE(service.lastError().isEmpty());
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Db, DataPermissionServiceTest, ORVANE_BOTH_BACKENDS);
