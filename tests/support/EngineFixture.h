#pragma once

#include "FakeMessageService.h"
#include "SampleFixture.h"

#include "engine/clsVoucherCo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/clsLogin.h"

#include <memory>

// A test on a fresh database of its backend, with the test user logged in, a sample writer, a
// recording message service and an engine with its show parameters (not yet set up: call
// initialEngine()). Derived fixtures that extend SetUp return early when this one skipped or failed.
class EngineTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        login = loginTester(db);
        ASSERT_TRUE(login);
    }

    bool setUpFailed() const { return IsSkipped() || HasFatalFailure(); }

    void initialEngine()
    {
        engine.Initial(login, QStringLiteral("1801"), sp);
        messages.watch(engine.connection());
    }

    TestDatabase db{GetParam()};
    SampleWriter samples{db};
    FakeMessageService messages;
    std::shared_ptr<clsLogin> login;
    std::shared_ptr<clsVoucherShowParameter> sp = std::make_shared<clsVoucherShowParameter>();
    clsVoucherCo engine;
};
