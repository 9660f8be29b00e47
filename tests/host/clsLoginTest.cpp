#include "host/clsLogin.h"

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const QString kWrongCredentials = QStringLiteral("用户名或密码错误，请重新输入");

class LoginTest : public testing::TestWithParam<Backend>
{
protected:
    void addUser(const QString &id, const QString &name, const QString &password, bool super = false)
    {
        auto made = clsLogin::CreateUser(db.cnn(), id, name, password, super);
        ASSERT_TRUE(made) << made.error().toStdString();
    }

    Result<std::shared_ptr<clsLogin>> login(const QString &id, const QString &password)
    {
        return clsLogin::Login(db.connectionString(), id, password, QDate(2024, 5, 6));
    }

    bool allowed(clsLogin &session, const QString &task, short mode)
    {
        bool ok = true;
        auto asked = session.RequestTask(task, mode, QString(), ok);
        EXPECT_TRUE(asked) << asked.error().toStdString();
        session.FinishRequest();
        return ok;
    }

    TestDatabase db{GetParam()};
};

TEST_P(LoginTest, opens_a_session_that_reports_the_user_and_date)
{
    ORVANE_REQUIRE(db);
    addUser(QStringLiteral("zhang"), QStringLiteral("张三"), QStringLiteral("s3cret"));

    auto first = login(QStringLiteral("zhang"), QStringLiteral("s3cret"));
    ASSERT_TRUE(first) << first.error().toStdString();
    const clsLogin &session = **first;
    EXPECT_TRUE(session.IsLoggedIn());
    EXPECT_EQ(session.UserId(), QStringLiteral("zhang"));
    EXPECT_EQ(session.UserName(), QStringLiteral("张三"));
    EXPECT_EQ(session.LoginDate(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(session.AccountId(), QStringLiteral("001"));
    EXPECT_EQ(session.ConnectionString(), db.connectionString());
    EXPECT_FALSE(session.SessionValue().isEmpty());

    // The token tells sessions apart, also two of the same user.
    auto second = login(QStringLiteral("zhang"), QStringLiteral("s3cret"));
    ASSERT_TRUE(second);
    EXPECT_NE((*second)->SessionValue(), session.SessionValue());
}

TEST_P(LoginTest, refuses_a_wrong_password_and_an_unknown_user_alike)
{
    ORVANE_REQUIRE(db);
    addUser(QStringLiteral("zhang"), QStringLiteral("张三"), QStringLiteral("s3cret"));

    auto wrong = login(QStringLiteral("zhang"), QStringLiteral("S3cret"));
    auto unknown = login(QStringLiteral("nobody"), QStringLiteral("s3cret"));
    ASSERT_FALSE(wrong);
    ASSERT_FALSE(unknown);
    // Two different messages would tell a guesser which user identifiers exist.
    EXPECT_EQ(wrong.error(), kWrongCredentials);
    EXPECT_EQ(unknown.error(), kWrongCredentials);
    EXPECT_FALSE(login(QString(), QStringLiteral("s3cret")));
}

TEST_P(LoginTest, refuses_a_disabled_user_but_only_says_so_after_the_right_password)
{
    ORVANE_REQUIRE(db);
    addUser(QStringLiteral("li"), QStringLiteral("李四"), QStringLiteral("pw"));
    db.exec(QStringLiteral("UPDATE ua_user SET bdisabled = 1 WHERE cuser_id = ?"), {QStringLiteral("li")});

    auto right = login(QStringLiteral("li"), QStringLiteral("pw"));
    ASSERT_FALSE(right);
    EXPECT_TRUE(right.error().contains(QStringLiteral("停用"))) << right.error().toStdString();

    auto wrong = login(QStringLiteral("li"), QStringLiteral("guess"));
    ASSERT_FALSE(wrong);
    EXPECT_EQ(wrong.error(), kWrongCredentials);
}

TEST_P(LoginTest, stores_a_salted_hash_instead_of_the_password)
{
    ORVANE_REQUIRE(db);
    addUser(QStringLiteral("a"), QStringLiteral("甲"), QStringLiteral("same-password"));
    addUser(QStringLiteral("b"), QStringLiteral("乙"), QStringLiteral("same-password"));

    auto rs = db.cnn().Query(QStringLiteral("SELECT cpassword FROM ua_user ORDER BY cuser_id"));
    ASSERT_TRUE(rs);
    ASSERT_EQ(rs->RecordCount(), 2);
    const QString first = rs->text(QStringLiteral("cpassword"));
    rs->MoveNext();
    const QString second = rs->text(QStringLiteral("cpassword"));
    EXPECT_FALSE(first.contains(QStringLiteral("same-password")));
    EXPECT_TRUE(first.startsWith(QStringLiteral("$argon2"))) << first.toStdString();
    // Same password, different salt: equal hashes would let one user's hash unlock another's.
    EXPECT_NE(first, second);

    auto again
        = clsLogin::CreateUser(db.cnn(), QStringLiteral("a"), QStringLiteral("另一个"), QStringLiteral("x"), false);
    EXPECT_FALSE(again);
    EXPECT_EQ(db.count(QStringLiteral("ua_user")), 2);
    EXPECT_TRUE(login(QStringLiteral("a"), QStringLiteral("same-password")));
}

TEST_P(LoginTest, takes_hostile_user_identifiers_as_plain_values)
{
    ORVANE_REQUIRE(db);
    addUser(QStringLiteral("zhang"), QStringLiteral("张三"), QStringLiteral("pw"));
    const QStringList hostile = {QStringLiteral("x' OR '1'='1"), QStringLiteral("zhang'; DELETE FROM ua_user; --")};
    for (const QString &id : hostile) {
        auto attempt = login(id, QStringLiteral("pw"));
        ASSERT_FALSE(attempt) << id.toStdString();
        EXPECT_EQ(attempt.error(), kWrongCredentials);
    }
    EXPECT_EQ(db.count(QStringLiteral("ua_user")), 1);

    // Such an identifier is stored and matched literally.
    const QString odd = QStringLiteral("o'brien;--");
    addUser(odd, QStringLiteral("O'Brien"), QStringLiteral("pw"));
    auto session = login(odd, QStringLiteral("pw"));
    ASSERT_TRUE(session) << session.error().toStdString();
    ASSERT_TRUE(clsLogin::GrantRight(db.cnn(), odd, QStringLiteral("SA03250101")));
    EXPECT_TRUE(allowed(**session, QStringLiteral("SA03250101"), clsLogin::TaskCheck));
    EXPECT_FALSE(allowed(**session, QStringLiteral("SA03250101' OR '1'='1"), clsLogin::TaskCheck));
    EXPECT_EQ(db.count(QStringLiteral("ua_right")), 1);
}

TEST_P(LoginTest, checks_rights_per_task_and_lets_a_super_user_do_everything)
{
    ORVANE_REQUIRE(db);
    addUser(QStringLiteral("zhang"), QStringLiteral("张三"), QStringLiteral("pw"));
    addUser(QStringLiteral("admin"), QStringLiteral("管理员"), QStringLiteral("pw"), true);
    ASSERT_TRUE(clsLogin::GrantRight(db.cnn(), QStringLiteral("zhang"), QStringLiteral("SA03250101")));
    // Granting twice is harmless.
    ASSERT_TRUE(clsLogin::GrantRight(db.cnn(), QStringLiteral("zhang"), QStringLiteral("SA03250101")));
    EXPECT_EQ(db.count(QStringLiteral("ua_right")), 1);
    EXPECT_FALSE(clsLogin::GrantRight(db.cnn(), QStringLiteral("ghost"), QStringLiteral("SA03250101")));

    auto user = login(QStringLiteral("zhang"), QStringLiteral("pw"));
    ASSERT_TRUE(user);
    EXPECT_TRUE(allowed(**user, QStringLiteral("SA03250101"), clsLogin::TaskCheck));
    EXPECT_TRUE((*user)->GetRequestError().isEmpty());
    EXPECT_FALSE(allowed(**user, QStringLiteral("SA03250102"), clsLogin::TaskCheck));
    EXPECT_TRUE((*user)->GetRequestError().contains(QStringLiteral("SA03250102")));

    // A right granted while the session runs counts at once.
    ASSERT_TRUE(clsLogin::GrantRight(db.cnn(), QStringLiteral("zhang"), QStringLiteral("SA03250102")));
    EXPECT_TRUE(allowed(**user, QStringLiteral("SA03250102"), clsLogin::TaskCheck));

    auto admin = login(QStringLiteral("admin"), QStringLiteral("pw"));
    ASSERT_TRUE(admin);
    EXPECT_TRUE((*admin)->isSuperUser());
    EXPECT_TRUE(allowed(**admin, QStringLiteral("SA03250105"), clsLogin::TaskCheck));
}

INSTANTIATE_TEST_SUITE_P(Db, LoginTest, ORVANE_BOTH_BACKENDS);

} // namespace
