#pragma once

#include "support/FakeMessageService.h"
#include "support/SampleFixture.h"

#include "engine/ReferenceData.h"

#include "host/clsLogin.h"
#include "ui/QtWindows.h"

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
