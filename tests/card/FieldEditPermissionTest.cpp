#include "CardFixture.h"

#include "engine/ReferenceData.h"

#include "card/FieldEditHandler.h"
#include "host/DemoDatabase.h"
#include "host/clsLogin.h"
#include "platform/DemoData.h"

namespace {

// The demo company with its users and their data permissions, the card opened by 李娜 (lina): she
// may use the twelve customers looked after by 国内销售部 and that department (0201) only.
class RestrictedCard : public CardTest
{
protected:
    void seed() override
    {
        auto filled = DemoData::fill(db.cnn());
        ASSERT_TRUE(filled) << filled.error().toStdString();
        auto users = DemoDatabase::addUsers(db.cnn());
        ASSERT_TRUE(users) << users.error().toStdString();
        auto session = clsLogin::Login(db.connectionString(), QStringLiteral("lina"), QStringLiteral("lina"));
        ASSERT_TRUE(session) << session.error().toStdString();
        login = *session;
        ASSERT_TRUE(show({}, 1)) << error.toStdString();
        control().editState = CardControl::EditingVoucher;
    }

    QStringList column(const QString &sql)
    {
        auto rows = db.cnn().Query(sql);
        EXPECT_TRUE(rows) << rows.error().toStdString();
        QStringList out;
        for (int r = 0; rows && r < rows->RecordCount(); ++r)
            out << rows->value(r, 0).toString();
        return out;
    }

    FieldEditHandler &edits() { return card->fieldEdits(); }
    ScriptedPicker picker;
};

TEST_P(RestrictedCard, lists_offer_only_the_records_the_user_may_pick_and_each_of_them_passes_its_check)
{
    const QStringList hers
        = column(QStringLiteral("SELECT cCusCode FROM Customer WHERE cCusDepart = '0201' ORDER BY cCusCode"));
    ASSERT_EQ(hers.size(), 12);
    ASSERT_LT(hers.size(), db.count(QStringLiteral("Customer")));

    // An empty item searches nothing: the whole list.
    auto offeredFor = [this](const QString &field) {
        control().head[field].clear();
        edits().headReference(field);
        EXPECT_TRUE(picker.error.isEmpty()) << picker.error.toStdString();
        return picker.offered.join(u' ');
    };
    EXPECT_EQ(offeredFor(QStringLiteral("ccuscode")), hers.join(u' '));
    EXPECT_EQ(offeredFor(QStringLiteral("ccusname")), hers.join(u' ')) << "the list by name is the same list";
    EXPECT_EQ(offeredFor(QStringLiteral("cdepcode")), QStringLiteral("0201"));

    for (const QString &code : hers) {
        picker.choose = {code};
        EXPECT_EQ(offeredFor(QStringLiteral("ccuscode")), hers.join(u' '));
        EXPECT_EQ(control().head.value(QStringLiteral("ccuscode")), code);
    }
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.first().text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Db, RestrictedCard, ORVANE_BOTH_BACKENDS);

} // namespace
