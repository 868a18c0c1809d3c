// The drive element and its data over simulated hosts: every property of a drive answers from
// one information read, a failing read is tried again on every query, and the record the
// simulated firmware writes agrees with the program's record type on every field it reads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/LeView.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "SimHostFixture.h"
#include "Simulator/SimModel.h"
#include "System/PavError.h"

namespace {

const uint32_t PD_GET_INFO = 0x02020000;

// A SAS disk in enclosure 252, a SATA SSD behind a bridge outside any enclosure, a tape and
// the enclosure's own device entry.
sim::Drive sasDisk()
{
    sim::Drive d;
    d.deviceId = 8;
    d.sequence = 0x0102;
    d.enclosureId = 252;
    d.slot = 3;
    d.state = 0x18;
    d.vendor = "QUILLDSK";
    d.product = "QD4000SAS";
    d.revision = "B002";
    d.rawBlocks = 7814037168ull;
    d.nonCoercedBlocks = 7813988016ull;
    d.coercedBlocks = 7812939776ull;
    d.mediaErrors = 7;
    d.otherErrors = 9;
    d.predictiveFailures = 2;
    d.lastPredictiveSeq = 0x1234;
    d.configFlags = 0x02;
    d.widePort = true;
    d.ports = {{0x5000c50012345671ull, 1, false}, {0x5000c50012345672ull, 2, true}};
    d.deviceSpeed = 4;
    d.linkSpeed = 3;
    d.secondLinkSpeed = 2;
    d.temperature = 36;
    d.security = 0x0D;         // capable, secured, locked
    d.protection = 0x92;       // PI type 2, eligible, commissioned spare
    d.spareFlags = 0x01;
    d.flags361 = 0x40;
    d.flags362 = 0x52;         // bits 1, 4, 6
    d.partnerId = 9;
    d.physicalSectorExponent = 3;
    d.sectorSize = 512;
    d.diagnosticsDate = {2026, 11, 30, 23, 59, 58};
    d.shieldCounter = 4;
    d.vpd83 = sim::Bytes(70, 0xA5);
    d.progress.resize(1);
    d.progress[0].progress = 0x8000;
    d.progress[0].elapsed = 120;
    return d;
}

sim::Drive sataSsd()
{
    sim::Drive d;
    d.deviceId = 20;
    d.interface = "SATA";
    d.media = "SSD";
    d.vendor = "ATA";
    d.product = "QS480SATA";
    d.revision = "S1";
    d.sectorSize = 4096;
    d.bridgeVendor = "QBRIDGE";
    d.bridgeProduct = "QB6000-SATA-BRDG";
    d.bridgeRevision = "0102";
    d.powerState = 0xFF;
    d.notCertified = 1;
    return d;
}

sim::Drive tape()
{
    sim::Drive d;
    d.deviceId = 30;
    d.type = 1;
    d.enclosureId = 252;
    d.slot = 7;
    d.vendor = "QTAPE";
    d.product = "QT800";
    return d;
}

sim::Drive enclosureEntry()
{
    sim::Drive d;
    d.deviceId = 252;
    d.type = 0x0D;
    d.enclosureId = 252;
    d.slot = 0xFF;
    d.position = 2;
    d.slotCount = 12;
    d.vendor = "QUILLENC";
    d.product = "QE12";
    return d;
}

simhost::StateEdit withDrives(const std::vector<sim::Drive>& drives)
{
    return [drives](sim::HostModel& model) {
        sim::Controller& c = model.controllers.at(0);
        c.lds.clear();
        c.arrays.clear();
        c.spares.clear();
        c.drives = drives;
        c.enclosures.clear();
        sim::Enclosure e;
        e.deviceId = 252;
        c.enclosures.push_back(e);
    };
}

// The drive element over device `deviceId` of the host's first controller.
struct Drive {
    simhost::SimControllers controllers;
    PhysicalDevice* pd = nullptr;

    explicit Drive(uint16_t deviceId)
    {
        Controller* controller = controllers.controller(0);
        EXPECT_NE(controller, nullptr);
        pd = new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, deviceId, 0xFFFF)), controller);
    }
    ~Drive() { delete pd; }
};

std::string text(const uint8_t* bytes, size_t n)
{
    return std::string(reinterpret_cast<const char*>(bytes), strnlen(reinterpret_cast<const char*>(bytes), n));
}

}  // namespace

TEST(PhysicalDevice, EveryPropertyOfTheSasDiskFromOneRead)
{
    simhost::SimHostFixture host("one", withDrives({sasDisk()}));
    Drive drive(8);
    PhysicalDevice* pd = drive.pd;
    host.clearCommands();

    uint8_t b = 0;
    uint16_t w = 0;
    uint32_t d = 0;
    uint64_t q = 0;
    EXPECT_EQ(pd->getDeviceId(&w), 0);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(pd->getSequenceNumber(&w), 0);
    EXPECT_EQ(w, 0x0102);
    EXPECT_EQ(pd->getDeviceRef(&d), 0);
    EXPECT_EQ(d, 0x01020008u);
    EXPECT_EQ(pd->getEnclosureDeviceId(&w), 0);
    EXPECT_EQ(w, 252);
    EXPECT_EQ(pd->getEnclosureIndex(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->getSlotNumber(&b), 0);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(pd->getFirmwareState(&w), 0);
    EXPECT_EQ(w, 0x18);
    EXPECT_EQ(pd->getMediaErrorCount(&d), 0);
    EXPECT_EQ(d, 7u);
    EXPECT_EQ(pd->getOtherErrorCount(&d), 0);
    EXPECT_EQ(d, 9u);
    EXPECT_EQ(pd->getPredictiveFailureCount(&d), 0);
    EXPECT_EQ(d, 2u);
    EXPECT_EQ(pd->getLastPredictiveFailureSeq(&d), 0);
    EXPECT_EQ(d, 0x1234u);
    EXPECT_EQ(pd->getRawSize(&q), 0);
    EXPECT_EQ(q, 7814037168ull);
    EXPECT_EQ(pd->getNonCoercedSize(&q), 0);
    EXPECT_EQ(q, 7813988016ull);
    EXPECT_EQ(pd->getCoercedSize(&q), 0);
    EXPECT_EQ(q, 7812939776ull);
    EXPECT_EQ(pd->getInterfaceType(&b), 0);
    EXPECT_EQ(b, 2) << "SAS";
    EXPECT_EQ(pd->getMediaType(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->getDeviceSpeed(&b), 0);
    EXPECT_EQ(b, 4);
    EXPECT_EQ(pd->getLinkSpeed(&b), 0);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(pd->getTemperature(&b), 0);
    EXPECT_EQ(b, 36);
    EXPECT_EQ(pd->getWidePortCapable(&b), 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(pd->isWidePortCapable(), 1);
    EXPECT_EQ(pd->isFdeCapable(&w), 0);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(pd->isSecured(&w), 0);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(pd->isLocked(&b), 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(pd->isForeignLocked(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->needsEkmAttention(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->isPiEligible(&w), 0);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(pd->getPiType(&w), 0);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(pd->isCommissionedSpare(), 1);
    EXPECT_EQ(pd->isEmergencySpare(), 1);
    EXPECT_EQ(pd->getFlag361Bit6(&b), 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(pd->getFlag361Bit7(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->getFlag362Bit1(&b), 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(pd->getFlag362Bit2(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->canSuspendRebuild(&b), 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(pd->canResumeRebuild(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->canSuspendCopyback(&b), 0);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(pd->canResumeCopyback(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->getPhysicalSectorSizeExponent(&w), 0);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(pd->getLogicalSectorSize(&w), 0);
    EXPECT_EQ(w, 512);
    EXPECT_EQ(pd->hasSasSataBridge(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->isForeign(&b), 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(pd->isForeignConfig(), 0);
    const uint8_t* inquiry = nullptr;
    ASSERT_EQ(pd->getInquiryData(&inquiry), 0);
    EXPECT_EQ(text(inquiry + 8, 8), "QUILLDSK");
    EXPECT_EQ(text(inquiry + 16, 16), "QD4000SAS");
    EXPECT_EQ(text(inquiry + 32, 4), "B002");
    const uint8_t* addresses = nullptr;
    ASSERT_EQ(pd->getSasAddresses(&addresses), 0);
    LeView ports(addresses, 32);
    EXPECT_EQ(ports.u64(0), 0x5000c50012345671ull);
    EXPECT_EQ(ports.u64(8), 0x5000c50012345672ull);
    EXPECT_EQ(ports.u64(16), 0u);

    EXPECT_EQ(host.count(PD_GET_INFO), 1u) << "the record is read once and kept";
}

// The record as the simulated firmware writes it for four kinds of device, read through the
// program's record type: every field the program reads.
TEST(PhysicalDevice, RecordFieldsOfFourKindsOfDevice)
{
    simhost::SimHostFixture host("one", withDrives({sasDisk(), sataSsd(), tape(), enclosureEntry()}));
    struct Case {
        uint16_t deviceId;
        uint8_t type, interfaceNibble, interfaceCode, media, bridge, slot, position, power;
        uint16_t enclosure, slotCount, partner, sectorSize;
        const char* vendor;
        const char* product;
        const char* bridgeProduct;
    } cases[] = {
        {8, 0, 2, 2, 0, 0, 3, 0, 0, 252, 0, 9, 512, "QUILLDSK", "QD4000SAS", ""},
        {20, 0, 3, 3, 1, 1, 0, 0, 0xFF, 0xFFFF, 0, 0xFFFF, 4096, "ATA", "QS480SATA", "QB6000-SATA-BRDG"},
        {30, 1, 2, 2, 0, 0, 7, 0, 0, 252, 0, 0xFFFF, 512, "QTAPE", "QT800", ""},
        {252, 0x0D, 2, 2, 0, 0, 0xFF, 2, 0, 252, 12, 0xFFFF, 512, "QUILLENC", "QE12", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceId);
        Drive drive(c.deviceId);
        const uint8_t* inquiry = nullptr;
        ASSERT_EQ(drive.pd->getInquiryData(&inquiry), 0);
        ZprDriveInfo r(inquiry - ZprDriveInfo::INQUIRY, ZprDriveInfo::SIZE);
        char t[20];
        EXPECT_EQ(r.deviceId(), c.deviceId);
        EXPECT_EQ(r.scsiDeviceType(), c.type);
        EXPECT_EQ(r.interfaceType(), c.interfaceNibble);
        EXPECT_EQ(r.interfaceCode(), c.interfaceCode);
        EXPECT_EQ(r.mediaType(), c.media);
        EXPECT_EQ(r.hasBridge() ? 1 : 0, c.bridge);
        EXPECT_EQ(r.enclosureDeviceId(), c.enclosure);
        EXPECT_EQ(r.slotNumber(), c.slot);
        EXPECT_EQ(r.enclosurePosition(), c.position);
        EXPECT_EQ(r.slotCount(), c.slotCount);
        EXPECT_EQ(r.partnerDeviceId(), c.partner);
        EXPECT_EQ(r.powerState(), c.power);
        EXPECT_EQ(r.logicalSectorSize(), c.sectorSize);
        r.vendor(t, sizeof t);
        EXPECT_STREQ(t, c.vendor);
        r.product(t, sizeof t);
        EXPECT_STREQ(t, c.product);
        r.view().readText(ZprDriveInfo::BRIDGE_PRODUCT, ZprDriveInfo::BRIDGE_PRODUCT_SIZE, t, sizeof t);
        EXPECT_STREQ(t, c.bridgeProduct);
    }
    // The SAS disk's remaining fields.
    Drive drive(8);
    const uint8_t* inquiry = nullptr;
    ASSERT_EQ(drive.pd->getInquiryData(&inquiry), 0);
    ZprDriveInfo r(inquiry - ZprDriveInfo::INQUIRY, ZprDriveInfo::SIZE);
    EXPECT_EQ(r.portEntryCount(), 2u);
    EXPECT_EQ(r.portFlags(), 0x82) << "wide, port 1 passive";
    EXPECT_EQ(r.connectorIndex(0), 1);
    EXPECT_EQ(r.connectorIndex(1), 2);
    EXPECT_EQ(r.connectorIndex(2), 0xFF);
    EXPECT_EQ(r.secondLinkSpeed(), 2);
    EXPECT_EQ(r.configFlags(), 0x02);
    EXPECT_EQ(r.operationsInProgress(), 0x01) << "rebuild running";
    EXPECT_EQ(r.progress(ZprDriveInfo::PROGRESS_REBUILD), 0x8000);
    EXPECT_EQ(r.elapsedSeconds(ZprDriveInfo::PROGRESS_REBUILD), 120);
    EXPECT_EQ(r.diagnosticsYear(), 2026);
    EXPECT_EQ(r.diagnosticsDatePart(0), 11);
    EXPECT_EQ(r.diagnosticsDatePart(4), 58);
    EXPECT_EQ(r.shieldCounter(), 4);
    EXPECT_EQ(r.view().u8(ZprDriveInfo::DEVICE_ID_DATA), 0xA5);
    EXPECT_EQ(r.view().u8(ZprDriveInfo::DEVICE_ID_DATA + 63), 0xA5);
    EXPECT_EQ(r.view().u8(ZprDriveInfo::DEVICE_ID_DATA_2 + 5), 0xA5) << "the second part carries bytes 64-69";
    EXPECT_EQ(r.view().u8(ZprDriveInfo::DEVICE_ID_DATA_2 + 6), 0);
}

// A failing read caches nothing: every query reads again, isInfoUnavailable answers 1 each
// time, and "no such device" does not stay in the last-error word; other statuses do.
TEST(PhysicalDevice, FailingReadIsTriedAgainOnEveryQuery)
{
    struct Case {
        uint8_t status;
        uint32_t lastError;
    } cases[] = {
        {0x0C, 0},
        {0x2D, 0x0201002D},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.status));
        simhost::SimHostFixture host("one", simhost::both(withDrives({sasDisk()}),
                                                         simhost::withStatusFault(PD_GET_INFO, c.status)));
        Drive drive(8);
        host.clearCommands();
        for (int i = 0; i < 2; ++i) {
            PavError::takeLastError();
            uint8_t unavailable = 7;
            EXPECT_EQ(drive.pd->isInfoUnavailable(&unavailable), 0);
            EXPECT_EQ(unavailable, 1);
            EXPECT_EQ(PavError::takeLastError(), c.lastError);
        }
        uint16_t state = 0x77;
        EXPECT_EQ(drive.pd->getFirmwareState(&state), c.status);
        EXPECT_EQ(state, 0x77) << "left untouched";
        uint8_t b = 0x77;
        EXPECT_EQ(drive.pd->isLocked(&b), 1) << "a drive that cannot be read counts as locked";
        EXPECT_EQ(drive.pd->isForeignLocked(&b), 1);
        EXPECT_EQ(b, 0x77);
        EXPECT_EQ(drive.pd->isWidePortCapable(), 0);
        EXPECT_EQ(drive.pd->isForeignConfig(), 0);
        EXPECT_EQ(drive.pd->isCommissionedSpare(), 0);
        EXPECT_EQ(drive.pd->isEmergencySpare(), 0);
        EXPECT_EQ(host.count(PD_GET_INFO), 9u) << "every query read again";

        host.change(simhost::withoutFaults());
        EXPECT_EQ(drive.pd->getFirmwareState(&state), 0);
        EXPECT_EQ(state, 0x18);
        EXPECT_EQ(drive.pd->getDeviceId(&state), 0);
        EXPECT_EQ(host.count(PD_GET_INFO), 10u) << "once read, the record is kept";
    }
}

TEST(PhysicalDevice, UnknownDeviceIdIsNoDevice)
{
    simhost::SimHostFixture host("one", withDrives({sasDisk()}));
    Drive drive(99);
    uint16_t id = 0;
    EXPECT_EQ(drive.pd->getDeviceId(&id), 0x0C);
    uint8_t unavailable = 0;
    ignoreStatus(drive.pd->isInfoUnavailable(&unavailable), "always 0; the answer is what is checked");
    EXPECT_EQ(unavailable, 1);
}

TEST(PhysicalDevice, UnconfiguredGoodDisk)
{
    struct Case {
        uint8_t state, configFlags, unsupported, type;
        uint8_t expected;
    } cases[] = {
        {0x00, 0x00, 0, 0, 1},
        {0x00, 0x01, 0, 0, 1},   // bit 0 is not a use mark
        {0x00, 0x20, 0, 0, 1},
        {0x00, 0x02, 0, 0, 0},
        {0x00, 0x04, 0, 0, 0},
        {0x00, 0x08, 0, 0, 0},
        {0x00, 0x10, 0, 0, 0},   // foreign
        {0x01, 0x00, 0, 0, 0},   // unconfigured bad
        {0x18, 0x00, 0, 0, 0},
        {0x00, 0x00, 1, 0, 0},   // not supported
        {0x00, 0x00, 0, 1, 0},   // a tape
    };
    std::vector<sim::Drive> drives;
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        sim::Drive d;
        d.deviceId = static_cast<uint16_t>(100 + i);
        d.state = cases[i].state;
        d.configFlags = cases[i].configFlags;
        d.unsupported = cases[i].unsupported;
        d.type = cases[i].type;
        drives.push_back(d);
    }
    simhost::SimHostFixture host("one", withDrives(drives));
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE(i);
        Drive drive(static_cast<uint16_t>(100 + i));
        uint8_t answer = 7;
        EXPECT_EQ(drive.pd->isUnconfiguredGoodDisk(&answer), 0);
        EXPECT_EQ(answer, cases[i].expected);
    }
}

TEST(PhysicalDevice, ForeignStateAndOutdatedMarkAreKeptApartFromTheLiveState)
{
    sim::Drive d = sasDisk();
    d.configFlags = 0x10;
    simhost::SimHostFixture host("one", withDrives({d}));
    Drive drive(8);
    uint16_t state = 0;
    EXPECT_EQ(drive.pd->getForeignState(&state), 0);
    EXPECT_EQ(state, 0xFFFF) << "none stored";
    EXPECT_EQ(drive.pd->setForeignState(0x00), 0);
    EXPECT_EQ(drive.pd->getForeignState(&state), 0);
    EXPECT_EQ(state, 0x00);
    EXPECT_EQ(drive.pd->getFirmwareState(&state), 0);
    EXPECT_EQ(state, 0x18) << "the live state";
    EXPECT_EQ(drive.pd->isOutdated(), 0);
    EXPECT_EQ(drive.pd->markOutdated(), 0);
    EXPECT_EQ(drive.pd->isOutdated(), 1);
    uint8_t foreign = 0;
    EXPECT_EQ(drive.pd->isForeign(&foreign), 0);
    EXPECT_EQ(foreign, 1);
    EXPECT_EQ(drive.pd->isForeignConfig(), 1);
    EXPECT_EQ(drive.pd->unsupportedOperation35(), -1);
}

TEST(PhysicalDevice, LinksAreKeptNotFollowed)
{
    PhysicalDevice pd(new PdDataZpr(nullptr, new PdIdZpr(0, 0, 1, 0xFFFF)), nullptr);
    Array* array = reinterpret_cast<Array*>(&pd);   // never dereferenced
    Array* out = array;
    EXPECT_EQ(pd.getArray(&out), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(pd.setArray(array), 0);
    EXPECT_EQ(pd.getArray(&out), 0);
    EXPECT_EQ(out, array);
    uint16_t id = 0;
    EXPECT_EQ(pd.getDeviceId(&id), -1) << "no controller: refused before anything is sent";
}
