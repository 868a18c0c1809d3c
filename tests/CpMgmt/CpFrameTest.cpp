// The processor frame: the command ids and create function it gives a class, and the standard
// opening (adapter number, request class, RAID manager, refresh, adapter element) with the
// message of the step that fails, over a simulated host.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CpMgmt/CmdPro/Cache/SSCDAddCp.h"
#include "CpMgmt/CmdPro/Config/LdAddCp.h"
#include "CpMgmt/CmdPro/Config/LdAutoCp.h"
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/Help/CliVersionCp.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "CpMgmt/CpController.h"
#include "Parser/AdpParsedObjects.h"
#include "PavUtil/Memory.h"
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

// A family of processors over a shared base: each class has its own ids and makes itself, not
// the class it derives from (and a base's create never makes a derived class).
TEST(CpFrameOver, GivesEachClassOfAFamilyItsOwnIdsAndCreate)
{
    EXPECT_EQ(idsOf(LdAddCp::commandIds()), (std::vector<unsigned short>{49, 50}));
    EXPECT_EQ(idsOf(LdAutoCp::commandIds()), (std::vector<unsigned short>{82}));
    EXPECT_EQ(idsOf(SSCDAddCp::commandIds()), (std::vector<unsigned short>{111, 130}));
    std::unique_ptr<CommandProcessor> base(LdAddCp::create(CP_KIND_DEFAULT));
    std::unique_ptr<CommandProcessor> automatic(LdAutoCp::create(CP_KIND_DEFAULT));
    std::unique_ptr<CommandProcessor> cache(SSCDAddCp::create(CP_KIND_DEFAULT));
    ASSERT_NE(dynamic_cast<LdAddCp*>(base.get()), nullptr);
    EXPECT_EQ(dynamic_cast<LdAutoCp*>(base.get()), nullptr);
    EXPECT_EQ(dynamic_cast<SSCDAddCp*>(base.get()), nullptr);
    EXPECT_NE(dynamic_cast<LdAutoCp*>(automatic.get()), nullptr);
    EXPECT_NE(dynamic_cast<SSCDAddCp*>(cache.get()), nullptr);
    EXPECT_EQ(LdAutoCp::create(1), nullptr);
}

TEST_F(CpStartTest, APlainStartTakesNoRequestClassAndItsNumberFromTheRequestElseTheController)
{
    TestRequest anyClass(126, 3);
    {
        OutputCapture output;
        CpPlainStart numbered(&onController, &anyClass, CP_NEEDS_NOTHING_MORE);
        EXPECT_TRUE(numbered);
        EXPECT_EQ(numbered.number(), 3);
        EXPECT_EQ(numbered.manager(), nullptr) << "not asked for";
        host.clearCommands();
        CpPlainStart full(&onController, nullptr, CP_NEEDS_REFRESHED_ADAPTER);
        EXPECT_TRUE(full);
        EXPECT_EQ(full.number(), 0);
        EXPECT_NE(full.manager(), nullptr);
        EXPECT_NE(full.adapter(), nullptr);
        EXPECT_FALSE(host.commands().empty()) << "the refresh reads the controller";
        EXPECT_EQ(output.take(), "");
    }
    OutputCapture output;
    CpPlainStart failing(&withoutController, &anyClass, CP_NEEDS_REFRESHED_MODEL);
    EXPECT_FALSE(failing);
    EXPECT_EQ(failing.result(), -1);
    EXPECT_EQ(output.take(), "\nAdapter #3: Failed to get RM instance\n");
}

TEST_F(CpStartTest, ADeferredStartTakesTheModelStepsOnlyWhenTheCommandAsks)
{
    CliVersionPo request(126, 1, 0);
    OutputCapture output;
    host.clearCommands();
    CpDeferredStart<CliVersionPo> start(&onController, &request, "CliVersionPo *");
    ASSERT_TRUE(start);
    EXPECT_EQ(start.request(), &request);
    EXPECT_EQ(start.manager(), nullptr);
    EXPECT_TRUE(host.commands().empty()) << "nothing read before the command's own first steps";
    EXPECT_TRUE(start.take(CP_NEEDS_REFRESHED_ADAPTER));
    EXPECT_NE(start.manager(), nullptr);
    EXPECT_NE(start.adapter(), nullptr);
    EXPECT_FALSE(host.commands().empty()) << "the refresh reads the controller";
    EXPECT_EQ(output.take(), "");
}

TEST_F(CpStartTest, ADeferredStartThatFailsPrintsOnlyTheFailingStepsMessage)
{
    TestRequest otherClass(126, 3);
    CliVersionPo ownClass(126, 1, 5);
    {
        OutputCapture output;
        CpDeferredStart<CliVersionPo> wrongClass(&onController, &otherClass, "CliVersionPo *");
        EXPECT_FALSE(wrongClass.take(CP_NEEDS_REFRESHED_ADAPTER)) << "a failed opening takes no model step";
        EXPECT_EQ(wrongClass.result(), -1);
        EXPECT_EQ(wrongClass.manager(), nullptr);
        EXPECT_EQ(output.take(), "Adapter #3: Dynamic cast failed on CliVersionPo *.\n");
    }
    OutputCapture output;
    CpDeferredStart<CliVersionPo> noController(&withoutController, &ownClass, "CliVersionPo *");
    EXPECT_TRUE(noController) << "the request alone succeeds";
    EXPECT_FALSE(noController.take(CP_NEEDS_MODEL_ADAPTER));
    EXPECT_EQ(noController.result(), -1);
    EXPECT_EQ(output.take(), "\nAdapter #5: Failed to get RM instance\n");
}

TEST_F(CpStartTest, APlainOpeningTakesAnyRequestAndOnlyTheStepsAskedFor)
{
    TestRequest otherClass(126, 4);
    struct Case {
        const char* what;
        CpController* executor;
        ParsedObject* request;
        unsigned needs;
        bool opened;
        int number;
        const char* printed;
    } cases[] = {
        {"a request of any class, numbered by the request", &onController, &otherClass, CP_NEEDS_MODEL_ADAPTER, true,
         4, ""},
        {"no request, numbered by the controller", &onController, nullptr, CP_NEEDS_NOTHING_MORE, true, 0, ""},
        {"no controller, so no RAID manager", &withoutController, &otherClass, CP_NEEDS_MODEL_ADAPTER, false, 4,
         "\nAdapter #4: Failed to get RM instance\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OutputCapture output;
        CpPlainStart start(c.executor, c.request, c.needs);
        EXPECT_EQ(static_cast<bool>(start), c.opened);
        EXPECT_EQ(start.result(), c.opened ? 0 : -1);
        EXPECT_EQ(start.number(), c.number);
        EXPECT_EQ(start.adapter() != nullptr, c.opened && c.needs == CP_NEEDS_MODEL_ADAPTER);
        EXPECT_EQ(output.take(), c.printed);
    }
}

TEST_F(CpStartTest, AQuietRefreshStopsAtTheFirstFailedStepAndSendsNothingAfterIt)
{
    TestRequest otherClass(126, 3);
    CliVersionPo ownClass(126, 1, 5);
    host.clearCommands();
    {
        OutputCapture output;
        CpQuietRefresh<CpStart<CliVersionPo>> start(&onController, &otherClass, "CliVersionPo *");
        EXPECT_FALSE(start);
        EXPECT_EQ(start.manager(), nullptr);
        EXPECT_EQ(output.take(), "Adapter #3: Dynamic cast failed on CliVersionPo *.\n");
    }
    {
        OutputCapture output;
        CpQuietRefresh<CpStart<CliVersionPo>> start(&withoutController, &ownClass, "CliVersionPo *");
        EXPECT_FALSE(start);
        EXPECT_EQ(start.result(), -1);
        EXPECT_EQ(output.take(), "\nAdapter #5: Failed to get RM instance\n");
    }
    EXPECT_TRUE(host.commands().empty());
}

TEST_F(CpStartTest, AQuietRefreshReadsTheModelAsTheStandardOneAndTakesTheAdapter)
{
    CliVersionPo request(126, 1, 0);
    host.clearCommands();
    CpStart<CliVersionPo> standard(&onController, &request, "CliVersionPo *", CP_NEEDS_REFRESHED_ADAPTER);
    ASSERT_TRUE(standard);
    const std::vector<uint32_t> standardReads = host.opcodes();
    host.clearCommands();
    OutputCapture output;
    CpQuietRefresh<CpStart<CliVersionPo>> typed(&onController, &request, "CliVersionPo *");
    EXPECT_TRUE(typed);
    EXPECT_EQ(typed.request(), &request);
    EXPECT_EQ(typed.manager(), standard.manager());
    EXPECT_NE(typed.adapter(), nullptr);
    EXPECT_FALSE(standardReads.empty());
    EXPECT_EQ(host.opcodes(), standardReads);
    host.clearCommands();
    CpQuietRefresh<CpPlainStart> plain(&onController, nullptr);
    EXPECT_TRUE(plain);
    EXPECT_EQ(plain.number(), 0);
    EXPECT_NE(plain.adapter(), nullptr);
    EXPECT_EQ(host.opcodes(), standardReads);
    EXPECT_EQ(output.take(), "");
}

// The model steps after the RAID manager fail only when the model cannot be built: the adapter
// element sends no firmware command when it is made (its records are read on first use), so no
// firmware answer fails the refresh or the adapter step. Allocations that fail do, and the
// allocation hook makes exactly the steps' own allocations fail (a message printed with one
// pending would fail to print): the refresh needs the command of its drive-list read, then the
// adapter element's data, and fails with -1 when that is missing; the adapter step of a model
// whose adapter is not read yet needs the adapter element's data only. An adapter step taken
// after a failed refresh would read the adapter anew with memory to spare: the adapter that
// stays absent shows it is not taken.
enum class Opening { START, ON_CONTROLLER, PLAIN, DEFERRED, QUIET_START, QUIET_PLAIN };

struct Opened {
    bool opened;
    int result;
    Adapter* adapter;
    bool requestTaken = true;  // a deferred opening's before its model steps
};

Opened openWith(Opening kind, CpController* executor, ParsedObject* request, unsigned needs)
{
    const char* text = "CliVersionPo *";
    switch (kind) {
    case Opening::START: {
        CpStart<CliVersionPo> start(executor, request, text, needs);
        return {static_cast<bool>(start), start.result(), start.adapter()};
    }
    case Opening::ON_CONTROLLER: {
        CpStartOnController<CliVersionPo> start(executor, request, text, needs);
        return {static_cast<bool>(start), start.result(), start.adapter()};
    }
    case Opening::PLAIN: {
        CpPlainStart start(executor, request, needs);
        return {static_cast<bool>(start), start.result(), start.adapter()};
    }
    case Opening::DEFERRED: {
        CpDeferredStart<CliVersionPo> start(executor, request, text);
        const bool requestTaken = static_cast<bool>(start);
        const bool taken = start.take(needs);
        return {taken, start.result(), start.adapter(), requestTaken};
    }
    case Opening::QUIET_START: {
        CpQuietRefresh<CpStart<CliVersionPo>> start(executor, request, text);
        return {static_cast<bool>(start), start.result(), start.adapter()};
    }
    case Opening::QUIET_PLAIN: {
        CpQuietRefresh<CpPlainStart> start(executor, request);
        return {static_cast<bool>(start), start.result(), start.adapter()};
    }
    }
    return {false, 0, nullptr};
}

// Cancels the allocation failures still pending when the row ends, whatever it checked.
struct FailingAllocations {
    explicit FailingAllocations(unsigned count) { failNextAllocations(count); }
    ~FailingAllocations() { failNextAllocations(0); }
};

TEST_F(CpStartTest, AModelThatCannotBeReadOrGivesNoAdapterEndsTheOpeningWithItsMessage)
{
    CliVersionPo ownClass(126, 1, 2);
    const std::string oom = "!!! SYSTEM IS OUT OF MEMORY !!!\n";
    struct Case {
        const char* what;
        Opening opening;
        ParsedObject* request;
        unsigned needs;
        unsigned failing;  // allocations made to fail
        std::string printed;
        int result;
    } cases[] = {
        {"refresh fails: no adapter step after it", Opening::START, &ownClass, CP_NEEDS_REFRESHED_ADAPTER, 2,
         oom + oom + "\nAdapter #2: Failed to initialize RM\n", -1},
        {"on the controller: refresh fails", Opening::ON_CONTROLLER, &ownClass, CP_NEEDS_REFRESHED_ADAPTER, 2,
         oom + oom + "\nAdapter #0: Failed to initialize RM\n", -1},
        {"plain: refresh fails, numbered by the request", Opening::PLAIN, &ownClass, CP_NEEDS_REFRESH, 2,
         oom + oom + "\nAdapter #2: Failed to initialize RM\n", -1},
        {"plain: refresh fails, numbered by the controller", Opening::PLAIN, nullptr, CP_NEEDS_REFRESHED_ADAPTER, 2,
         oom + oom + "\nAdapter #0: Failed to initialize RM\n", -1},
        {"deferred: refresh fails in take", Opening::DEFERRED, &ownClass, CP_NEEDS_REFRESHED_ADAPTER, 2,
         oom + oom + "\nAdapter #2: Failed to initialize RM\n", -1},
        {"no adapter element", Opening::START, &ownClass, CP_NEEDS_MODEL_ADAPTER, 1,
         oom + "Adapter #2: Failed communicating to adapter...", -1},
        {"on the controller: no adapter element", Opening::ON_CONTROLLER, &ownClass, CP_NEEDS_MODEL_ADAPTER, 1,
         oom + "Adapter #0: Failed communicating to adapter...", -1},
        {"plain: no adapter element", Opening::PLAIN, &ownClass, CP_NEEDS_ADAPTER, 1,
         oom + "Adapter #2: Failed communicating to adapter...", -1},
        {"deferred: no adapter element in take", Opening::DEFERRED, &ownClass, CP_NEEDS_MODEL_ADAPTER, 1,
         oom + "Adapter #2: Failed communicating to adapter...", -1},
        {"quiet: the read fails unreported, then no adapter element", Opening::QUIET_START, &ownClass,
         CP_NEEDS_NOTHING_MORE, 3, oom + oom + oom + "Adapter #2: Failed communicating to adapter...", -1},
        {"quiet plain: the read fails unreported, then no adapter element", Opening::QUIET_PLAIN, nullptr,
         CP_NEEDS_NOTHING_MORE, 3, oom + oom + oom + "Adapter #0: Failed communicating to adapter...", -1},
        {"quiet: the read fails unreported, the adapter step reads the adapter anew", Opening::QUIET_START,
         &ownClass, CP_NEEDS_NOTHING_MORE, 2, oom + oom, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A model made but not read: the RAID manager is there, its adapter element is not.
        releaseRaidManagers();
        ASSERT_TRUE(CpPlainStart(&onController, nullptr, CP_NEEDS_MODEL));
        Opened opened{};
        unsigned left = 0;
        std::string printed;
        {
            OutputCapture output;
            FailingAllocations failing(c.failing);
            opened = openWith(c.opening, &onController, c.request, c.needs);
            left = pendingAllocationFailures();
            printed = output.take();
        }
        EXPECT_EQ(printed, c.printed);
        EXPECT_EQ(opened.result, c.result);
        EXPECT_EQ(opened.opened, c.result == 0);
        EXPECT_EQ(opened.adapter != nullptr, c.result == 0);
        EXPECT_TRUE(opened.requestTaken);
        EXPECT_EQ(left, 0u) << "every failing allocation is one of the opening's";
    }
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
    CpPlainStart full(&onController, &anyClass, CP_NEEDS_REFRESHED_ADAPTER);
    EXPECT_TRUE(full);
    EXPECT_EQ(full.number(), 4) << "the request's number";
    EXPECT_NE(full.manager(), nullptr);
    EXPECT_NE(full.adapter(), nullptr);
    EXPECT_EQ(output.take(), "");
    CpPlainStart bare(&onController, nullptr, CP_NEEDS_NOTHING_MORE);
    EXPECT_TRUE(bare);
    EXPECT_EQ(bare.number(), 0) << "the controller's number without a request";
    EXPECT_EQ(bare.manager(), nullptr);
    OutputCapture failedOutput;
    CpPlainStart failed(&withoutController, &anyClass, CP_NEEDS_REFRESHED_ADAPTER);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.result(), -1);
    EXPECT_EQ(failedOutput.take(), "\nAdapter #4: Failed to get RM instance\n");
}

// The model steps taken in the middle of a command (CpModelSteps): the opening's steps and
// messages, named by the number the step is given.
TEST_F(CpStartTest, ModelStepsTakenMidCommandAreNamedByTheNumberGiven)
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
