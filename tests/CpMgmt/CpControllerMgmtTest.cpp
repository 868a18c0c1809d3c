// Dispatch of requests to controllers: lazy numbering, the adapter-list rules, the controller
// check and the later passes, over scripted controllers and processors.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include "CpMgmt/CpController.h"
#include "CpMgmt/CpControllerMgmt.h"
#include "CpMgmt/FwErrorDescriptions.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"

namespace {

// Command ids that no command of the system uses, for commands with an ordinary check.
const unsigned short TOKEN_TEST = 200;
const unsigned short TOKEN_TEST_OTHER = 201;

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        processorScript = ProcessorScript();
        previousRegistry = CpFactoryRegistry::replaceInstance(&registry);
        for (unsigned short id : {TOKEN_TEST, TOKEN_TEST_OTHER, TOKEN_APPVERSION, TOKEN_LDNUMBER, TOKEN_ADPFWFLASH})
            registry.add(id, makeCpCreator<ScriptedCp>());
        CpControllerMgmt::setControllerMgmtOverride(&management);
        useOem2FwErrorDescriptions = 0;
        TestRequest::alive = 0;
    }

    void TearDown() override
    {
        CpControllerMgmt::setControllerMgmtOverride(nullptr);
        CpFactoryRegistry::replaceInstance(previousRegistry == &registry ? nullptr : previousRegistry);
        EXPECT_EQ(TestRequest::alive, 0) << "every request is deleted exactly once";
        EXPECT_EQ(raidManagerCount(), 0) << "the RAID managers are released after the run";
    }

    void addControllers(int count)
    {
        for (int i = 0; i < count; ++i)
            management.entries.push_back(FakeControllerMgmt::Entry());
    }

    // Runs the requests; returns the result and stores the printed text.
    int run(std::vector<ParsedObject*> requests) { return dispatchRequests(requests, printed); }

    std::vector<int> adaptersRun() const { return processorScript.adaptersRun(); }

    CpFactoryRegistry registry;
    CpFactoryRegistry* previousRegistry = nullptr;
    FakeControllerMgmt management;
    std::string printed;
};

TEST_F(DispatchTest, EmptyRequestListRunsNothing)
{
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(management.detectCalls, 0);
    EXPECT_EQ(printed, "");
}

TEST_F(DispatchTest, ControllerCountIsTheResult)
{
    struct Case {
        int controllers;
        bool detectFails;
        int expected;
    } cases[] = {{2, false, 2}, {0, false, 0}, {0, true, 0}, {3, false, 3}};
    for (const Case& c : cases) {
        management.reset();
        addControllers(c.controllers);
        management.detectFails = c.detectFails;
        EXPECT_EQ(run({new TestRequest(TOKEN_ADPCOUNT, ALL_ADAPTERS, false)}), c.expected);
        EXPECT_EQ(printed, "\nController Count: " + std::to_string(c.expected) + ".\n");
        EXPECT_TRUE(processorScript.calls.empty());
    }
}

TEST_F(DispatchTest, SingleAdapterMakesControllersOnlyUpToTheOneNamed)
{
    addControllers(3);
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), 0);
    EXPECT_EQ(management.createCalls, 1);
    EXPECT_EQ(adaptersRun(), std::vector<int>({0}));
}

TEST_F(DispatchTest, LaterRequestResumesNumberingAndSkipsControllerlessIdentifiers)
{
    addControllers(4);
    management.entries[1].yieldsController = false;  // stays unnumbered
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0), new TestRequest(TOKEN_TEST, 2), new TestRequest(TOKEN_TEST, 1)}), 0);
    EXPECT_EQ(management.detectCalls, 1) << "detection runs once per run";
    EXPECT_EQ(management.createCalls, 4) << "identifiers 0, 1 (none), 2, 3";
    EXPECT_EQ(adaptersRun(), std::vector<int>({0, 2, 1}));
}

TEST_F(DispatchTest, AbsentAdapterEndsTheCommand)
{
    addControllers(2);
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 5), new TestRequest(TOKEN_TEST, 0)}), -1);
    EXPECT_EQ(printed, "User specified controller is not present.\nFailed to get CpController object.\n");
    EXPECT_TRUE(processorScript.calls.empty()) << "requests after a dispatch failure are not run";
}

TEST_F(DispatchTest, NoAdapterRunsWithoutControllerAndDetectsNothing)
{
    addControllers(1);
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, NO_ADAPTER)}), 0);
    EXPECT_EQ(management.detectCalls, 0);
    EXPECT_EQ(adaptersRun(), std::vector<int>({-1}));
}

TEST_F(DispatchTest, VersionAndHelpRunWithoutControllerWhenNoneFits)
{
    struct Case {
        const char* what;
        bool detectFails;
        int controllers;
        std::vector<unsigned char> adapters;
        int expected;
        std::vector<int> ran;
        std::string printed;
    } cases[] = {
        {"detection fails", true, 0, {0}, 0, {-1}, ""},
        {"adapter absent, alone", false, 1, {5}, 0, {-1}, ""},
        {"adapter absent after all are numbered", false, 1, {0, 5}, -1, {0}, "Failed to get CpController object.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        management.reset();
        processorScript = ProcessorScript();
        management.detectFails = c.detectFails;
        addControllers(c.controllers);
        std::vector<ParsedObject*> requests;
        for (unsigned char a : c.adapters)
            requests.push_back(new TestRequest(TOKEN_APPVERSION, a, false));
        EXPECT_EQ(run(requests), c.expected);
        EXPECT_EQ(adaptersRun(), c.ran);
        EXPECT_EQ(printed, c.printed);
    }
}

TEST_F(DispatchTest, OtherCommandsReportMissingControllers)
{
    management.detectFails = true;
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), -1);
    EXPECT_EQ(printed, "ERROR:Could not detect controller.\nFailed to get ControllerId List.\nFailed to get CpController object.\n");

    management.reset();  // detection gives an empty list
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), -1);
    EXPECT_EQ(printed, "Failed to get CpController object.\n");
}

TEST_F(DispatchTest, AdapterListRunsEachAdapterAndAllAdaptersStopsAtAFailure)
{
    addControllers(3);
    processorScript.results[0] = -1;
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0), new TestRequest(TOKEN_TEST, 1), new TestRequest(TOKEN_TEST, 2)}), 0);
    EXPECT_EQ(adaptersRun(), std::vector<int>({0, 1, 2}));

    processorScript.calls.clear();
    processorScript.results[1] = 12;
    processorScript.results[0] = 0;
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, ALL_ADAPTERS)}), 12);
    EXPECT_EQ(adaptersRun(), std::vector<int>({0, 1})) << "adapter 2 is left unrun";
}

TEST_F(DispatchTest, CountCommandsRunOnEveryAdapter)
{
    addControllers(3);
    processorScript.results = {{0, 4}, {1, 0}, {2, 7}};
    EXPECT_EQ(run({new TestRequest(TOKEN_LDNUMBER, ALL_ADAPTERS)}), 7);
    EXPECT_EQ(adaptersRun(), std::vector<int>({0, 1, 2}));
}

TEST_F(DispatchTest, AllAdaptersWithoutExecutorsFailsSilently)
{
    addControllers(2);
    management.entries[1].typeCode = 4;  // no command-side class for this type
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, ALL_ADAPTERS)}), -1);
    EXPECT_EQ(printed, "");
    EXPECT_TRUE(processorScript.calls.empty());

    management.reset();  // no controller detected at all
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, ALL_ADAPTERS)}), -1);
    EXPECT_EQ(printed, "");
}

TEST_F(DispatchTest, VersionForAllAdaptersRunsOnceWithItsRequest)
{
    addControllers(2);
    EXPECT_EQ(run({new TestRequest(TOKEN_APPVERSION, ALL_ADAPTERS, false)}), 0);
    ASSERT_EQ(processorScript.calls.size(), 1u);
    EXPECT_TRUE(processorScript.calls[0].hadRequest);
    EXPECT_EQ(processorScript.calls[0].adapter, -1);
}

TEST_F(DispatchTest, CopyableVersionForAllAdaptersRunsOnEachController)
{
    addControllers(2);
    EXPECT_EQ(run({new TestRequest(TOKEN_APPVERSION, ALL_ADAPTERS, true)}), 0);
    EXPECT_EQ(adaptersRun(), std::vector<int>({0, 1})) << "one banner per controller, each with its own OEM";

    // No controller detected: it still runs once, without a controller.
    management.reset();
    processorScript = ProcessorScript();
    EXPECT_EQ(run({new TestRequest(TOKEN_APPVERSION, ALL_ADAPTERS, true)}), 0);
    ASSERT_EQ(processorScript.calls.size(), 1u);
    EXPECT_TRUE(processorScript.calls[0].hadRequest);
    EXPECT_EQ(processorScript.calls[0].adapter, -1);
    EXPECT_EQ(printed, "");

    management.reset();
    processorScript = ProcessorScript();
    management.detectFails = true;
    EXPECT_EQ(run({new TestRequest(TOKEN_APPVERSION, ALL_ADAPTERS, true)}), 0);
    EXPECT_EQ(processorScript.calls.size(), 1u);
}

TEST_F(DispatchTest, ControllerCheckStopsTheCommand)
{
    struct Case {
        const char* what;
        uint16_t forwardCompat;
        int infoStatus;  // 0: the controller information reads
        int expected;
        std::string printed;
    } cases[] = {
        {"firmware too new", 3, 0, -1,
         "Adapter #0: Please Update Application.\nFirmware Forward Compatibility Version:3\n"
         "Application Forward Compatibility Version:0\n"},
        {"information unreadable", 0, 12, 12, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        management.reset();
        processorScript = ProcessorScript();
        addControllers(1);
        management.firmware(0).forwardCompat = c.forwardCompat;
        if (c.infoStatus != 0)
            management.firmware(0).failStatus[DCMD_ADP_GET_INFO] = c.infoStatus;
        EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), c.expected);
        EXPECT_EQ(printed, c.printed);
        EXPECT_TRUE(processorScript.calls.empty()) << "the processor does not run";
    }
}

TEST_F(DispatchTest, OemTwoSelectsTheDriveWording)
{
    struct Case {
        uint8_t oemId;
        bool oemReadFails;
        uint8_t expected;
    } cases[] = {{2, false, 1}, {1, false, 0}, {8, false, 0}, {2, true, 0}};
    for (const Case& c : cases) {
        management.reset();
        addControllers(1);
        management.firmware(0).oemId = c.oemId;
        if (c.oemReadFails)
            management.firmware(0).failStatus[DCMD_ADP_MFC_GET_OEM_DATA] = 4;
        useOem2FwErrorDescriptions = c.expected ? 0 : 1;  // the check must set it either way
        EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), 0);
        EXPECT_EQ(useOem2FwErrorDescriptions, c.expected) << "OEM id " << int(c.oemId);
    }
}

TEST_F(DispatchTest, FirmwareFlashSkipsTheCheck)
{
    addControllers(1);
    management.firmware(0).forwardCompat = 9;  // would stop any checked command
    EXPECT_EQ(run({new TestRequest(TOKEN_ADPFWFLASH, 0)}), 0);
    EXPECT_TRUE(management.sent(0).empty());
    EXPECT_EQ(adaptersRun(), std::vector<int>({0}));
}

TEST_F(DispatchTest, CheckRunsOnEveryCallAndProcessorIsFoundOnce)
{
    addControllers(1);
    processorScript.callsUntilDone = 3;
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), 0);
    EXPECT_EQ(processorScript.calls.size(), 3u) << "later passes until the processor is done";
    size_t infoReads = 0;
    for (uint32_t opcode : management.sent(0))
        infoReads += opcode == DCMD_ADP_GET_INFO ? 1 : 0;
    EXPECT_EQ(infoReads, 3u) << "each call refreshes the model and reads the record anew";
}

TEST_F(DispatchTest, NonZeroResultEndsTheLaterPasses)
{
    addControllers(1);
    processorScript.callsUntilDone = 5;
    processorScript.resultOnCall[2] = 9;
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST, 0)}), 9);
    EXPECT_EQ(processorScript.calls.size(), 2u);
}

TEST_F(DispatchTest, UnsupportedCommand)
{
    addControllers(1);
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST + 10, 0)}), -1) << "an unsupported command is a failure";
    EXPECT_EQ(printed, "Un-supported command\n");
    EXPECT_EQ(run({new TestRequest(TOKEN_TEST + 10, NO_ADAPTER)}), -1);
    EXPECT_EQ(printed, "Un-supported command\n");
}

}  // namespace
