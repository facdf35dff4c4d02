#ifndef NORVEXA_TESTHOST_INPROCESS_TESTHOSTFIXTURE_H
#define NORVEXA_TESTHOST_INPROCESS_TESTHOSTFIXTURE_H

#include <gtest/gtest.h>

#include "testseam/SVCTestSeam.h"
#include "services/SVC.h"
#include "testhost/TestHost.h"

// A test with a freshly installed simulated host. The evaluator's trace
// switch is process-wide and only ever turned on by installing a host, so
// each test starts from the switch off and indent 0, then installs its host
// (trace switch on unless the test says otherwise in its constructor).
class TestHostFixture : public ::testing::Test {
protected:
    explicit TestHostFixture(bool traceOn = true) : host(traceOn) {}

    void SetUp() override
    {
        SVCTestSeam::setTrace(false);
        SVCTestSeam::indent() = 0;
        ASSERT_TRUE(host.install());
    }

    void TearDown() override { SVCTestSeam::setTrace(false); }

    TestHost host;
};

#endif
