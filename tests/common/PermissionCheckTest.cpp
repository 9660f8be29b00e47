#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"
#include "support/ScriptedLogin.h"

#include "common/modPublic.h"

#include <functional>

namespace {

const QString kTask = QStringLiteral("SA03250101");
const QString kNoRight = QStringLiteral("您没有这个权限！");

QString request(int mode)
{
    return QStringLiteral("RequestTask(%1,%2)").arg(kTask).arg(mode);
}
const QString kFinish = QStringLiteral("FinishRequest");

// The four checks differ in the session they use and in how a refusal reaches the user.
struct Variant
{
    const char *name;
    bool listSession;
    bool returnsMessage;                                         // else shown
    std::function<bool(const QString &, bool, QString &)> check; // message is only used by the Msg variants
};

const Variant kVariants[] = {
    {"CheckAuth", false, false,
     [](const QString &t, bool r, QString &) {
         return modPublic::CheckAuth(t, r);
     }},
    {"CheckAuthMsg", false, true,
     [](const QString &t, bool r, QString &m) {
         return modPublic::CheckAuthMsg(t, r, m);
     }},
    {"CheckListAuth", true, false,
     [](const QString &t, bool r, QString &) {
         return modPublic::CheckListAuth(t, r);
     }},
    {"CheckListAuthMsg", true, true,
     [](const QString &t, bool r, QString &m) {
         return modPublic::CheckListAuthMsg(t, r, m);
     }},
};

class PermissionCheck : public testing::TestWithParam<Variant>
{
protected:
    void SetUp() override
    {
        // The other session refuses everything, so a check that asks the wrong one fails.
        other->holdsRight = false;
        modPublic::setCardLogin(GetParam().listSession ? other : session);
        modPublic::setListLogin(GetParam().listSession ? session : other);
    }
    void TearDown() override { modPublic::clearProgramState(); }

    bool check(bool release = false) { return GetParam().check(kTask, release, message); }

    // Where the variant delivers a refusal: the message, or the one box shown.
    void expectRefusal(const QString &text, const QString &boxTitle, MessageService::Icon boxIcon)
    {
        if (GetParam().returnsMessage) {
            EXPECT_EQ(message, text);
            EXPECT_TRUE(messages.shown.isEmpty());
            return;
        }
        EXPECT_EQ(message, QStringLiteral("untouched"));
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, text);
        EXPECT_EQ(messages.shown[0].buttons, MessageService::Ok);
        if (GetParam().listSession) { // information message
            EXPECT_EQ(messages.shown[0].title, QStringLiteral("系统提示"));
            EXPECT_EQ(messages.shown[0].icon, MessageService::Information);
        } else {
            EXPECT_EQ(messages.shown[0].title, boxTitle);
            EXPECT_EQ(messages.shown[0].icon, boxIcon);
        }
    }

    FakeMessageService messages;
    std::shared_ptr<ScriptedLogin> session = std::make_shared<ScriptedLogin>();
    std::shared_ptr<ScriptedLogin> other = std::make_shared<ScriptedLogin>();
    QString message = QStringLiteral("untouched");
};

TEST_P(PermissionCheck, a_granted_right_enters_the_function_and_finishes_every_request)
{
    EXPECT_TRUE(check());
    EXPECT_EQ(session->calls, (QStringList{request(1), kFinish, request(-1), kFinish}));
    EXPECT_EQ(session->requestTexts, (QStringList{QString(), QString()}));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(message, QStringLiteral("untouched"));
}

TEST_P(PermissionCheck, a_missing_right_is_told_once_and_never_entered)
{
    session->holdsRight = false;
    EXPECT_FALSE(check());
    EXPECT_EQ(session->calls, (QStringList{request(1), kFinish}));
    expectRefusal(kNoRight, QStringLiteral("销售管理"), MessageService::Exclamation);
}

TEST_P(PermissionCheck, a_busy_function_is_told_with_the_sessions_explanation)
{
    session->mayEnter = false;
    EXPECT_FALSE(check());
    EXPECT_EQ(session->calls,
              (QStringList{request(1), kFinish, request(-1), QStringLiteral("GetRequestError"), kFinish}));
    // The busy box has no title of its own (the application's) and no icon.
    expectRefusal(QStringLiteral("功能互斥：\r\n") + session->busyReason, QString(), MessageService::NoIcon);
}

TEST_P(PermissionCheck, releasing_gives_the_function_back_and_answers_true_whatever_the_session_says)
{
    session->leaveAllowed = false;
    session->holdsRight = false;
    EXPECT_TRUE(check(true));
    EXPECT_EQ(session->calls, (QStringList{request(0), kFinish}));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(message, QStringLiteral("untouched"));
}

TEST_P(PermissionCheck, a_failing_session_is_reported_as_an_error_and_refuses)
{
    session->failure = QStringLiteral("连接已断开");
    EXPECT_FALSE(check());
    EXPECT_EQ(session->calls, (QStringList{request(1), kFinish}));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误捕获"));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("连接已断开")));
    EXPECT_FALSE(messages.shown[0].text.contains(QStringLiteral("modPublic:"))) << "the location goes to the log";
}

TEST_P(PermissionCheck, without_a_session_a_check_refuses_and_a_release_passes_quietly)
{
    modPublic::clearProgramState();
    EXPECT_TRUE(check(true));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(check());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误捕获"));
}

std::string variantName(const testing::TestParamInfo<Variant> &variant)
{
    return variant.param.name;
}

INSTANTIATE_TEST_SUITE_P(Variants, PermissionCheck, testing::ValuesIn(kVariants), variantName);

// The same checks against real sessions: rights and function locks in the database.
class PermissionCheckDb : public LoggedInTest
{
protected:
    FakeMessageService messages;
};

TEST_P(PermissionCheckDb, a_second_session_is_refused_while_the_first_holds_the_function)
{
    ASSERT_TRUE(clsLogin::AddExclusion(db.cnn(), kTask, kTask));
    const auto second = loginUser(db, QStringLiteral("wang"), QStringLiteral("王五"), true);
    ASSERT_TRUE(second);

    modPublic::setCardLogin(login);
    ASSERT_TRUE(modPublic::CheckAuth(kTask, false));

    modPublic::setCardLogin(second);
    EXPECT_FALSE(modPublic::CheckAuth(kTask, false));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("功能互斥：\r\n功能[SA03250101]正被用户 测试员")))
        << messages.shown[0].text.toStdString();

    // Once the first window gives the function back, the second session gets it.
    modPublic::setCardLogin(login);
    EXPECT_TRUE(modPublic::CheckAuth(kTask, true));
    modPublic::setCardLogin(second);
    EXPECT_TRUE(modPublic::CheckAuth(kTask, false));
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_P(PermissionCheckDb, a_user_without_the_right_takes_no_lock)
{
    const auto plain = loginUser(db, QStringLiteral("zhao"), QStringLiteral("赵六"), false);
    ASSERT_TRUE(plain);
    modPublic::setListLogin(plain);
    QString message;
    EXPECT_FALSE(modPublic::CheckListAuthMsg(QStringLiteral("SA03250201"), false, message));
    EXPECT_EQ(message, kNoRight);
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 0);

    ASSERT_TRUE(clsLogin::GrantRight(db.cnn(), QStringLiteral("zhao"), QStringLiteral("SA03250201")));
    EXPECT_TRUE(modPublic::CheckListAuthMsg(QStringLiteral("SA03250201"), false, message));
    EXPECT_EQ(db.count(QStringLiteral("ua_task_lock")), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, PermissionCheckDb, ORVANE_BOTH_BACKENDS);

} // namespace
