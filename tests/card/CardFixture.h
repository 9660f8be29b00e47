#pragma once

#include "FakeCardView.h"

#include "support/FakeMessageService.h"
#include "support/MasterDataRows.h"
#include "support/SampleFixture.h"

#include "card/frmManageSample.h"
#include "entry/WindowManager.h"

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The card's answer to an identifier it cannot show (missing or outside the user's permission).
inline const QString kNotFound = QStringLiteral("找不到该单据(该单据可能已被删除)或者你没有查看该单据的权限，请检查！");

// A card window on a fake view over a fresh database of each backend, with "tester" (every
// right) logged in. Made through the window manager, as the entry objects make it.
class CardTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        WindowManager::setCardFactory([this] {
            auto made = std::make_shared<frmManageSample>(view, cardNumber);
            if (permission)
                made->setDataPermission(permission);
            return made;
        });
        seed();
    }
    // The vouchers a test group starts from.
    virtual void seed() {}
    // Two numbered samples YP001 and YP002 with their master data (in display template
    // `templateId` when given), shown on the first by a move so that it may be edited.
    void seedTwoSamples(int templateId = 0)
    {
        samples.voucher(1, QStringLiteral("YP001"));
        samples.voucher(2, QStringLiteral("YP002"));
        if (templateId != 0)
            db.exec(QStringLiteral("UPDATE ManageSample SET vt_id = ?"), {templateId});
        MasterDataRows::forStoredVouchers(db.cnn());
        ASSERT_TRUE(show({}, 1));
    }

    bool show(const QVariant &id, qint16 move = 0, const QString &vtid = QString())
    {
        card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
        // Only the card shown last: an earlier one goes with its connection when card is replaced.
        messages.stopWatching();
        messages.watch(card->engine().connection());
        return card->ShowVoucher(cnn, login, id, vtid, error, move);
    }
    void dispatch(const QString &key) { card->CardCommandDispatch(key); }
    // Types a valid new sample of new item `item` into the card: head values and one component line
    // (C1), numbered as the control's numbering event numbers it.
    void typeNewSample(const QString &item)
    {
        card->RefreshVoucherCode();
        ASSERT_FALSE(control().head.value(QStringLiteral("ccode")).isEmpty());
        MasterDataRows::items(db.cnn(), {item, QStringLiteral("C1")});
        control().head[QStringLiteral("cnewinvcode")] = item;
        control().head[QStringLiteral("cnewinvname")] = QStringLiteral("新品");
        control().head[QStringLiteral("cnewinvcomunitcode")] = QStringLiteral("PCS");
        control().head[QStringLiteral("ifinishexch")] = QStringLiteral("1");
        dispatch(QStringLiteral("tlbAddLine"));
        control().body.last()[QStringLiteral("cpscode")] = QStringLiteral("C1");
        control().body.last()[QStringLiteral("ipsquantity")] = QStringLiteral("2");
        control().body.last()[QStringLiteral("cwhcode")] = QStringLiteral("01");
    }
    CardState &state() { return card->state(); }
    FakeCardControl &control() { return view->control; }

    SampleWriter samples{db};
    FakeMessageService messages;
    std::shared_ptr<FakeCardView> view = std::make_shared<FakeCardView>();
    std::shared_ptr<FakeDataPermission> permission; // the card's own service when not set
    QString cardNumber = QStringLiteral("1801");
    std::shared_ptr<Connection> cnn;
    std::shared_ptr<frmManageSample> card;
    QString error;
};
