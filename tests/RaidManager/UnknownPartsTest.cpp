// The RAID manager's lookups when a part of the controller could not be read: a configuration,
// drive list or drive information that the firmware did not give is unknown, not empty. Each
// lookup that needs the part reads it again and, when that read fails too, answers with its
// status; a read that succeeds the second time answers as a healthy controller does; absence is
// claimed only from a read that succeeded.
#include <gtest/gtest.h>

#include <string>

#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "ConfigLayouts.h"
#include "SimHostFixture.h"

namespace {

const char* const CFG_READ = "0x04010000";
const char* const PD_LIST = "0x02010000";
const char* const PD_INFO = "0x02020000";

std::string statusFault(const char* opcode, const char* mode)
{
    return std::string("{\"type\": \"status\", \"opcode\": \"") + opcode + "\", \"status\": 3, \"mode\": \"" + mode +
           "\"}";
}

std::string ioctlFault(const char* opcode)
{
    return std::string("{\"type\": \"ioctl\", \"opcode\": \"") + opcode + "\"}";
}

// What each lookup answers: its status, and for the two that can find nothing after a read
// that succeeded, whether they found the drive or virtual drive asked for.
struct Answers {
    int vds;            // getVds
    int diskGroups;     // getDiskGroups
    int vd;             // getVd of target id 1 (the RAID 5)
    int inConfig;       // findTargetIdInConfig of target id 1
    int pdBySlot;       // findPdByEnclSlot of 252:3 (a member of the RAID 5), asked first
    int allPds;         // getAllPds
    int goodBySize;     // getUnconfiguredGoodPdsBySize
};

struct Case {
    const char* what;
    std::string fault;
    Answers answers;
};

TEST(UnknownParts, EachLookupGivesTheFailedReadsStatusNotNone)
{
    const int IOCTL = 0xFFFF;
    // Drive 15 (slot 7) is the one unconfigured-good drive in no array and no spare.
    const Case cases[] = {
        // Which drives are in no array is known only from the configuration.
        {"configuration read fails", statusFault(CFG_READ, "always"), {3, 3, 3, 3, 0, 0, 3}},
        {"configuration read's ioctl fails", ioctlFault(CFG_READ), {IOCTL, IOCTL, IOCTL, IOCTL, 0, 0, IOCTL}},
        {"configuration read fails once, then answers", statusFault(CFG_READ, "once"), {0, 0, 0, 0, 0, 0, 0}},
        {"drive list fails", statusFault(PD_LIST, "always"), {0, 0, 0, 0, 3, 3, 3}},
        {"drive list's ioctl fails", ioctlFault(PD_LIST), {0, 0, 0, 0, IOCTL, IOCTL, IOCTL}},
        {"drive information fails", statusFault(PD_INFO, "always"), {0, 0, 0, 0, 0, 0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layouts::ModelHost sim(
            simhost::both(layouts::describe(layouts::raid1Raid5WithSpares()), simhost::withFault(c.fault)));
        ASSERT_NE(sim.manager, nullptr);
        ASSERT_EQ(sim.manager->refresh(), 0) << "the adapter was read: the refresh itself succeeds";
        const Answers& a = c.answers;

        // First, before the configuration's drives enter the drive cache and answer for it.
        EnclSlotId slot3(252, 3);
        PhysicalDevice* pd = nullptr;
        EXPECT_EQ(sim.manager->findPdByEnclSlot(&slot3, &pd), a.pdBySlot);
        EXPECT_EQ(pd != nullptr, a.pdBySlot == 0);

        ArrayList<VirtualDisk*>* vds = nullptr;
        EXPECT_EQ(sim.manager->getVds(&vds), a.vds);
        EXPECT_EQ(vds != nullptr, a.vds == 0);
        ArrayList<DiskGroup*>* groups = nullptr;
        EXPECT_EQ(sim.manager->getDiskGroups(&groups), a.diskGroups);

        VdIdZpr id(1, VdIdZpr::SEQUENCE_UNKNOWN);
        VirtualDisk* vd = nullptr;
        EXPECT_EQ(sim.manager->getVd(&id, &vd), a.vd);
        EXPECT_EQ(vd != nullptr, a.vd == 0);

        uint8_t inConfig = 7;
        EXPECT_EQ(sim.manager->findTargetIdInConfig(1, 0, &inConfig), a.inConfig);
        EXPECT_EQ(inConfig, a.inConfig == 0 ? 1 : 7) << "a failed read leaves the answer untouched";

        ArrayList<PhysicalDevice*>* all = nullptr;
        EXPECT_EQ(sim.manager->getAllPds(&all), a.allPds);
        if (a.allPds == 0) {
            EXPECT_EQ(layouts::deviceIds(all).size(), 8u);
        }

        ArrayList<PhysicalDevice*>* good = nullptr;
        EXPECT_EQ(sim.manager->getUnconfiguredGoodPdsBySize(&good, 0), a.goodBySize);
        if (a.goodBySize == 0) {
            EXPECT_EQ(layouts::deviceIds(good), (std::vector<uint16_t>{15}));
            delete good;
        }
    }
}

// Absence found by reads that succeeded keeps its answer: nothing at an empty slot, no drive
// of target id 9, no unconfigured-good drive when every drive is configured.
TEST(UnknownParts, AbsenceFromAReadThatSucceededStaysAbsence)
{
    {
        layouts::ModelHost sim(layouts::describe(layouts::raid1Raid5WithSpares()));
        ASSERT_NE(sim.manager, nullptr);
        EnclSlotId empty(252, 20);
        PhysicalDevice* pd = nullptr;
        EXPECT_EQ(sim.manager->findPdByEnclSlot(&empty, &pd), 0);
        EXPECT_EQ(pd, nullptr);
        uint8_t inConfig = 7;
        EXPECT_EQ(sim.manager->findTargetIdInConfig(9, 0, &inConfig), 0);
        EXPECT_EQ(inConfig, 0);
    }
    layouts::Layout full;
    full.drives = 2;
    full.arrays = {{0, {8, 9}}};
    full.lds = {{0, 1, {0}}};
    layouts::ModelHost configured(layouts::describe(full));
    ASSERT_NE(configured.manager, nullptr);
    ArrayList<PhysicalDevice*>* good = nullptr;
    EXPECT_EQ(configured.manager->getUnconfiguredGoodPdsBySize(&good, 0), NO_DRIVE_FOUND);
}

}  // namespace
