// Command traits: the table, the registrations that fill it, the program's rows, and the
// dispatcher obeying the traits of a made-up command.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "CpMgmt/CpControllerMgmt.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/CpTraits.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"

namespace {

// The program's commands whose traits differ from the default, with those traits.
struct TraitsRow {
    unsigned short commandId;
    bool needsController;
    bool checksController;
    bool resultIsCount;
    CpManagementKind management;
    CpAnswer answer;
};

const CpManagementKind DRIVER = CpManagementKind::LinuxDriver;
const CpManagementKind HOST_CACHE = CpManagementKind::HostCacheLibrary;
const CpAnswer PROCESSOR = CpAnswer::Processor;

const TraitsRow programTraits[] = {
    {1, false, true, false, DRIVER, PROCESSOR},  // version
    {2, false, true, false, DRIVER, PROCESSOR},  // help
    {3, false, true, false, DRIVER, PROCESSOR},
    {4, false, true, false, DRIVER, PROCESSOR},
    {6, true, true, false, DRIVER, CpAnswer::ControllerCount},
    {25, true, false, false, DRIVER, PROCESSOR},   // NVRAM
    {26, true, true, true, DRIVER, PROCESSOR},     // logical-drive count
    {35, true, true, true, DRIVER, PROCESSOR},     // physical-drive count
    {60, true, false, false, DRIVER, PROCESSOR},   // firmware flash
    {137, true, false, false, HOST_CACHE, PROCESSOR},  // host cache
};

// The commands that have a traits row but no processor class.
const std::set<unsigned short> commandsWithoutProcessorClass = {6, 25, 102};

bool sameTraits(const CpTraits& traits, const TraitsRow& row)
{
    return traits.needsController == row.needsController && traits.checksController == row.checksController &&
           traits.resultIsCount == row.resultIsCount && traits.management == row.management &&
           traits.answer == row.answer;
}

TEST(CommandTraits, ProgramRowsAreThoseOfTheCommandTable)
{
    CpTraitsTable* table = CpTraitsTable::instance();
    ASSERT_NE(table, nullptr);
    std::set<unsigned short> special;
    for (const TraitsRow& row : programTraits) {
        special.insert(row.commandId);
        EXPECT_TRUE(table->hasRow(row.commandId)) << "id " << row.commandId;
        EXPECT_TRUE(sameTraits(table->traitsOf(row.commandId), row)) << "id " << row.commandId;
    }
    CpFactoryRegistry* registry = CpFactoryRegistry::instance();
    for (unsigned short id = 0; id < CpTraitsTable::ROW_COUNT; ++id) {
        if (special.count(id) == 0) {
            EXPECT_TRUE(table->traitsOf(id) == CpTraits()) << "id " << id << " has the default traits";
        }
        if (registry->creatorCount(id) > 0) {
            EXPECT_TRUE(table->hasRow(id)) << "id " << id << ": a processor registers its traits with it";
        }
        if (commandsWithoutProcessorClass.count(id) > 0) {
            EXPECT_TRUE(table->hasRow(id)) << "id " << id;
            EXPECT_EQ(registry->creatorCount(id), 0) << "id " << id;
        }
    }
    EXPECT_TRUE(table->hasRow(102)) << "the comparison is registered, as an ordinary command";
}

TEST(CommandTraits, DefaultsAndSetters)
{
    CpTraits plain;
    EXPECT_TRUE(plain.needsController);
    EXPECT_TRUE(plain.checksController);
    EXPECT_FALSE(plain.resultIsCount);
    EXPECT_EQ(plain.management, CpManagementKind::LinuxDriver);
    EXPECT_EQ(plain.answer, CpAnswer::Processor);

    constexpr CpTraits chained =
        CpTraits().withoutControllerCheck().countResult().managedBy(CpManagementKind::HostCacheLibrary);
    EXPECT_TRUE(chained.needsController);
    EXPECT_FALSE(chained.checksController);
    EXPECT_TRUE(chained.resultIsCount);
    EXPECT_EQ(chained.management, CpManagementKind::HostCacheLibrary);
    EXPECT_FALSE(CpTraits().withoutControllerIfNoneFits().needsController);
    EXPECT_EQ(CpTraits().answeredBy(CpAnswer::ControllerCount).answer, CpAnswer::ControllerCount);
    EXPECT_TRUE(chained != plain);
}

TEST(CpTraitsTable, EachIdTakesOneRow)
{
    CpTraitsTable table;
    EXPECT_FALSE(table.hasRow(9));
    EXPECT_TRUE(table.traitsOf(9) == CpTraits());
    EXPECT_TRUE(table.enter(9, CpTraits().countResult()));
    EXPECT_FALSE(table.enter(9, CpTraits().withoutControllerCheck())) << "a second row is refused";
    EXPECT_TRUE(table.traitsOf(9).resultIsCount);
    EXPECT_TRUE(table.traitsOf(9).checksController);
    EXPECT_TRUE(table.enter(254, CpTraits()));
    EXPECT_FALSE(table.enter(255, CpTraits()));
    EXPECT_FALSE(table.hasRow(255));
    EXPECT_TRUE(table.traitsOf(300) == CpTraits());
}

// Two processor classes that claim the same ids.
struct FirstClaimCp : CommandProcessor {
    int process(CpController*, ParsedObject*) override { return 1; }
    static CommandProcessor* create(unsigned short kind) { return createCommandProcessor<FirstClaimCp>(kind); }
    static ArrayList<unsigned short>* commandIds()
    {
        const unsigned short ids[] = {210, 211};
        return makeCommandIdList(ids, 2);
    }
};
struct SecondClaimCp : CommandProcessor {
    int process(CpController*, ParsedObject*) override { return 2; }
    static CommandProcessor* create(unsigned short kind) { return createCommandProcessor<SecondClaimCp>(kind); }
    static ArrayList<unsigned short>* commandIds()
    {
        const unsigned short ids[] = {211, 212};
        return makeCommandIdList(ids, 2);
    }
};

// Makes the process-wide registry and traits table answer local ones while it lives.
class LocalTables {
public:
    LocalTables()
        : previousRegistry(CpFactoryRegistry::replaceInstance(&registry)),
          previousTable(CpTraitsTable::replaceInstance(&table))
    {
    }
    ~LocalTables()
    {
        CpFactoryRegistry::replaceInstance(previousRegistry == &registry ? nullptr : previousRegistry);
        CpTraitsTable::replaceInstance(previousTable == &table ? nullptr : previousTable);
    }

    CpFactoryRegistry registry;
    CpTraitsTable table;

private:
    CpFactoryRegistry* previousRegistry;
    CpTraitsTable* previousTable;
};

TEST(CpRegistration, EntersCreatorAndTraitsAndRefusesAnIdTakenAlready)
{
    LocalTables local;
    OutputCapture capture;
    {
        CpRegistration<FirstClaimCp> first(CpTraits().countResult());
        CpRegistration<SecondClaimCp> second(CpTraits().withoutControllerCheck());
        CpTraitsRegistration traitsOnly({212, 213}, CpTraits().withoutControllerIfNoneFits());
    }
    EXPECT_EQ(capture.take(), "Command id 211 is registered twice\nCommand id 212 is registered twice\n");

    struct Case {
        unsigned short id;
        int creators;
        int processResult;  // of the processor found; 0: none found
        bool resultIsCount;
        bool checksController;
        bool needsController;
    } cases[] = {
        {210, 1, 1, true, true, true},
        {211, 1, 1, true, true, true},     // the first registration keeps it
        {212, 1, 2, false, false, true},   // the traits-only registration came later
        {213, 0, 0, false, true, false},
        {214, 0, 0, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(local.registry.creatorCount(c.id), c.creators);
        TestRequest request(c.id, 0);
        CommandProcessor* processor = local.registry.find(nullptr, &request);
        EXPECT_EQ(processor != nullptr ? processor->process(nullptr, nullptr) : 0, c.processResult);
        delete processor;
        CpTraits traits = local.table.traitsOf(c.id);
        EXPECT_EQ(traits.resultIsCount, c.resultIsCount);
        EXPECT_EQ(traits.checksController, c.checksController);
        EXPECT_EQ(traits.needsController, c.needsController);
    }
}

// ---- the dispatcher obeys the traits -----------------------------------------------------

const unsigned short TOKEN_PROBE = 210;  // no command of the system uses it

class TraitsDispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        processorScript = ProcessorScript();
        CpControllerMgmt::setControllerMgmtOverride(&driver);
        CpControllerMgmt::setControllerMgmtOverride(CpManagementKind::HostCacheLibrary, &hostCache);
        TestRequest::alive = 0;
    }

    void TearDown() override
    {
        CpControllerMgmt::setControllerMgmtOverride(nullptr);
        EXPECT_EQ(TestRequest::alive, 0);
        EXPECT_EQ(raidManagerCount(), 0);
    }

    // Runs one request for the probe command, registered with these traits.
    int run(const CpTraits& traits, unsigned char adapter)
    {
        LocalTables local;
        local.registry.add(TOKEN_PROBE, makeCpCreator<ScriptedCp>());
        local.table.enter(TOKEN_PROBE, traits);
        return dispatchRequests({new TestRequest(TOKEN_PROBE, adapter)}, printed);
    }

    FakeControllerMgmt driver;
    FakeControllerMgmt hostCache;
    std::string printed;
};

struct DispatchCase {
    const char* what;
    CpTraits traits;
    unsigned char adapter;
    std::function<void(FakeControllerMgmt& driver, FakeControllerMgmt& hostCache)> arrange;
    int expected;
    std::vector<int> ran;  // adapter numbers the processor ran on, -1 without a controller
    std::string printed;
};

void controllers(FakeControllerMgmt& management, int count)
{
    for (int i = 0; i < count; ++i)
        management.entries.push_back(FakeControllerMgmt::Entry());
}

TEST_F(TraitsDispatchTest, EachTraitChangesWhatTheDispatcherDoes)
{
    auto incompatible = [](FakeControllerMgmt& d, FakeControllerMgmt&) {
        controllers(d, 1);
        d.firmware(0).forwardCompat = 9;
    };
    auto threeCounting = [](FakeControllerMgmt& d, FakeControllerMgmt&) {
        controllers(d, 3);
        processorScript.results = {{0, 4}, {1, 0}, {2, 7}};
    };
    auto undetectable = [](FakeControllerMgmt& d, FakeControllerMgmt&) { d.detectFails = true; };
    auto oneAbsent = [](FakeControllerMgmt& d, FakeControllerMgmt&) { controllers(d, 1); };
    auto twoAndOne = [](FakeControllerMgmt& d, FakeControllerMgmt& h) {
        controllers(d, 2);
        controllers(h, 1);
    };
    const std::string updateApplication =
        "Adapter #0: Please Update Application.\nFirmware Forward Compatibility Version:9\n"
        "Application Forward Compatibility Version:0\n";
    const std::string notDetected =
        "ERROR:Could not detect controller.\nFailed to get ControllerId List.\nFailed to get CpController object.\n";
    const std::string absent = "User specified controller is not present.\nFailed to get CpController object.\n";

    const DispatchCase cases[] = {
        {"checked: an incompatible controller stops the command", CpTraits(), 0, incompatible, -1, {},
         updateApplication},
        {"check skipped: the processor runs", CpTraits().withoutControllerCheck(), 0, incompatible, 0, {0}, ""},
        {"ordinary result: a count stops the adapters after it", CpTraits(), ALL_ADAPTERS, threeCounting, 4, {0}, ""},
        {"result is a count: every adapter runs", CpTraits().countResult(), ALL_ADAPTERS, threeCounting, 7,
         {0, 1, 2}, ""},
        {"needs a controller: none detected", CpTraits(), 0, undetectable, -1, {}, notDetected},
        {"runs without: none detected", CpTraits().withoutControllerIfNoneFits(), 0, undetectable, 0, {-1}, ""},
        {"needs a controller: adapter absent", CpTraits(), 3, oneAbsent, -1, {}, absent},
        {"runs without: adapter absent", CpTraits().withoutControllerIfNoneFits(), 3, oneAbsent, 0, {-1}, ""},
        {"driver controllers", CpTraits(), ALL_ADAPTERS, twoAndOne, 0, {0, 1}, ""},
        {"host-cache controllers", CpTraits().managedBy(CpManagementKind::HostCacheLibrary), ALL_ADAPTERS,
         twoAndOne, 0, {0}, ""},
        {"answered by the dispatcher: the processor never runs",
         CpTraits().answeredBy(CpAnswer::ControllerCount), ALL_ADAPTERS, twoAndOne, 2, {},
         "\nController Count: 2.\n"},
    };
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        driver.reset();
        hostCache.reset();
        processorScript = ProcessorScript();
        c.arrange(driver, hostCache);
        EXPECT_EQ(run(c.traits, c.adapter), c.expected);
        EXPECT_EQ(processorScript.adaptersRun(), c.ran);
        EXPECT_EQ(printed, c.printed);
    }
}

TEST_F(TraitsDispatchTest, SkippedCheckSendsNoFirmwareCommand)
{
    controllers(driver, 1);
    EXPECT_EQ(run(CpTraits().withoutControllerCheck(), 0), 0);
    EXPECT_TRUE(driver.sent(0).empty());
}

TEST_F(TraitsDispatchTest, ManagementKindDecidesWhichManagementDetects)
{
    controllers(driver, 2);
    controllers(hostCache, 1);
    EXPECT_EQ(run(CpTraits().managedBy(CpManagementKind::HostCacheLibrary), 0), 0);
    EXPECT_EQ(hostCache.detectCalls, 1);
    EXPECT_EQ(driver.detectCalls, 0);
}

TEST_F(TraitsDispatchTest, ControllerCountAfterAnUnfinishedCommandLeavesNothingBehind)
{
    // The parsers never put the count after another request; should a request list do so,
    // the executor kept for a later pass and the RAID manager of its check must still go.
    const unsigned short TOKEN_COUNT_PROBE = 211;
    controllers(driver, 1);
    processorScript.callsUntilDone = 3;
    LocalTables local;
    local.registry.add(TOKEN_PROBE, makeCpCreator<ScriptedCp>());
    local.table.enter(TOKEN_PROBE, CpTraits());
    local.table.enter(TOKEN_COUNT_PROBE, CpTraits().answeredBy(CpAnswer::ControllerCount));
    EXPECT_EQ(dispatchRequests({new TestRequest(TOKEN_PROBE, 0), new TestRequest(TOKEN_COUNT_PROBE, ALL_ADAPTERS),
                                new TestRequest(TOKEN_PROBE, 0)},
                               printed),
              1);
    EXPECT_EQ(printed, "\nController Count: 1.\n");
    EXPECT_EQ(processorScript.adaptersRun(), std::vector<int>({0})) << "no later pass, no request after the count";
    // TearDown: no request left alive, no RAID manager left.
}

}  // namespace
