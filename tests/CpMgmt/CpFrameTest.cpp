// The processor frame: the command ids and create function it gives a class, and the standard
// opening (adapter number, request class, RAID manager, refresh, adapter element) with the
// message of the step that fails, over a simulated host.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/Help/CliVersionCp.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "CpMgmt/CpController.h"
#include "Parser/AdpParsedObjects.h"
#include "RaidManager/RaidManager.h"
#include "SimHostFixture.h"

namespace {

std::vector<unsigned short> idsOf(ArrayList<unsigned short>* list)
{
    std::vector<unsigned short> ids;
    for (unsigned char i = 0; list != nullptr && i < list->count(); ++i)
        ids.push_back(list->get(i));
    delete list;
    return ids;
}

TEST(CpFrame, GivesTheCommandIdsInOrderAndMakesTheClassForTheDefaultKindOnly)
{
    EXPECT_EQ(idsOf(AppVersionCp::commandIds()), (std::vector<unsigned short>{1, 2, 3, 4}));
    EXPECT_EQ(idsOf(CliVersionCp::commandIds()), (std::vector<unsigned short>{126}));
    std::unique_ptr<CommandProcessor> made(CliVersionCp::create(CP_KIND_DEFAULT));
    EXPECT_NE(dynamic_cast<CliVersionCp*>(made.get()), nullptr);
    EXPECT_EQ(CliVersionCp::create(1), nullptr);
}

class CpStartTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.ready()); }
    void TearDown() override { releaseRaidManagers(); }

    simhost::SimHostFixture host{"one"};
    simhost::SimControllers controllers;
    CpController onController{controllers.controller(0), nullptr};
    CpController withoutController{nullptr, nullptr};
};

TEST_F(CpStartTest, AFailedStepEndsTheOpeningWithItsMessage)
{
    TestRequest otherClass(126, 3);
    CliVersionPo ownClass(126, 1, 5);
    struct Case {
        const char* what;
        CpController* executor;
        ParsedObject* request;
        unsigned needs;
        const char* printed;
        bool onTheController = false;  // the opening that names the controller's number
    } cases[] = {
        {"a request of another class, numbered by the request", &onController, &otherClass, CP_NEEDS_NOTHING_MORE,
         "Adapter #3: Dynamic cast failed on CliVersionPo *.\n"},
        {"no request, numbered by the controller", &onController, nullptr, CP_NEEDS_REFRESHED_ADAPTER,
         "Adapter #0: Dynamic cast failed on CliVersionPo *.\n"},
        {"no controller, so no RAID manager", &withoutController, &ownClass, CP_NEEDS_MODEL,
         "\nAdapter #5: Failed to get RM instance\n"},
        {"no controller: nothing after the RAID manager is tried", &withoutController, &ownClass,
         CP_NEEDS_REFRESHED_ADAPTER, "\nAdapter #5: Failed to get RM instance\n"},
        {"on the controller: a request of another class", &onController, &otherClass, CP_NEEDS_MODEL,
         "Adapter #0: Dynamic cast failed on CliVersionPo *.\n", true},
        {"on the controller: none, so the number nobody was given", &withoutController, &otherClass,
         CP_NEEDS_NOTHING_MORE, "Adapter #255: Dynamic cast failed on CliVersionPo *.\n", true},
        {"on the controller: none, so no RAID manager", &withoutController, &ownClass, CP_NEEDS_REFRESHED_ADAPTER,
         "\nAdapter #255: Failed to get RM instance\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutputCapture output;
        auto check = [&](const CpStart<CliVersionPo>& start) {
            EXPECT_FALSE(start);
            EXPECT_EQ(start.result(), -1);
            EXPECT_EQ(start.adapter(), nullptr);
            EXPECT_EQ(output.take(), c.printed);
        };
        if (c.onTheController)
            check(CpStartOnController<CliVersionPo>(c.executor, c.request, "CliVersionPo *", c.needs));
        else
            check(CpStart<CliVersionPo>(c.executor, c.request, "CliVersionPo *", c.needs));
    }
}

TEST_F(CpStartTest, ASuccessfulOpeningTakesWhatItIsAskedForAndPrintsNothing)
{
    CliVersionPo request(126, 1, 0);
    OutputCapture output;
    CpStart<CliVersionPo> bare(&onController, &request, "CliVersionPo *");
    EXPECT_TRUE(bare);
    EXPECT_EQ(bare.request(), &request);
    EXPECT_EQ(bare.manager(), nullptr) << "not asked for";
    host.clearCommands();
    CpStart<CliVersionPo> full(&onController, &request, "CliVersionPo *", CP_NEEDS_REFRESHED_ADAPTER);
    EXPECT_TRUE(full);
    EXPECT_EQ(full.result(), 0);
    EXPECT_EQ(full.number(), 0);
    EXPECT_NE(full.manager(), nullptr);
    EXPECT_NE(full.adapter(), nullptr);
    EXPECT_FALSE(host.commands().empty()) << "the refresh reads the controller";
    EXPECT_EQ(output.take(), "");
}

TEST_F(CpStartTest, FailedPrintsTheStandardMessageAndGivesTheStatusBack)
{
    CliVersionPo request(126, 1, 2);
    OutputCapture output;
    CpStart<CliVersionPo> start(&onController, &request, "CliVersionPo *");
    EXPECT_EQ(start.failed("AdpAll information", 0x0C), 0x0C);
    EXPECT_EQ(output.take(), "Adapter #2: Failed to Perform AdpAll information Operation.\n");
}

TEST_F(CpStartTest, TheOpeningOnTheControllerNamesTheControllersNumberWhateverTheRequestSays)
{
    CliVersionPo ownClass(126, 1, 5);
    OutputCapture output;
    CpStartOnController<CliVersionPo> full(&onController, &ownClass, "CliVersionPo *", CP_NEEDS_MODEL_ADAPTER);
    EXPECT_TRUE(full);
    EXPECT_EQ(full.request(), &ownClass);
    EXPECT_EQ(full.number(), 0);
    EXPECT_NE(full.adapter(), nullptr);
    EXPECT_EQ(full.failed("Controller information", 7), 7);
    EXPECT_EQ(output.take(), "Adapter #0: Failed to Perform Controller information Operation.\n");
}

TEST_F(CpStartTest, TheOpeningWithoutARequestClassTakesTheModelStepsOnly)
{
    TestRequest anyClass(126, 4);
    OutputCapture output;
    CpModelOpening full(&onController, &anyClass, CP_NEEDS_REFRESHED_ADAPTER);
    EXPECT_TRUE(full);
    EXPECT_EQ(full.number(), 4) << "the request's number";
    EXPECT_NE(full.manager(), nullptr);
    EXPECT_NE(full.adapter(), nullptr);
    EXPECT_EQ(output.take(), "");
    CpModelOpening bare(&onController, nullptr, CP_NEEDS_NOTHING_MORE);
    EXPECT_TRUE(bare);
    EXPECT_EQ(bare.number(), 0) << "the controller's number without a request";
    EXPECT_EQ(bare.manager(), nullptr);
    OutputCapture failedOutput;
    CpModelOpening failed(&withoutController, &anyClass, CP_NEEDS_REFRESHED_ADAPTER);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.result(), -1);
    EXPECT_EQ(failedOutput.take(), "\nAdapter #4: Failed to get RM instance\n");
}

TEST_F(CpStartTest, TheAdapterAfterAQuietRefreshReadsTheModelAfreshAndReportsOnlyAMissingAdapter)
{
    CliVersionPo request(126, 1, 0);
    OutputCapture output;
    CpStart<CliVersionPo> start(&onController, &request, "CliVersionPo *", CP_NEEDS_MODEL);
    ASSERT_TRUE(start);
    host.clearCommands();
    EXPECT_NE(takeAdapterAfterQuietRefresh(start), nullptr);
    EXPECT_FALSE(host.commands().empty()) << "the refresh reads the controller";
    EXPECT_EQ(output.take(), "");
    OutputCapture missing;
    CpModelOpening withoutModel(&withoutController, nullptr, CP_NEEDS_NOTHING_MORE);
    EXPECT_EQ(takeAdapterAfterQuietRefresh(withoutModel), nullptr);
    EXPECT_EQ(missing.take(), "Adapter #255: Failed communicating to adapter...");
}

}  // namespace
