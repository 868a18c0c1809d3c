// Foreign configurations through the model over simulated hosts: the scan, the reads of one or
// all configurations into a snapshot (as stored or as an import would make them), import,
// clear, the foreign drives outside the preview, and the manager's once-per-manager scan and
// import-all guard. The firmware commands come from the command log.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/List.h"
#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Spare.h"
#include "RaidManager/VirtualDisk.h"
#include "SimHostFixture.h"
#include "Simulator/SimHost.h"
#include "Simulator/SimModel.h"
#include "Simulator/SimState.h"

namespace {

const uint32_t FOREIGN_SCAN = 0x04060100;
const uint32_t FOREIGN_GET = 0x04060200;
const uint32_t FOREIGN_PREVIEW = 0x04060300;
const uint32_t FOREIGN_IMPORT = 0x04060400;
const uint32_t FOREIGN_CLEAR = 0x04060500;

sim::Array array(uint16_t ref, std::vector<uint16_t> drives)
{
    sim::Array a;
    a.ref = ref;
    a.drives = drives;
    return a;
}

sim::LogicalDrive mirrorOn(uint8_t targetId, uint16_t ref, std::vector<uint16_t> drives)
{
    sim::LogicalDrive ld;
    ld.targetId = targetId;
    ld.raidLevel = 1;
    ld.drivesPerSpan = static_cast<uint8_t>(drives.size());
    ld.drives = drives;
    sim::Span span;
    span.array = ref;
    ld.spans = {span};
    return ld;
}

sim::Spare spare(uint16_t deviceId)
{
    sim::Spare s;
    s.deviceId = deviceId;
    return s;
}

// The preset's controller with drives 12 to 17 (slots 4 to 9) and the foreign configurations.
simhost::StateEdit withForeign(std::vector<sim::ForeignConfig> configs)
{
    return [configs](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        for (uint16_t id = 12; id <= 17; ++id) {
            sim::Drive d;
            d.deviceId = id;
            d.enclosureId = 252;
            d.slot = static_cast<uint8_t>(id - 8);
            c.drives.push_back(d);
        }
        c.foreignConfigs = configs;
    };
}

// A mirror on 12 and 13 (array 0 and target id 0, as the controller's own), a mirror on 14 and
// 15 whose entry for 15 is outdated, a configuration of two global spares (16, 17).
std::vector<sim::ForeignConfig> threeConfigs()
{
    sim::ForeignConfig a;
    a.arrays = {array(0, {12, 13})};
    a.lds = {mirrorOn(0, 0, {12, 13})};
    sim::ForeignConfig b;
    b.arrays = {array(1, {14, 15})};
    b.lds = {mirrorOn(1, 1, {14, 15})};
    b.outdated = {15};
    sim::ForeignConfig spares;
    spares.spares = {spare(16), spare(17)};
    return {a, b, spares};
}

struct Manager {
    simhost::SimControllers controllers;
    RaidManager* manager = getRaidManager(controllers.controller(0));
    RmData* rmData = manager != nullptr ? manager->getRmData() : nullptr;
};

}  // namespace

TEST(ForeignConfig, NothingForeignScansZeroAndPreviewsNothing)
{
    simhost::SimHostFixture host("one");
    Manager m;
    ASSERT_NE(m.rmData, nullptr);
    EXPECT_EQ(m.rmData->scanForeignConfigs(), 0);
    RmCfg* config = nullptr;
    EXPECT_EQ(m.rmData->previewForeignConfig(&config, 255, 1), 0);
    EXPECT_EQ(config, nullptr) << "nothing to show";
    EXPECT_EQ(host.commandsWith(FOREIGN_PREVIEW).size(), 1u) << "the first block told there is nothing more";
}

TEST(ForeignConfig, SparesOnlyReadTheirOwnSize)
{
    simhost::SimHostFixture host("one", withForeign(threeConfigs()));
    Manager m;
    ASSERT_EQ(m.rmData->scanForeignConfigs(), 3);
    RmCfg* config = nullptr;
    host.clearCommands();
    ASSERT_EQ(m.rmData->previewForeignConfig(&config, 2, 0), 0);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(host.commandsWith(FOREIGN_GET),
              (std::vector<std::string>{"opcode=0x04060200 mbox=0x00000002,0x00000000,0x00000000 len=616 status=0x00",
                                        "opcode=0x04060200 mbox=0x00000002,0x00000000,0x00000000 len=656 status=0x00"}));
    EXPECT_EQ(config->isForeign(), 1);
    EXPECT_NE(config->getForeignBuffer(), nullptr);
    EXPECT_EQ(config->getVds()->count(), 0);
    ASSERT_NE(config->getSpares(), nullptr);
    EXPECT_EQ(config->getSpares()->count(), 2);
    delete config;
}

TEST(ForeignConfig, ThePreviewMarksDrivesAndLetsGoOfThem)
{
    simhost::SimHostFixture host("one", withForeign(threeConfigs()));
    Manager m;
    RmCfg* config = nullptr;
    ASSERT_EQ(m.manager->previewForeignConfig(&config, 1, 1), 0);
    ASSERT_NE(config, nullptr);
    ASSERT_EQ(config->getArrays()->count(), 1);
    ArrayList<PhysicalDevice*>* drives = nullptr;
    ASSERT_EQ(config->getArrays()->get(0)->getPdList(&drives), 0);
    ASSERT_EQ(drives->count(), 2);
    PhysicalDevice* current = drives->get(0);
    PhysicalDevice* outdated = drives->get(1);
    EXPECT_EQ(current->isOutdated(), 0);
    EXPECT_EQ(outdated->isOutdated(), 1) << "its entry carries sequence number 0";
    uint16_t state = 0;
    EXPECT_EQ(outdated->getForeignState(&state), 0);
    EXPECT_EQ(state, 0x18);
    Array* of = nullptr;
    EXPECT_EQ(current->getArray(&of), 0);
    EXPECT_EQ(of, config->getArrays()->get(0));
    // The drives outlive the preview: they must not keep pointing into it.
    delete config;
    of = reinterpret_cast<Array*>(1);
    ignoreStatus(current->getArray(&of), "the link itself is what is checked");
    EXPECT_EQ(of, nullptr);
}

TEST(ForeignConfig, ClearRefusesAnIndexAtOrBeyondTheCount)
{
    struct Case {
        const char* what;
        uint8_t index;
        int status;
        size_t clears;
    } cases[] = {
        {"the last one", 2, 0, 1},
        {"one beyond", 3, -1, 0},
        {"255 is no index", 255, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        simhost::SimHostFixture host("one", withForeign(threeConfigs()));
        Manager m;
        EXPECT_EQ(m.rmData->clearForeignConfigs(c.index), c.status);
        EXPECT_EQ(host.count(FOREIGN_SCAN), 1u) << "the count is asked first";
        EXPECT_EQ(host.count(FOREIGN_CLEAR), c.clears);
        EXPECT_EQ(host.host().state().model().controllers.at(0).foreignConfigs.size(), 3 - c.clears);
    }
    simhost::SimHostFixture host("one", simhost::both(withForeign(threeConfigs()), simhost::withStatusFault(FOREIGN_SCAN, 0x2d)));
    Manager m;
    EXPECT_EQ(m.rmData->scanForeignConfigs(), -1);
    EXPECT_EQ(m.rmData->clearForeignConfigs(0), -1) << "a failed scan refuses too";
    EXPECT_EQ(host.count(FOREIGN_CLEAR), 0u);
}

TEST(ForeignConfig, ImportOfAllWhoseOsStepFails)
{
    simhost::SimHostFixture host("one", withForeign(threeConfigs()));
    ASSERT_EQ(std::remove((host.dir() + "/sys/devices/pci0000:00/0000:00:03.0/0000:03:00.0/host2/scsi_host/host2/scan").c_str()), 0);
    Manager m;
    EXPECT_EQ(m.rmData->importForeignConfig(255), -2);
    const sim::Controller& c = host.host().state().model().controllers.at(0);
    EXPECT_TRUE(c.foreignConfigs.empty()) << "the controller imported them";
    ASSERT_EQ(c.lds.size(), 3u);
    EXPECT_EQ(c.lds[1].targetId, 1) << "the colliding target id 0 took the lowest free one";
    EXPECT_EQ(c.lds[2].targetId, 2) << "and the next configuration's 1 the one after";
}

TEST(ForeignConfig, ForeignDrivesOutsideThePreview)
{
    // Drive 16 holds a configuration of spares only: importable, in no array. Drive 17 too, but
    // the controller forbids its import (allowed-operations bit 13).
    simhost::SimHostFixture host("one", simhost::both(withForeign(threeConfigs()), [](sim::HostModel& model) {
                                     sim::Controller& c = model.controllers.at(0);
                                     c.info.reportingFeatures = 0x40;
                                     c.drives.back().allowedOperations = 1u << 13;
                                 }));
    Manager m;
    ArrayList<PhysicalDevice*> outside(4);
    ASSERT_EQ(m.rmData->getForeignPdsOutsidePreview(&outside), 0);
    ASSERT_EQ(outside.count(), 1);
    uint16_t id = 0;
    EXPECT_EQ(outside.get(0)->getDeviceId(&id), 0);
    EXPECT_EQ(id, 16);
    EXPECT_EQ(m.rmData->getForeignPdsOutsidePreview(nullptr), -1);
}

TEST(ForeignConfig, TheManagerScansOncePerManager)
{
    simhost::SimHostFixture host("one", withForeign(threeConfigs()));
    Manager m;
    ASSERT_EQ(m.manager->refresh(), 0);
    EXPECT_EQ(m.manager->scanForeignConfigs(), 3);
    ASSERT_EQ(m.manager->refresh(), 0);
    host.change([](sim::HostModel& model) { model.controllers.at(0).foreignConfigs.clear(); });
    EXPECT_EQ(m.manager->scanForeignConfigs(), 3) << "kept across the refresh";
    EXPECT_EQ(host.count(FOREIGN_SCAN), 1u);
}

TEST(ForeignConfig, WithoutImportAllTheWholeSetIsRefusedBeforeAnythingIsSent)
{
    simhost::SimHostFixture other("one", withForeign(threeConfigs()));
    Manager n;
    RmCfg* config = nullptr;
    EXPECT_EQ(n.manager->importForeignConfig(255), -1);
    EXPECT_EQ(n.manager->previewForeignConfig(&config, 255, 1), -1);
    EXPECT_EQ(other.count(FOREIGN_IMPORT), 0u);
    EXPECT_EQ(other.count(FOREIGN_PREVIEW), 0u);
    EXPECT_EQ(n.manager->previewForeignConfig(&config, 255, 0), 0) << "the stored view is not guarded";
    EXPECT_NE(config, nullptr);
    delete config;
    EXPECT_EQ(n.manager->importForeignConfig(1), 0);
    EXPECT_EQ(other.commandsWith(FOREIGN_IMPORT),
              (std::vector<std::string>{"opcode=0x04060400 mbox=0x00000001,0x00000000,0x00000000 len=0 status=0x00"}));
}
