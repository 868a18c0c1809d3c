// The operations of the exposer: adding new logical drives and removing one or all of them, on
// kernels with sysfs and on older ones with /proc/scsi/scsi.
#include "ExposureFixture.h"
#include "TestSupport.h"

using namespace exposure;

namespace {

const uint32_t LD_LIST = 0x03010000;
const uint32_t LD_INFO = 0x03020000;
const uint32_t CTRL_INFO = 0x01010000;

// --- the logical-drive list --------------------------------------------------------------------

TEST_F(ExposureTest, WithoutLogicalDrivesRemovingAllSucceedsAndTheRestFails)
{
    for (const char* release : {"3.10.0", "2.4.21-4"}) {
        host.release = release;
        EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ALL), 0) << release;
        EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1) << release;
        EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), -1) << release;
    }
    EXPECT_EQ(firmware.calls.size(), firmware.callsOf(LD_LIST)) << "only the list is read";
    EXPECT_TRUE(host.procScsiLines.empty());
    EXPECT_EQ(host.readFile("sys/class/scsi_host/host7/scan"), "");
}

TEST_F(ExposureTest, FirmwareStatusOfTheListReadIsTheResult)
{
    addLd(0);
    firmware.failWith[LD_LIST] = 0x0C;
    for (int op : {EXPOSE_ADD_NEW, EXPOSE_REMOVE_ONE, EXPOSE_REMOVE_ALL})
        EXPECT_EQ(exposer->expose(&controller, 0, op), 0x0C) << op;
    firmware.failWith[LD_LIST] = 0xFFFF;   // the transport could not send it
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), 0xFFFF);
}

TEST_F(ExposureTest, ALogicalDriveCountBeyondTheListsCapacityIsABadRecord)
{
    host.release = "2.4.21-4";
    host.addHbaMap("quillraid_sas", {"7"});
    addLd(0);
    firmware.overrideCount = true;

    firmware.count = 65;
    for (int op : {EXPOSE_ADD_NEW, EXPOSE_REMOVE_ONE, EXPOSE_REMOVE_ALL})
        EXPECT_EQ(exposer->expose(&controller, 0, op), -1) << op;
    firmware.count = 0xFFFFFFFFu;
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
    EXPECT_TRUE(host.procScsiLines.empty());
    EXPECT_EQ(firmware.calls.size(), firmware.callsOf(LD_LIST));

    // The full list is still accepted.
    firmware.count = 64;
    ASSERT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(host.procScsiLines.size(), 64u);
}

TEST_F(ExposureTest, AnUnreadableKernelReleaseFailsAndAnUnknownOperationDoesNothing)
{
    addLd(0);
    host.release = "linux";
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
    host.release = "3.10.0";
    EXPECT_EQ(exposer->expose(&controller, 0, 2), 0);
    EXPECT_EQ(exposer->expose(&controller, 0, 7), 0);
    EXPECT_EQ(firmware.calls.size(), firmware.callsOf(LD_LIST));
    EXPECT_EQ(exposer->expose(nullptr, 0, EXPOSE_ADD_NEW), -1);
}

// --- adding, kernels with sysfs ------------------------------------------------------------------

TEST_F(ExposureTest, NewKernelAddRescansTheAdaptersHost)
{
    addLd(0);
    host.addSysfsHost(7, "quillraid_sas\n");
    host.addSysfsHost(1, "ahci\n");
    ASSERT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(host.readFile("sys/class/scsi_host/host7/scan"), "- - -");
    EXPECT_EQ(host.readFile("sys/class/scsi_host/host1/scan"), "");
    EXPECT_TRUE(host.procScsiLines.empty());
}

TEST_F(ExposureTest, NewKernelAdapterNumberCountsTheDriversHostsInDirectoryOrder)
{
    host.addSysfsHost(3, "quillraid_sas\n");
    host.addSysfsHost(4, "ahci\n");
    host.addSysfsHost(6, "quillraid_sas");
    host.addSysfsHost(8, "quillsr\n");   // the software-RAID name matches only without a line end
    int first = exposer->sysfs_get_host(0);
    int second = exposer->sysfs_get_host(1);
    EXPECT_TRUE((first == 3 && second == 6) || (first == 6 && second == 3)) << first << " " << second;
    EXPECT_EQ(exposer->sysfs_get_host(2), -1);

    addLd(0);
    id.setNumber(1);
    ASSERT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(host.readFile("sys/class/scsi_host/host" + std::to_string(second) + "/scan"), "- - -");
    EXPECT_EQ(host.readFile("sys/class/scsi_host/host" + std::to_string(first) + "/scan"), "");
    id.setNumber(2);
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
}

TEST_F(ExposureTest, NewKernelAddFailsWithoutAScanFile)
{
    addLd(0);
    host.addSysfsHost(7, "quillraid_sas\n");
    fs::remove(host.root + "/sys/class/scsi_host/host7/scan");
    fs::create_directory(host.root + "/sys/class/scsi_host/host7/scan");
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
}

// --- adding, older kernels -------------------------------------------------------------------

TEST_F(ExposureTest, OldKernelAddWritesOneLinePerLogicalDriveEachThroughItsOwnOpen)
{
    host.release = "2.4.21-4.ELsmp";
    host.addHbaMap("quillraid_sas", {"7"});
    addLd(4);
    addLd(9);
    addLd(12);
    ASSERT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(host.procScsiLines, (std::vector<std::string>{"scsi add-single-device 7 2 0 0\n",
                                                            "scsi add-single-device 7 2 1 0\n",
                                                            "scsi add-single-device 7 2 2 0\n"}));
    EXPECT_EQ(host.procScsiOpens, 3u);
    EXPECT_EQ(host.openDescriptors(), 0u);
}

TEST_F(ExposureTest, OldKernelHostIsListingEntryNPlusTwoInAlphabeticalOrder)
{
    host.addHbaMap("quillraid_sas", {"10", "2", "9"});
    EXPECT_EQ(exposer->proc_get_host(0), 10);
    EXPECT_EQ(exposer->proc_get_host(1), 2);
    EXPECT_EQ(exposer->proc_get_host(2), 9);
    EXPECT_EQ(exposer->proc_get_host(3), -1);

    host.release = "2.4.21";
    addLd(0);
    id.setNumber(1);
    ASSERT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(host.procScsiLines, (std::vector<std::string>{"scsi add-single-device 2 2 0 0\n"}));
}

TEST_F(ExposureTest, OldKernelSoftwareRaidMapIsUsedWhenTheHardwareOneIsMissing)
{
    host.addHbaMap("quillsr", {"4"});
    EXPECT_EQ(exposer->proc_get_host(0), 4);
    EXPECT_EQ(exposer->proc_get_host(1), -1);
    EXPECT_EQ(proc_add_new_ld(0, 1), 0);
    EXPECT_EQ(host.procScsiLines, (std::vector<std::string>{"scsi add-single-device 4 2 0 0\n"}));
}

TEST_F(ExposureTest, OldKernelAddReportsWhatFails)
{
    host.release = "2.4.21";
    addLd(0);
    addLd(1);
    testsupport::StreamCapture withoutMap;
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
    EXPECT_EQ(withoutMap.take(), "proc_add_new_ld: scandir failed\n");

    host.addHbaMap("quillraid_sas", {"7"});
    host.procScsiMissing = true;
    testsupport::StreamCapture withoutProcScsi;
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
    EXPECT_EQ(withoutProcScsi.take(),
              "proc_add_new_ld: Failed to open handle to /proc/scsi/scsi\n"
              "proc_add_new_ld: Failed to open handle to /proc/scsi/scsi\n");

    // An adapter without a host in the map writes nothing.
    host.procScsiMissing = false;
    id.setNumber(1);
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_ADD_NEW), -1);
    EXPECT_TRUE(host.procScsiLines.empty());
}

// --- removing, kernels with sysfs ----------------------------------------------------------------

TEST_F(ExposureTest, NewKernelRemoveOneOfAnOfflineDriveReturnsAtOnce)
{
    addLd(0, 0);
    host.addDisk("b", diskOf(7, 0));
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(host.inquiries, 0u);
    EXPECT_EQ(firmware.callsOf(CTRL_INFO), 0u);

    // A drive the firmware does not know reads as offline too.
    EXPECT_EQ(exposer->expose(&controller, 5, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(host.inquiries, 0u);
}

TEST_F(ExposureTest, NewKernelRemoveOneFindsTheDriveAndStopsThePass)
{
    addLd(0);
    addLd(1);
    host.addDisk("b", diskOf(7, 0));
    host.addDisk("c", diskOf(7, 1));
    ASSERT_EQ(exposer->expose(&controller, 1, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(host.sleeps, 0u);
    EXPECT_LE(host.inquiries, 2u);
    for (const SgRequest& r : host.sgRequests)
        EXPECT_EQ(r.cdb, (Bytes{0x12, 0x01, 0x83, 0x00, 0x60, 0x00}));
    EXPECT_TRUE(host.procScsiLines.empty()) << "the search only finds";
    EXPECT_EQ(host.openDescriptors(), 0u);

    // The mode that copies the node path hands the device found to the caller.
    char path[256] = {0};
    Bytes page = naaPage(2);
    page.resize(64, 0);
    ASSERT_EQ(exposer->sysfs_find_ld_device(0, 1, path, page.data(), EXPOSE_FIND_COPY_PATH), 0);
    EXPECT_STREQ(path, "/dev/sdc");
}

TEST_F(ExposureTest, NewKernelSearchRetriesTenTimesThroughTheBoundarysSleep)
{
    addLd(0);
    FakeDisk d = diskOf(7, 0);
    d.rejectInquiry = true;
    host.addDisk("b", d);
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(host.inquiries, 10u);
    EXPECT_EQ(host.sleeps, 10u) << "a sleep follows every failed pass, the tenth too";
}

TEST_F(ExposureTest, NewKernelSearchResultIsTheStatusOfTheLastInquiry)
{
    // The only device answers, but with another drive's page: the pass ends with status 0.
    addLd(0);
    host.addDisk("b", diskOf(7, 5));
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(host.sleeps, 0u);

    // No device at all: nothing was sent, the bus lookup's 0 stands.
    fs::remove(host.root + "/sys/bus/scsi/devices/7:2:5:0");
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), 0);

    // Without the bus directory the search fails at once.
    fs::remove_all(host.root + "/sys/bus/scsi");
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(host.sleeps, 0u);
}

TEST_F(ExposureTest, NewKernelSearchSkipsABlockEntryThatIsADirectory)
{
    addLd(0);
    FakeDisk d = diskOf(7, 0);
    d.rejectInquiry = true;     // would make every pass fail if it were asked
    host.addDisk("b", d, true, true);
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(host.inquiries, 0u);
}

TEST_F(ExposureTest, NewKernelRemoveOneChecksTheTargetAgainstTheControllersRange)
{
    addLd(8);
    host.addDisk("b", diskOf(7, 8));
    firmware.maxLds = 8;
    EXPECT_EQ(exposer->expose(&controller, 8, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(host.inquiries, 0u);
    firmware.maxLds = 9;
    EXPECT_EQ(exposer->expose(&controller, 8, EXPOSE_REMOVE_ONE), 0);

    firmware.failWith[CTRL_INFO] = 0x03;
    EXPECT_EQ(exposer->expose(&controller, 8, EXPOSE_REMOVE_ONE), 0x03);
}

TEST_F(ExposureTest, NewKernelRemoveAllSkipsSsdCachesAndOfflineDrives)
{
    addLd(0);
    addLd(1, 3, true);   // SSD cache
    addLd(2, 0);         // offline
    addLd(3);
    host.addDisk("b", diskOf(7, 0));
    host.addDisk("c", diskOf(7, 3));
    ASSERT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ALL), 0);
    EXPECT_EQ(firmware.callsOf(CTRL_INFO), 2u) << "pages are read for drives 0 and 3 only";
    EXPECT_EQ(firmware.callsOf(LD_INFO), 4u + 2u);

    // A page that cannot be read becomes the result unless a later drive is handled.
    firmware.maxLds = 1;   // target 3 is now out of range
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ALL), -1);
}

// --- removing, older kernels -------------------------------------------------------------------

class OldKernel : public ExposureTest {
protected:
    void SetUp() override
    {
        ExposureTest::SetUp();
        host.release = "2.4.21-4.ELsmp";
    }
    FakeDisk sdOf(uint8_t target, unsigned channel, unsigned scsiId)
    {
        FakeDisk d = diskOf(7, target);
        d.channel = channel;
        d.target = scsiId;
        return d;
    }
};

TEST_F(OldKernel, RemoveOneWritesTheMatchedDevicesRemoveLine)
{
    addLd(0);
    addLd(1);
    host.addDisk("a", sdOf(0, 2, 0), false);
    host.addDisk("d", sdOf(1, 2, 1), false);
    ASSERT_EQ(exposer->expose(&controller, 1, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(host.procScsiLines, (std::vector<std::string>{"scsi remove-single-device 7 2 1 0\n"}));
    EXPECT_EQ(host.sleeps, 0u);
    EXPECT_EQ(host.openDescriptors(), 0u);
}

TEST_F(OldKernel, RemoveOneOfAnUnmatchedDriveRetriesAndWritesNothing)
{
    addLd(0);
    addLd(1);
    host.addDisk("a", sdOf(0, 2, 0), false);
    EXPECT_EQ(exposer->expose(&controller, 1, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(host.sleeps, 9u) << "ten matching attempts, a sleep between each";
    EXPECT_TRUE(host.procScsiLines.empty());
}

TEST_F(OldKernel, RemoveAllRemovesTheMatchedDrivesInListOrder)
{
    addLd(3);
    addLd(0);
    addLd(5);
    host.addDisk("a", sdOf(0, 2, 0), false);
    host.addDisk("b", sdOf(3, 2, 3), false);
    // Drive 5 has no disk: it is reported after the others were removed.
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ALL), -1);
    EXPECT_EQ(host.procScsiLines, (std::vector<std::string>{"scsi remove-single-device 7 2 3 0\n",
                                                            "scsi remove-single-device 7 2 0 0\n"}));
    host.procScsiLines.clear();
    host.addDisk("c", sdOf(5, 2, 5), false);
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ALL), 0);
    EXPECT_EQ(host.procScsiLines.size(), 3u);
}

TEST_F(OldKernel, MatchingNeedsAnNaaPageEqualToTheFirmwares)
{
    addLd(0);
    addLd(1);
    LdVpd83Table table;
    ASSERT_EQ(exposer->get_ld_vpd83_table(&controller, 0, &table), 0);
    ASSERT_EQ(table.count, 2u);
    EXPECT_EQ(table.entries[1].targetId, 1u);

    FakeDisk other = sdOf(1, 2, 1);
    other.page[5] = 0x01;   // the right bytes but not an NAA designator
    host.addDisk("a", sdOf(0, 1, 4), false);
    host.addDisk("b", other, false);
    LdDeviceMap map;
    EXPECT_EQ(exposer->match_sd_devices(&table, &map), EXPOSE_NOT_ALL_MATCHED);
    ASSERT_EQ(map.count, 1u);
    EXPECT_EQ(map.entries[0].targetId, 0);
    EXPECT_EQ(map.entries[0].sdIndex, 0);
    EXPECT_EQ(map.entries[0].channel, 1);
    EXPECT_EQ(map.entries[0].scsiId, 4);
    EXPECT_STREQ(map.entries[0].nodePath, "/dev/sda");

    host.disks["/dev/sdb"] = sdOf(1, 2, 1);
    EXPECT_EQ(exposer->match_sd_devices(&table, &map), 0);
    EXPECT_EQ(map.count, 2u);
}

TEST_F(OldKernel, FirmwareStatusesOfThePageReadsPassThrough)
{
    addLd(0);
    host.addDisk("a", sdOf(0, 2, 0), false);
    firmware.failWith[LD_INFO] = 0x0C;
    // The state byte cannot be read: the drive counts as offline.
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ONE), 0);
    // Removing all reads the pages for the map: the status is the result.
    EXPECT_EQ(exposer->expose(&controller, 0, EXPOSE_REMOVE_ALL), 0x0C);
    EXPECT_TRUE(host.procScsiLines.empty());
}

} // namespace
