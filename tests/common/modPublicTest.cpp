#include "support/FakeMessageService.h"
#include "support/ScriptedLogin.h"

#include "common/frmMsg.h"
#include "common/modPublic.h"
#include "host/CardDataSource.h"
#include "host/DataSourceControl.h"
#include "host/ReportRunner.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(ErrorMessage, has_the_fixed_layout_with_the_location_last)
{
    EXPECT_EQ(modPublic::ErrorMessageText(-2147217900, QStringLiteral("对象名 'x' 无效。"),
                                          QStringLiteral("frmVL_JDYPGL:ListShow")),
              QStringLiteral("错误号: \r\n    -2147217900\r\n\r\n错误信息: \r\n    对象名 'x' 无效。\r\n\r\n"
                             "(错误发生于 frmVL_JDYPGL:ListShow 代码段)"));
}

TEST(ErrorMessage, without_a_location_shows_only_the_two_blocks)
{
    EXPECT_EQ(modPublic::ErrorMessageText(5, QStringLiteral("无效的过程调用"), QString()),
              QStringLiteral("错误号: \r\n    5\r\n\r\n错误信息: \r\n    无效的过程调用"));
}

TEST(Messages, error_and_information_boxes_carry_their_titles_and_icons)
{
    FakeMessageService messages;
    modPublic::ShowErrMsg(3, QStringLiteral("失败"), QStringLiteral("a:b"));
    modPublic::ShowInfo(QStringLiteral("已保存"));
    frmMsg::ShowMsg(QStringLiteral("很长的说明"), QStringLiteral("确认结果"));
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误捕获"));
    EXPECT_EQ(messages.shown[0].icon, MessageService::Exclamation);
    EXPECT_EQ(messages.shown[0].buttons, MessageService::Ok);
    // The user is not shown where in the code it happened; the error log keeps it.
    EXPECT_FALSE(messages.shown[0].text.contains(QStringLiteral("a:b")));
    QFile log(modPublic::ErrorLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(log.readAll()).contains(QStringLiteral("3 a:b: 失败")));
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("已保存"));
    EXPECT_EQ(messages.shown[1].title, QStringLiteral("系统提示"));
    EXPECT_EQ(messages.shown[1].icon, MessageService::Information);
    EXPECT_FALSE(messages.shown[1].window);
    // The message window, not a box, with the caption given.
    EXPECT_EQ(messages.shown[2].text, QStringLiteral("很长的说明"));
    EXPECT_EQ(messages.shown[2].title, QStringLiteral("确认结果"));
    EXPECT_TRUE(messages.shown[2].window);
}

class RecordingRunner final : public ReportRunner
{
public:
    RecordingRunner() { install(this); }
    ~RecordingRunner() override { install(nullptr); }
    QString ReportExec(const QString &a1, const QString &a2, const QString &a3, const QString &a4, const QString &a5,
                       const QString &a6, const QString &a7, const QString &a8) override
    {
        calls << QStringList{a1, a2, a3, a4, a5, a6, a7, a8};
        return QStringLiteral("ignored");
    }
    QList<QStringList> calls;
};

TEST(PrintVoucher, hands_the_runner_the_eight_arguments_in_order)
{
    RecordingRunner runner;
    modPublic::setCardLogin(std::make_shared<ScriptedLogin>());
    modPublic::PrintVoucher(QStringLiteral("42"), QStringLiteral("preview"), QStringLiteral("sqlite:///card.db"));
    modPublic::clearProgramState();
    ASSERT_EQ(runner.calls.size(), 1);
    EXPECT_EQ(runner.calls[0], (QStringList{"sqlite:///card.db", "session-token", "1801", "42", "preview", "001",
                                            "report-value", "AllowPrint=True"}));
}

TEST(PrintVoucher, without_a_card_session_reports_and_prints_nothing)
{
    RecordingRunner runner;
    FakeMessageService messages;
    modPublic::PrintVoucher(QStringLiteral("42"), QStringLiteral("print"), QStringLiteral("sqlite:///card.db"));
    EXPECT_TRUE(runner.calls.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误捕获"));
}

TEST(NullToValue, replaces_only_null)
{
    const QVariant replacement(QStringLiteral("默认"));
    EXPECT_EQ(modPublic::NullToValue(QVariant(), replacement), replacement);
    // A database NULL arrives as a typed null value.
    EXPECT_EQ(modPublic::NullToValue(QVariant(QMetaType::fromType<QString>()), replacement), replacement);
    EXPECT_EQ(modPublic::NullToValue(QVariant(QString()), replacement), QVariant(QString()));
    EXPECT_EQ(modPublic::NullToValue(QVariant(0), replacement), QVariant(0));
}

class SourceHolder final : public DataSourceControl
{
public:
    void setDataSource(std::shared_ptr<CardDataSource> s) override { source = std::move(s); }
    std::shared_ptr<CardDataSource> source;
};

TEST(CardDataSource, is_one_object_for_every_card_and_follows_the_card_session)
{
    const auto first = std::make_shared<ScriptedLogin>();
    const auto second = std::make_shared<ScriptedLogin>();
    SourceHolder card1;
    SourceHolder card2;
    modPublic::setCardLogin(first);
    modPublic::SetCardDataSource(card1);
    modPublic::setCardLogin(second);
    modPublic::SetCardDataSource(card2);
    ASSERT_TRUE(card1.source);
    EXPECT_EQ(card1.source, card2.source);
    EXPECT_EQ(card2.source->login(), second);
    modPublic::clearProgramState();
}

} // namespace
