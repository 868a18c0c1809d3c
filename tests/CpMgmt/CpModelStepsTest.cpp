// The frame's model steps taken in the middle of a command (CpModelSteps): the opening's steps
// and messages, named by the number the step is given, over a simulated host.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "CpMgmt/CpController.h"
#include "RaidManager/RaidManager.h"
#include "SimHostFixture.h"

namespace {

class CpModelStepsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.ready()); }
    void TearDown() override { releaseRaidManagers(); }

    simhost::SimHostFixture host{"one"};
    simhost::SimControllers controllers;
    CpController onController{controllers.controller(0), nullptr};
    CpController withoutController{nullptr, nullptr};
};

TEST_F(CpModelStepsTest, TakesTheStepsOfItsNeedsNamedByTheNumberGiven)
{
    OutputCapture output;
    CpModelSteps model(&onController, 9, CP_NEEDS_MODEL);
    EXPECT_TRUE(model);
    EXPECT_EQ(model.number(), 9);
    EXPECT_NE(model.manager(), nullptr);
    EXPECT_EQ(model.adapter(), nullptr) << "the adapter element was not asked for";
    CpModelSteps full(&onController, 9, CP_NEEDS_MODEL_ADAPTER);
    EXPECT_TRUE(full);
    EXPECT_EQ(full.manager(), model.manager());
    EXPECT_NE(full.adapter(), nullptr);
    CpQuietRefresh<CpModelSteps> refreshed(&onController, 9);
    EXPECT_TRUE(refreshed);
    EXPECT_NE(refreshed.adapter(), nullptr);
    EXPECT_EQ(output.take(), "");

    OutputCapture failedOutput;
    CpModelSteps failed(&withoutController, 9, CP_NEEDS_REFRESHED_ADAPTER);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.result(), -1);
    EXPECT_EQ(failed.manager(), nullptr);
    EXPECT_EQ(failedOutput.take(), "\nAdapter #9: Failed to get RM instance\n");
}

}  // namespace
