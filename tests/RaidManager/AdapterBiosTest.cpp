// The BIOS settings and the boot device of the adapter data over described controllers: the
// flags, the boot device set and cleared as a virtual or a physical drive, written with its
// checksum (the simulated controller refuses BIOS data that does not add up to 0), and read back
// as an id.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DescribedAdapter.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/VdDataZpr.h"

namespace {

const uint32_t ADP_BIOS_GET_DATA = 0x010c0100;
const uint32_t ADP_BIOS_SET_DATA = 0x010c0200;
const uint32_t PD_GET_INFO = 0x02020000;

using describedadapter::DescribedAdapter;
using describedadapter::failing;

const std::string DRIVES = "\"drives\": [{\"deviceId\": 0}, {\"deviceId\": 9, \"state\": \"0x40\"}]";

std::unique_ptr<PhysicalDevice> drive(DescribedAdapter& a, uint16_t deviceId)
{
    Controller* controller = a.controllers.controller(0);
    return std::unique_ptr<PhysicalDevice>(
        new PhysicalDevice(new PdDataZpr(controller, new PdIdZpr(0, 0, deviceId, 0xFFFF)), controller));
}

std::unique_ptr<VirtualDisk> virtualDrive(DescribedAdapter& a, uint16_t targetId)
{
    Controller* controller = a.controllers.controller(0);
    return std::unique_ptr<VirtualDisk>(new VirtualDisk(new VdDataZpr(controller, new VdIdZpr(targetId, 1)), controller));
}

}  // namespace

TEST(AdapterBios, StopOnErrorMapsAnyNonzeroValueToStopping)
{
    struct Case {
        uint8_t value;
        uint8_t stored;
    } cases[] = {{0, 1}, {1, 0}, {5, 0}, {0x80, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.value));
        DescribedAdapter a("\"bios\": {\"errorHandling\": 2}");
        ASSERT_EQ(a.data->setBiosStopOnError(c.value), 0);
        ASSERT_EQ(a.data->commitBiosData(), 0);
        EXPECT_EQ(a.saved().bios.errorHandling, c.stored);
    }
    struct Read {
        uint8_t mode;
        uint8_t stops;
    } reads[] = {{0, 1}, {1, 0}, {2, 0}, {3, 0}};
    for (const Read& r : reads) {
        SCOPED_TRACE(static_cast<int>(r.mode));
        DescribedAdapter a("\"bios\": {\"errorHandling\": " + std::to_string(r.mode) + "}");
        uint8_t stops = 9;
        ASSERT_EQ(a.data->isBiosStopOnError(&stops), 0);
        EXPECT_EQ(stops, r.stops);
    }
}

TEST(AdapterBios, KeyManagementModeAndFailedReads)
{
    DescribedAdapter a("\"bios\": {\"keyManagementMode\": \"0x11\"}", failing(ADP_BIOS_GET_DATA, 0x2d));
    uint8_t mode = 7;
    EXPECT_EQ(a.data->getKeyManagementMode(&mode), 0x2d);
    EXPECT_EQ(mode, 7);
    EXPECT_EQ(a.data->setBiosStopOnError(1), 0) << "read again after the failure";
    EXPECT_EQ(a.data->getKeyManagementMode(&mode), 0);
    EXPECT_EQ(mode, 0x11);
    EXPECT_EQ(a.sent(ADP_BIOS_GET_DATA), 2u);
}

TEST(AdapterBootDevice, APhysicalDriveIsWrittenWithItsFlagAndChecksum)
{
    DescribedAdapter a(DRIVES + ", \"bios\": {\"bootDevice\": 3}");
    std::unique_ptr<PhysicalDevice> pd = drive(a, 9);
    ASSERT_EQ(a.data->setBootPhysicalDrive(pd.get()), 0);
    EXPECT_EQ(a.sent(ADP_BIOS_SET_DATA), 0u);
    ASSERT_EQ(a.data->commitBiosData(), 0) << "the controller took the record: its bytes add up to 0";
    const sim::BiosData bios = a.saved().bios;
    EXPECT_EQ(bios.bootDevice, 9);
    EXPECT_EQ(bios.bootIsPhysical, 1);

    // The next run reads it back.
    a.renew();
    uint16_t deviceId = 0;
    VdIdZpr* id = reinterpret_cast<VdIdZpr*>(1);
    ASSERT_EQ(a.data->getBootPhysicalDrive(&deviceId), 0);
    EXPECT_EQ(deviceId, 9);
    ASSERT_EQ(a.data->getBootVirtualDrive(&id), 0);
    EXPECT_EQ(id, nullptr);
    EXPECT_EQ(a.sent(ADP_BIOS_GET_DATA), 1u);
}

TEST(AdapterBootDevice, AVirtualDriveIsHandedOutAsANewId)
{
    DescribedAdapter a(DRIVES);
    std::unique_ptr<VirtualDisk> vd = virtualDrive(a, 3);
    ASSERT_EQ(a.data->setBootVirtualDrive(vd.get()), 0);
    ASSERT_EQ(a.data->commitBiosData(), 0);
    EXPECT_EQ(a.saved().bios.bootDevice, 3);
    EXPECT_EQ(a.saved().bios.bootIsPhysical, 0);

    VdIdZpr* id = nullptr;
    ASSERT_EQ(a.data->getBootVirtualDrive(&id), 0);
    ASSERT_NE(id, nullptr);
    EXPECT_EQ(id->getTargetId16(), 3);
    EXPECT_EQ(id->getSequenceNumber(), 0xFFFF);
    delete id;
    // Also with a drive of device id 0 present, no drive is named.
    uint16_t deviceId = 0xEEEE;
    ASSERT_EQ(a.data->getBootPhysicalDrive(&deviceId), 0);
    EXPECT_EQ(deviceId, 0xEEEE);
}

TEST(AdapterBootDevice, ClearingWritesNoneAndReading255NamesNone)
{
    {
        DescribedAdapter a(DRIVES + ", \"bios\": {\"bootDevice\": 9, \"bootIsPhysical\": 1}");
        ASSERT_EQ(a.data->clearBootVirtualDrive(nullptr), 0);
        ASSERT_EQ(a.data->commitBiosData(), 0);
        EXPECT_EQ(a.saved().bios.bootDevice, 0xFFFF);
        EXPECT_EQ(a.saved().bios.bootIsPhysical, 0);
    }
    DescribedAdapter a(DRIVES + ", \"bios\": {\"bootDevice\": 255}");
    VdIdZpr* id = reinterpret_cast<VdIdZpr*>(1);
    uint16_t deviceId = 0xEEEE;
    ASSERT_EQ(a.data->getBootVirtualDrive(&id), 0);
    EXPECT_EQ(id, nullptr);
    ASSERT_EQ(a.data->getBootPhysicalDrive(&deviceId), 0);
    EXPECT_EQ(deviceId, 0xEEEE);
}

TEST(AdapterBootDevice, ADriveWhoseIdCannotBeReadChangesNothing)
{
    DescribedAdapter a(DRIVES + ", \"bios\": {\"bootDevice\": 3}");
    std::unique_ptr<PhysicalDevice> missing = drive(a, 44);
    EXPECT_EQ(a.data->setBootPhysicalDrive(missing.get()), 0x0C);
    EXPECT_EQ(a.data->clearBootPhysicalDrive(missing.get()), 0x0C);
    EXPECT_EQ(a.data->setBootPhysicalDrive(nullptr), -1);
    EXPECT_EQ(a.data->setBootVirtualDrive(nullptr), -1);
    EXPECT_EQ(a.data->commitBiosData(), 0);
    EXPECT_EQ(a.sent(PD_GET_INFO), 2u);
    EXPECT_EQ(a.sent(ADP_BIOS_SET_DATA), 0u);

    std::unique_ptr<PhysicalDevice> present = drive(a, 9);
    ASSERT_EQ(a.data->clearBootPhysicalDrive(present.get()), 0);
    ASSERT_EQ(a.data->commitBiosData(), 0);
    EXPECT_EQ(a.saved().bios.bootDevice, 0xFFFF);
}

// ---------------------------------------------------------------------------------------------
// The Adapter element turns the boot id into an element of its manager's snapshot.

namespace {

// One RAID 1 virtual drive (target id 3) on drives 8 and 9, drive 0 and the JBOD drive 12 free.
const std::string CONFIGURED =
    "\"drives\": [{\"deviceId\": 0}, {\"deviceId\": 8, \"state\": \"0x18\"}, {\"deviceId\": 9, \"state\": \"0x18\"},"
    " {\"deviceId\": 12, \"state\": \"0x40\"}],"
    " \"lds\": [{\"targetId\": 3, \"raidLevel\": 1, \"drivesPerSpan\": 2, \"sizeBlocks\": 1952448512, \"drives\": [8, 9],"
    " \"spans\": [{\"array\": 0}]}], \"arrays\": [{\"ref\": 0, \"drives\": [8, 9]}]";

struct ModelHost {
    explicit ModelHost(const std::string& bios) : host("one", describedadapter::described(CONFIGURED + ", " + bios))
    {
        RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
        if (manager != nullptr && manager->refresh() == 0)
            ignoreStatus(manager->getAdapter(&adapter),
                         "a failure leaves the adapter null, which the tests check");
    }
    ~ModelHost() { releaseRaidManagers(); }

    simhost::SimHostFixture host;
    simhost::SimControllers controllers;
    Controller* controller = controllers.controller(0);
    Adapter* adapter = nullptr;
};

}  // namespace

TEST(AdapterBootDevice, TheElementIsFoundInTheModel)
{
    struct Case {
        const char* name;
        const char* bios;
        int vdTarget;     // -1: no virtual drive
        int pdDevice;     // -1: no drive
    } cases[] = {
        {"a boot virtual drive", "\"bios\": {\"bootDevice\": 3}", 3, -1},
        {"a boot virtual drive and a drive of device id 0", "\"bios\": {\"bootDevice\": 0}", -1, -1},
        {"a boot drive", "\"bios\": {\"bootDevice\": 12, \"bootIsPhysical\": 1}", -1, 12},
        {"an id that matches no virtual drive", "\"bios\": {\"bootDevice\": 7}", -1, -1},
        {"cleared: 0xFFFF", "\"bios\": {\"bootDevice\": \"0xffff\"}", -1, -1},
        {"255 reads as none", "\"bios\": {\"bootDevice\": 255, \"bootIsPhysical\": 1}", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelHost m(c.bios);
        ASSERT_NE(m.adapter, nullptr);
        VirtualDisk* vd = nullptr;
        PhysicalDevice* pd = nullptr;
        EXPECT_EQ(m.adapter->getBootVirtualDrive(&vd), 0);
        EXPECT_EQ(m.adapter->getBootPhysicalDrive(&pd), 0);
        if (c.vdTarget < 0) {
            EXPECT_EQ(vd, nullptr);
        } else {
            ASSERT_NE(vd, nullptr);
            EXPECT_EQ(dynamic_cast<VdId*>(vd->getId())->getTargetId(), c.vdTarget);
        }
        if (c.pdDevice < 0) {
            EXPECT_EQ(pd, nullptr);
        } else {
            ASSERT_NE(pd, nullptr);
            uint16_t deviceId = 0;
            ASSERT_EQ(pd->getDeviceId(&deviceId), 0);
            EXPECT_EQ(deviceId, c.pdDevice);
        }
    }
}

TEST(AdapterBootDevice, AFailedReadPassesThrough)
{
    ModelHost m("\"bios\": {\"bootDevice\": 3}");
    ASSERT_NE(m.adapter, nullptr);
    m.host.change(failing(ADP_BIOS_GET_DATA, 0x2d));
    VirtualDisk* vd = nullptr;
    EXPECT_EQ(m.adapter->getBootVirtualDrive(&vd), 0x2d);
    EXPECT_EQ(vd, nullptr);
}
