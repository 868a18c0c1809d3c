// The BIOS settings and the boot device of the adapter data over described controllers: the
// flags, the boot device set and cleared as a virtual or a physical drive, written with its
// checksum (the simulated controller refuses BIOS data that does not add up to 0), and read back
// as an id.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DescribedAdapter.h"
#include "RaidManager/PhysicalDevice.h"
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
