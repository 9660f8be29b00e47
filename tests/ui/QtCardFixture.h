#pragma once

#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "engine/ReferenceData.h"

#include "host/clsLogin.h"
#include "card/frmManageSample.h"
#include "entry/WindowManager.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

// The Qt card windows over the reference master data and one numbered sample, YP001, with
// "tester" logged in on each backend. Messages are recorded, not shown.
class QtCardTest : public LoggedInTest
{
protected:
    void SetUp() override
    {
        LoggedInTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        registerQtWindows();
        writeReferenceData(db, QDate::fromString(login->LoginDate(), Qt::ISODate));
        samples.voucher(1, QStringLiteral("YP001"));
    }
    void TearDown() override
    {
        unloadQtWindows();
        LoggedInTest::TearDown();
    }

    SampleWriter samples{db};
    FakeMessageService messages;
};

// Runs `act` on the first modal window that opens (polled by a timer, as a user would see it);
// `act` closes it.
inline void whenModalOpens(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

// The Qt card window on the newest voucher (YP001, shown by a move), active.
class QtCardWindowTest : public QtCardTest
{
protected:
    void SetUp() override
    {
        QtCardTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        prepareDatabase();
        card = std::dynamic_pointer_cast<frmManageSample>(WindowManager::newCard());
        QString error;
        std::shared_ptr<Connection> cnn;
        qint16 move = 4;
        ASSERT_TRUE(card->ShowVoucher(cnn, login, QString(), QString(), error, move)) << error.toStdString();
        window = dynamic_cast<SampleCardWindow *>(&card->view());
        ASSERT_TRUE(window);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    void TearDown() override
    {
        card.reset();
        QtCardTest::TearDown();
    }

    // Data a test needs before the card opens (templates the card lists when it is shown).
    virtual void prepareDatabase() {}

    std::shared_ptr<frmManageSample> card;
    SampleCardWindow *window = nullptr;
};
