// The part of the RAID model that the controller check uses: the manager table, refresh, the
// adapter's OEM id and compatibility checks, and the enclosure resolution of the processors,
// over a simulated host.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include <memory>

#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "SimHostFixture.h"
#include "System/PavError.h"

namespace {

const unsigned SCSI_HOST = 2;   // the SCSI host of the preset's first controller

// The first controller of a simulated host of two, made as a run makes it; what its firmware
// receives is counted from the test's start on.
class RaidManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.ready());
        ASSERT_NE(controller, nullptr);
        host.clearCommands();   // creating the controller read its information
    }
    void TearDown() override { releaseRaidManagers(); }

    size_t sent(uint32_t opcode) const { return host.count(opcode, SCSI_HOST); }

    simhost::SimHostFixture host{"two"};
    simhost::SimControllers controllers;
    Controller* controller = controllers.controller(0);
};

TEST_F(RaidManagerTest, OneManagerPerControllerUntilReleased)
{
    Controller* other = controllers.controller(1);
    ASSERT_NE(other, nullptr);
    RaidManager* first = getRaidManager(controller);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(getRaidManager(controller), first);
    RaidManager* second = getRaidManager(other);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(raidManagerCount(), 2);
    releaseRaidManagers();
    EXPECT_EQ(raidManagerCount(), 0);
    EXPECT_NE(getRaidManager(controller), nullptr);
    EXPECT_EQ(raidManagerCount(), 1);
}

TEST_F(RaidManagerTest, TableRefusesAControllerBeyondItsSize)
{
    std::vector<std::unique_ptr<FakeControllerId>> ids;
    std::vector<std::unique_ptr<FakeController>> fakes;
    for (int i = 0; i < MAX_RAID_MANAGERS + 1; ++i) {
        ids.emplace_back(new FakeControllerId());
        fakes.emplace_back(new FakeController(ids.back().get(), 7, nullptr));
        RaidManager* manager = getRaidManager(fakes.back().get());
        if (i < MAX_RAID_MANAGERS)
            EXPECT_NE(manager, nullptr) << i;
        else
            EXPECT_EQ(manager, nullptr);
    }
    releaseRaidManagers();
}

TEST_F(RaidManagerTest, RefreshBuildsANewAdapterWithAnEmptyCache)
{
    RaidManager* manager = getRaidManager(controller);
    ASSERT_EQ(manager->refresh(), 0);
    Adapter* adapter = nullptr;
    ASSERT_EQ(manager->getAdapter(&adapter), 0);
    ASSERT_NE(adapter, nullptr);
    uint8_t flag = 9;
    uint16_t fw = 9, app = 9;
    EXPECT_EQ(adapter->checkApplicationCompatibility(&flag, &fw, &app), 0);
    EXPECT_EQ(adapter->checkFirmwareCompatibility(&flag, &fw, &app), 0);
    EXPECT_EQ(sent(DCMD_ADP_GET_INFO), 1u) << "one read serves both checks";
    ASSERT_EQ(manager->refresh(), 0);
    ASSERT_EQ(manager->getAdapter(&adapter), 0);
    EXPECT_EQ(adapter->checkApplicationCompatibility(&flag, &fw, &app), 0);
    EXPECT_EQ(sent(DCMD_ADP_GET_INFO), 2u) << "a refresh reads the record anew";
}

TEST_F(RaidManagerTest, CompatibilityLevels)
{
    struct Case {
        uint16_t forward, backward;
        uint8_t applicationFlag;
        uint8_t firmwareFlag;
    } cases[] = {{0, 0, 0, 0}, {1, 0, 1, 0}, {0x1234, 0xFFFF, 1, 0}};
    for (const Case& c : cases) {
        host.change(simhost::withCompatibility(0, c.forward, c.backward));
        RaidManager* manager = getRaidManager(controller);
        ASSERT_EQ(manager->refresh(), 0);
        Adapter* adapter = nullptr;
        ASSERT_EQ(manager->getAdapter(&adapter), 0);
        uint8_t flag = 9;
        uint16_t fw = 0, app = 9;
        EXPECT_EQ(adapter->checkApplicationCompatibility(&flag, &fw, &app), 0);
        EXPECT_EQ(flag, c.applicationFlag);
        EXPECT_EQ(fw, c.forward);
        EXPECT_EQ(app, 0);
        flag = 9;
        EXPECT_EQ(adapter->checkFirmwareCompatibility(&flag, &fw, &app), 0);
        EXPECT_EQ(flag, c.firmwareFlag);
        EXPECT_EQ(fw, c.backward);
    }
}

TEST_F(RaidManagerTest, FailedReadLeavesOutputsAndIsRetried)
{
    host.change(simhost::withStatusFault(DCMD_ADP_GET_INFO, 0x0C));
    RaidManager* manager = getRaidManager(controller);
    // The refresh reads the information for the three drive-mix flags, once per flag while the
    // read fails, and still succeeds.
    EXPECT_EQ(manager->refresh(), 0);
    EXPECT_EQ(sent(DCMD_ADP_GET_INFO), 3u);
    Adapter* adapter = nullptr;
    ASSERT_EQ(manager->getAdapter(&adapter), 0);
    uint8_t flag = 7;
    uint16_t fw = 7, app = 7;
    EXPECT_EQ(adapter->checkApplicationCompatibility(&flag, &fw, &app), 0x0C);
    EXPECT_EQ(flag, 7);
    EXPECT_EQ(fw, 7);
    EXPECT_EQ(app, 7);
    host.change(simhost::withoutFaults());
    EXPECT_EQ(adapter->checkApplicationCompatibility(&flag, &fw, &app), 0);
    EXPECT_EQ(sent(DCMD_ADP_GET_INFO), 5u);
}

TEST_F(RaidManagerTest, OemIdIsTheFirstByteAndNotCached)
{
    // The byte after the id belongs to another field; it must not leak into the id.
    host.change(simhost::both(simhost::withOemId(0, 2), [](sim::HostModel& model) {
        model.controllers.at(0).mfcOemData.clusterDisable = 0x7F;
    }));
    RaidManager* manager = getRaidManager(controller);
    EXPECT_EQ(manager->refresh(), 0);
    Adapter* adapter = nullptr;
    ASSERT_EQ(manager->getAdapter(&adapter), 0);
    int32_t oemId = -1;
    EXPECT_EQ(adapter->getOemId(&oemId), 0);
    EXPECT_EQ(oemId, 2);
    host.change(simhost::withStatusFault(DCMD_ADP_MFC_GET_OEM_DATA, 3));
    oemId = -1;
    EXPECT_EQ(adapter->getOemId(&oemId), 3);
    EXPECT_EQ(oemId, -1);
    EXPECT_EQ(sent(DCMD_ADP_MFC_GET_OEM_DATA), 2u);
}

TEST_F(RaidManagerTest, TakeFirmwareStatus)
{
    RaidManager* manager = getRaidManager(controller);
    struct Case {
        uint32_t word;
        int status;
    } cases[] = {{0x0201000C, 0x0C}, {0x02010000, 0}, {0x0202000C, 0}, {0xFFFFFFFF, 0}, {0x02010123, 0x23}};
    for (const Case& c : cases) {
        PavError::setLastError(c.word);
        EXPECT_EQ(manager->takeFirmwareStatus(), c.status) << std::hex << c.word;
        EXPECT_EQ(PavError::takeLastError(), 0u) << "the word is taken";
    }
}

TEST_F(RaidManagerTest, ResolveEnclosureId)
{
    CpController withController(controller, nullptr);
    unsigned short enclosure = 5;
    OutputCapture capture;
    EXPECT_EQ(CommandProcessor::resolveEnclosureId(&withController, &enclosure), 0);
    EXPECT_EQ(enclosure, 5) << "an id other than ENCLOSURE_ID_RESOLVE is left alone";
    EXPECT_TRUE(host.commands().empty());

    CpController withoutController(nullptr, nullptr);
    EXPECT_EQ(CommandProcessor::resolveEnclosureId(&withoutController, &enclosure), -1);
    EXPECT_EQ(capture.take(), "\nAdapter #255: Failed to get RM instance\n");
}

}  // namespace
