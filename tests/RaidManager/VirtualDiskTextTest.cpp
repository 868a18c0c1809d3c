// The information block of a virtual drive against logical drives that a simulated host
// describes: the full form whole, the short form of an SSD-caching drive, and the lines that
// each edge case changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"

namespace {

const uint8_t LD_FEATURES_ALL = 0x32;   // bad blocks, power savings, maximum without caching
const uint8_t PI_SUPPORTED = 0x01;
const uint8_t EMULATION_REPORTED = 0x02;

sim::LogicalDrive raid5()
{
    sim::LogicalDrive ld;
    ld.targetId = 1;
    ld.name = "Data";
    ld.raidLevel = 5;
    ld.raidQualifier = 3;
    ld.stripExponent = 7;
    ld.drivesPerSpan = 3;
    ld.spanDepth = 1;
    ld.sizeBlocks = 2000000;
    ld.sizeIsDriveSize = true;
    ld.defaultCachePolicy = 0x0D;   // write back, read adaptive
    ld.currentCachePolicy = 0x70;   // cached, write cache with a bad battery
    return ld;
}

// The host's first controller holds these logical drives and no others.
simhost::StateEdit withLds(const std::vector<sim::LogicalDrive>& lds, uint8_t ldFeatures, uint8_t piFeatures,
                           uint8_t firmwareFeatures)
{
    return [=](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.lds = lds;
        c.arrays.clear();
        c.spares.clear();
        c.info.ldFeatures = ldFeatures;
        c.info.piFeatures = piFeatures;
        c.info.firmwareFeatures = firmwareFeatures;
        c.info.sscAndBootState = 0x02;
    };
}

std::string textOf(const std::vector<sim::LogicalDrive>& lds, uint8_t targetId, uint8_t ldFeatures = 0,
                   uint8_t piFeatures = 0, uint8_t firmwareFeatures = 0)
{
    simhost::SimHostFixture host("one", withLds(lds, ldFeatures, piFeatures, firmwareFeatures));
    std::string text;
    {
        simhost::SimControllers controllers;
        VdDataZpr data(controllers.controller(0), new VdIdZpr(targetId, 1));
        text = data.toString().c_str();
        releaseRaidManagers();
    }
    return text;
}

} // namespace

TEST(VirtualDiskText, FullFormWithEveryOptionalLine)
{
    sim::LogicalDrive ld = raid5();
    ld.preservedCache = 1;
    ld.badBlocks = 1;
    ld.piType = 2;
    ld.powerSavingPolicy = 6;
    ld.currentPowerSavingPolicy = 0;
    ld.powerConditions = 0x05;
    ld.progress = {{sim::LdOperation::CONSISTENCY_CHECK, 32768, 125}, {sim::LdOperation::RECONSTRUCTION, 65535, 59}};
    EXPECT_EQ(textOf({ld}, 1, LD_FEATURES_ALL, PI_SUPPORTED, EMULATION_REPORTED),
              "Name                :Data\n"
              "RAID Level          : Primary-5, Secondary-0, RAID Level Qualifier-3\n"
              "Size                : 976.562 MB\n"
              "Sector Size         : 512\n"
              "Is VD emulated      : No\n"
              "State               : Optimal\n"
              "Strip Size          : 64 KB\n"
              "Number Of Drives    : 3\n"
              "Span Depth          : 1\n"
              "Default Cache Policy: WriteBack, ReadAdaptive, Direct, No Write Cache if Bad BBU\n"
              "Current Cache Policy: WriteThrough, ReadAheadNone, Cached, Write Cache OK if Bad BBU\n"
              "Default Access Policy: Read/Write\n"
              "Current Access Policy: Read/Write\n"
              "Disk Cache Policy   : Disk's Default\n"
              "Preserved Cache Data: Yes\n"
              "Ongoing Progresses:\n"
              "  Check Consistency        : Completed 50%, Taken 2 min.\n"
              "  Reconstruction           : Completed 100%, Taken 0 min.\n"
              "Encryption Type     : None\n"
              "Default Power Savings Policy: Maximum without caching\n"
              "Current Power Savings Policy: Controller Defined\n"
              "Can spin up in 1 minute: Yes\n"
              "LD has drives that support T10 power conditions: No\n"
              "LD's IO profile supports MAX power savings with cached writes: Yes\n"
              "Bad Blocks Exist: Yes\n"
              "PI type: PI with type 2\n"
              "\n"
              "Is VD Cached: No\n");
}

TEST(VirtualDiskText, SsdCachingDriveShortForm)
{
    sim::LogicalDrive cache = raid5();
    cache.targetId = 3;
    cache.name = "Cache";
    cache.raidLevel = 0;
    cache.sscCache = 1;
    cache.state = 2;
    sim::LogicalDrive first = raid5();
    first.cacheAssociation = 1;
    sim::LogicalDrive second = raid5();
    second.targetId = 2;
    second.cacheAssociation = 1;
    EXPECT_EQ(textOf({first, second, cache}, 3),
              "Virtual Drive Type\t: Tidewell \n"
              "Name\t\t\t: Cache\n"
              "RAID Level\t\t: Primary-0, Secondary-0\n"
              "State\t\t        : Degraded\n"
              "Size\t\t  \t: 976.562 MB\n"
              "Target Id of the Associated LDs : 1,2\n"
              "Default Cache Policy\t: WriteBack, ReadAdaptive, Direct, No Write Cache if Bad BBU\n"
              "Current Cache Policy\t: WriteThrough, ReadAheadNone, Cached, Write Cache OK if Bad BBU\n");
    std::string alone = textOf({cache}, 3);
    EXPECT_NE(alone.find("Target Id of the Associated LDs : None\nDefault"), std::string::npos) << alone;
}

TEST(VirtualDiskText, EdgeCases)
{
    struct Case {
        const char* what;
        std::vector<sim::LogicalDrive> lds;
        std::vector<std::string> lines;   // each in the text; none: the text is empty
        std::vector<std::string> absent;
    };
    auto edited = [](void (*edit)(sim::LogicalDrive&)) {
        sim::LogicalDrive ld = raid5();
        edit(ld);
        return ld;
    };
    sim::LogicalDrive cache = raid5();
    cache.targetId = 3;
    cache.sscCache = 1;
    const Case cases[] = {
        {"blocked by an offline SSD cache",
         {edited([](sim::LogicalDrive& l) { l.currentAccessPolicy = 3; l.cacheAssociation = 1; })},
         {"Default Access Policy: Read/Write\nCurrent Access Policy: Blocked\n"
          "Reason for difference in Access Policy: Associated Tidewell - SSD Caching virtual drive is offline\n"},
         {}},
        {"cached by an SSD-caching drive: the type line ends the text",
         {edited([](sim::LogicalDrive& l) { l.cacheAssociation = 1; }), cache},
         {"Is VD Cached: Yes\n\nTidewell Type : Read and Write"},
         {}},
        {"an unknown current access policy is one blank",
         {edited([](sim::LogicalDrive& l) { l.currentAccessPolicy = 1; })},
         {"Current Access Policy:  \n"},
         {}},
        {"spanned", {edited([](sim::LogicalDrive& l) { l.spanDepth = 2; l.drivesPerSpan = 2; })},
         {"Number Of Drives per span:2\nSpan Depth          : 2\n"}, {}},
        {"strip exponent 0", {edited([](sim::LogicalDrive& l) { l.stripExponent = 0; })},
         {"Strip Size          : 512Bytes\n"}, {}},
        {"states", {edited([](sim::LogicalDrive& l) { l.state = 0; })}, {"State               : Offline\n"}, {}},
        {"encryption", {edited([](sim::LogicalDrive& l) { l.encryption = 2; })},
         {"Encryption Type     : Controller Based\n"}, {}},
        {"a level without a size rule empties the text",
         {edited([](sim::LogicalDrive& l) { l.raidLevel = 3; l.sizeIsDriveSize = false; })}, {}, {}},
        {"a level without a size rule is shown when the size is the drives'",
         {edited([](sim::LogicalDrive& l) { l.raidLevel = 3; })}, {"Primary-3"}, {"Parity Size"}},
    };
    for (const Case& c : cases) {
        std::string text = textOf(c.lds, 1);
        if (c.lines.empty()) {
            EXPECT_EQ(text, "") << c.what;
        }
        for (const std::string& line : c.lines)
            EXPECT_NE(text.find(line), std::string::npos) << c.what << ": " << line << "\n" << text;
        for (const std::string& line : c.absent)
            EXPECT_EQ(text.find(line), std::string::npos) << c.what << ": " << line;
    }
    EXPECT_EQ(textOf({raid5()}, 7), "") << "a drive the controller does not have";
}
