// The operations of the exposer: adding new logical drives and removing one or all of them, on
// kernels with sysfs and on older ones with /proc/scsi/scsi, over simulated hosts.
#include "ExposureFixture.h"
#include "TestSupport.h"

using namespace exposure;

namespace {

// One controller on SCSI host 7 with these logical drives.
std::string adapter7(const std::string& lds, const std::string& release = NEW_KERNEL, const std::string& more = "")
{
    return hostOf(release, controllerOf(7, lds, more));
}

// --- the logical-drive list --------------------------------------------------------------------

TEST_F(ExposureTest, WithoutLogicalDrivesRemovingAllSucceedsAndTheRestFails)
{
    describe(adapter7(""));
    for (const char* release : {"3.10.0", "2.4.21-4"}) {
        setRelease(release);
        EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ALL), 0) << release;
        EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1) << release;
        EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), -1) << release;
    }
    EXPECT_EQ(commands(), calls(LD_LIST)) << "only the list is read";
    EXPECT_TRUE(procScsiLines().empty());
    EXPECT_EQ(file("sys/class/scsi_host/host7/scan"), "");
}

TEST_F(ExposureTest, FirmwareStatusOfTheListReadIsTheResult)
{
    describe(adapter7(ldOf(0)));
    failWith(LD_LIST, 0x0C);
    for (int op : {EXPOSE_ADD_NEW, EXPOSE_REMOVE_ONE, EXPOSE_REMOVE_ALL})
        EXPECT_EQ(exposer->expose(controller(), 0, op), 0x0C) << op;
    transportFails(LD_LIST);   // the transport could not send it
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), 0xFFFF);
}

TEST_F(ExposureTest, ALogicalDriveCountBeyondTheListsCapacityIsABadRecord)
{
    describe(adapter7(ldOf(0), "2.4.21-4"));

    reportLdCount(65);
    for (int op : {EXPOSE_ADD_NEW, EXPOSE_REMOVE_ONE, EXPOSE_REMOVE_ALL})
        EXPECT_EQ(exposer->expose(controller(), 0, op), -1) << op;
    reportLdCount(0xFFFFFFFFu);
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
    EXPECT_TRUE(procScsiLines().empty());
    EXPECT_EQ(commands(), calls(LD_LIST));

    // The full list is still accepted.
    reportLdCount(64);
    ASSERT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(procScsiLines().size(), 64u);
}

TEST_F(ExposureTest, AnUnreadableKernelReleaseFailsAndAnUnknownOperationDoesNothing)
{
    describe(adapter7(ldOf(0)));
    setRelease("linux");
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
    setRelease("3.10.0");
    EXPECT_EQ(exposer->expose(controller(), 0, 2), 0);
    EXPECT_EQ(exposer->expose(controller(), 0, 7), 0);
    EXPECT_EQ(commands(), calls(LD_LIST));
    EXPECT_EQ(exposer->expose(nullptr, 0, EXPOSE_ADD_NEW), -1);
}

// --- adding, kernels with sysfs ------------------------------------------------------------------

TEST_F(ExposureTest, NewKernelAddRescansTheAdaptersHost)
{
    describe(hostOf(NEW_KERNEL, controllerOf(7, ldOf(0)), "\"otherHosts\": [{\"host\": 1, \"procName\": \"ahci\"}]"));
    ASSERT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(file("sys/class/scsi_host/host7/scan"), "- - -");
    EXPECT_EQ(file("sys/class/scsi_host/host1/scan"), "");
    EXPECT_TRUE(procScsiLines().empty());
}

TEST_F(ExposureTest, NewKernelAdapterNumberCountsTheDriversHostsInDirectoryOrder)
{
    // Hosts 3 and 6 are the controller driver's (6 names it without a line end), 4 is another
    // driver's; the software-RAID name matches only without a line end, so host 8 is not ours.
    describe(hostOf(NEW_KERNEL, controllerOf(3, ldOf(0)) + ", " + controllerOf(6, ldOf(0), "\"procNameFile\": \"quillraid_sas\""),
                    "\"otherHosts\": [{\"host\": 4, \"procName\": \"ahci\"}, {\"host\": 8, \"procName\": \"quillsr\"}]"));
    int first = exposer->sysfs_get_host(0);
    int second = exposer->sysfs_get_host(1);
    EXPECT_TRUE((first == 3 && second == 6) || (first == 6 && second == 3)) << first << " " << second;
    EXPECT_EQ(exposer->sysfs_get_host(2), -1);

    setAdapterNumber(1);
    ASSERT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(file("sys/class/scsi_host/host" + std::to_string(second) + "/scan"), "- - -");
    EXPECT_EQ(file("sys/class/scsi_host/host" + std::to_string(first) + "/scan"), "");
    setAdapterNumber(2);
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
}

TEST_F(ExposureTest, NewKernelAddFailsWithoutAScanFile)
{
    describe(adapter7(ldOf(0), NEW_KERNEL, "\"hostScan\": false"));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
}

// --- adding, older kernels -------------------------------------------------------------------

TEST_F(ExposureTest, OldKernelAddWritesOneLinePerLogicalDriveEachThroughItsOwnOpen)
{
    describe(adapter7(ldOf(4) + ", " + ldOf(9) + ", " + ldOf(12), OLD_KERNEL));
    ASSERT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(procScsiLines(), (std::vector<std::string>{"scsi add-single-device 7 2 0 0\n",
                                                         "scsi add-single-device 7 2 1 0\n",
                                                         "scsi add-single-device 7 2 2 0\n"}));
    EXPECT_EQ(procScsiOpens(), 3u);
    EXPECT_EQ(openDescriptors(), 0u);
}

TEST_F(ExposureTest, OldKernelHostIsListingEntryNPlusTwoInAlphabeticalOrder)
{
    describe(hostOf("2.4.21", controllerOf(10, ldOf(0)) + ", " + controllerOf(2, ldOf(0)) + ", " +
                                  controllerOf(9, ldOf(0))));
    EXPECT_EQ(exposer->proc_get_host(0), 10);
    EXPECT_EQ(exposer->proc_get_host(1), 2);
    EXPECT_EQ(exposer->proc_get_host(2), 9);
    EXPECT_EQ(exposer->proc_get_host(3), -1);

    setAdapterNumber(1);
    ASSERT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), 0);
    EXPECT_EQ(procScsiLines(), (std::vector<std::string>{"scsi add-single-device 2 2 0 0\n"}));
}

TEST_F(ExposureTest, OldKernelSoftwareRaidMapIsUsedWhenTheHardwareOneIsMissing)
{
    describe(hostOf(OLD_KERNEL, controllerOf(4, ldOf(0), "\"driverKind\": 1"),
                    "\"drivers\": [{\"kind\": 1, \"name\": \"quillsr_ioctl\", \"major\": 251}]"));
    EXPECT_EQ(exposer->proc_get_host(0), 4);
    EXPECT_EQ(exposer->proc_get_host(1), -1);
    EXPECT_EQ(proc_add_new_ld(0, 1), 0);
    EXPECT_EQ(procScsiLines(), (std::vector<std::string>{"scsi add-single-device 4 2 0 0\n"}));
}

TEST_F(ExposureTest, OldKernelAddReportsWhatFails)
{
    // A host laid out for a current kernel has no driver map in /proc.
    describe(adapter7(ldOf(0) + ", " + ldOf(1)));
    setRelease("2.4.21");
    testsupport::StreamCapture withoutMap;
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
    EXPECT_EQ(withoutMap.take(), "proc_add_new_ld: scandir failed\n");

    describe(adapter7(ldOf(0) + ", " + ldOf(1), "2.4.21"));
    fs::remove(host().dir() + "/proc/scsi/scsi");
    testsupport::StreamCapture withoutProcScsi;
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
    EXPECT_EQ(withoutProcScsi.take(),
              "proc_add_new_ld: Failed to open handle to /proc/scsi/scsi\n"
              "proc_add_new_ld: Failed to open handle to /proc/scsi/scsi\n");

    // An adapter without a host in the map writes nothing.
    describe(adapter7(ldOf(0) + ", " + ldOf(1), "2.4.21"));
    setAdapterNumber(1);
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_ADD_NEW), -1);
    EXPECT_TRUE(procScsiLines().empty());
}

// --- removing, kernels with sysfs ----------------------------------------------------------------

TEST_F(ExposureTest, NewKernelRemoveOneOfAnOfflineDriveReturnsAtOnce)
{
    describe(adapter7(ldOf(0, "\"state\": 0, " + diskOf("sdb"))));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(inquiries(), 0u);
    EXPECT_EQ(calls(CTRL_INFO), 0u);

    // A drive the firmware does not know reads as offline too.
    EXPECT_EQ(exposer->expose(controller(), 5, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(inquiries(), 0u);
}

TEST_F(ExposureTest, NewKernelRemoveOneFindsTheDriveAndStopsThePass)
{
    describe(adapter7(ldOf(0, diskOf("sdb")) + ", " + ldOf(1, diskOf("sdc"))));
    ASSERT_EQ(exposer->expose(controller(), 1, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(sleeps(), 0u);
    EXPECT_LE(inquiries(), 2u);
    for (const DiskRequest& r : sgRequests())
        EXPECT_EQ(r.cdb, (Bytes{0x12, 0x01, 0x83, 0x00, 0x60, 0x00}));
    EXPECT_TRUE(procScsiLines().empty()) << "the search only finds";
    EXPECT_EQ(openDescriptors(), 0u);

    // The mode that copies the node path hands the device found to the caller.
    char path[256] = {0};
    Bytes page = naaPage(2);
    page.resize(64, 0);
    ASSERT_EQ(exposer->sysfs_find_ld_device(0, 1, path, page.data(), EXPOSE_FIND_COPY_PATH), 0);
    EXPECT_STREQ(path, "/dev/sdc");
}

TEST_F(ExposureTest, NewKernelSearchRetriesTenTimesThroughTheBoundarysSleep)
{
    describe(adapter7(ldOf(0, diskOf("sdb", "\"rejectsInquiry\": true"))));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(inquiries(), 10u);
    EXPECT_EQ(sleeps(), 10u) << "a sleep follows every failed pass, the tenth too";
}

TEST_F(ExposureTest, NewKernelSearchResultIsTheStatusOfTheLastInquiry)
{
    // The only device, at 7:2:5:0, answers, but with another drive's page: the pass ends with
    // status 0.
    describe(adapter7(ldOf(0, diskOf("sdb", "\"target\": 5, \"vpd83\": \"" + hexOf(naaPage(6)) + "\""))));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(sleeps(), 0u);

    // No device at all: nothing was sent, the bus lookup's 0 stands.
    fs::remove(host().dir() + "/sys/bus/scsi/devices/7:2:5:0");
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), 0);

    // Without the bus directory the search fails at once.
    fs::remove_all(host().dir() + "/sys/bus/scsi");
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(sleeps(), 0u);
}

TEST_F(ExposureTest, NewKernelSearchSkipsABlockEntryThatIsADirectory)
{
    // The disk would make every pass fail if it were asked.
    describe(adapter7(ldOf(0, "\"blockAsDirectory\": true, " + diskOf("sdb", "\"rejectsInquiry\": true"))));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(inquiries(), 0u);
}

TEST_F(ExposureTest, NewKernelRemoveOneChecksTheTargetAgainstTheControllersRange)
{
    describe(adapter7(ldOf(8, diskOf("sdb")), NEW_KERNEL, "\"info\": {\"maxVirtualDrives\": 8}"));
    EXPECT_EQ(exposer->expose(controller(), 8, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(inquiries(), 0u);
    setMaxLds(9);
    EXPECT_EQ(exposer->expose(controller(), 8, EXPOSE_REMOVE_ONE), 0);

    failWith(CTRL_INFO, 0x03);
    EXPECT_EQ(exposer->expose(controller(), 8, EXPOSE_REMOVE_ONE), 0x03);
}

TEST_F(ExposureTest, NewKernelRemoveAllSkipsSsdCachesAndOfflineDrives)
{
    describe(adapter7(ldOf(0, diskOf("sdb")) + ", " +
                      ldOf(1, "\"sscCache\": 1, " + std::string(NO_DISK)) + ", " +   // SSD cache
                      ldOf(2, "\"state\": 0, " + std::string(NO_DISK)) + ", " +      // offline
                      ldOf(3, diskOf("sdc"))));
    ASSERT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ALL), 0);
    EXPECT_EQ(calls(CTRL_INFO), 2u) << "pages are read for drives 0 and 3 only";
    EXPECT_EQ(calls(LD_INFO), 4u + 2u);

    // A page that cannot be read becomes the result unless a later drive is handled.
    setMaxLds(1);   // target 3 is now out of range
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ALL), -1);
}

// --- removing, older kernels -------------------------------------------------------------------

class OldKernel : public ExposureTest {
protected:
    // One controller on SCSI host 7 of an old kernel with these logical drives.
    static std::string oldKernel(const std::string& lds) { return adapter7(lds, OLD_KERNEL); }
};

TEST_F(OldKernel, RemoveOneWritesTheMatchedDevicesRemoveLine)
{
    describe(oldKernel(ldOf(0, diskOf("sda")) + ", " + ldOf(1, diskOf("sdd"))));
    ASSERT_EQ(exposer->expose(controller(), 1, EXPOSE_REMOVE_ONE), 0);
    EXPECT_EQ(procScsiLines(), (std::vector<std::string>{"scsi remove-single-device 7 2 1 0\n"}));
    EXPECT_EQ(sleeps(), 0u);
    EXPECT_EQ(openDescriptors(), 0u);
}

TEST_F(OldKernel, RemoveOneOfAnUnmatchedDriveRetriesAndWritesNothing)
{
    describe(oldKernel(ldOf(0, diskOf("sda")) + ", " + ldOf(1, NO_DISK)));
    EXPECT_EQ(exposer->expose(controller(), 1, EXPOSE_REMOVE_ONE), -1);
    EXPECT_EQ(sleeps(), 9u) << "ten matching attempts, a sleep between each";
    EXPECT_TRUE(procScsiLines().empty());
}

TEST_F(OldKernel, RemoveAllRemovesTheMatchedDrivesInListOrder)
{
    // Drive 5 has no disk: it is reported after the others were removed.
    describe(oldKernel(ldOf(3, diskOf("sdb")) + ", " + ldOf(0, diskOf("sda")) + ", " + ldOf(5, NO_DISK)));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ALL), -1);
    EXPECT_EQ(procScsiLines(), (std::vector<std::string>{"scsi remove-single-device 7 2 3 0\n",
                                                         "scsi remove-single-device 7 2 0 0\n"}));

    // Once drive 5 has its disk too, all three are removed.
    describe(oldKernel(ldOf(3, diskOf("sdb")) + ", " + ldOf(0, diskOf("sda")) + ", " + ldOf(5, diskOf("sdc"))));
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ALL), 0);
    EXPECT_EQ(procScsiLines().size(), 3u);
}

TEST_F(OldKernel, MatchingNeedsAnNaaPageEqualToTheFirmwares)
{
    // Drive 0's disk sits at another address; drive 1's answers the right bytes, but not as an
    // NAA designator.
    Bytes other = naaPage(2);
    other[5] = 0x01;
    describe(oldKernel(ldOf(0, diskOf("sda", "\"channel\": 1, \"target\": 4")) + ", " +
                       ldOf(1, diskOf("sdb", "\"vpd83\": \"" + hexOf(other) + "\""))));
    LdVpd83Table table;
    ASSERT_EQ(exposer->get_ld_vpd83_table(controller(), 0, &table), 0);
    ASSERT_EQ(table.count, 2u);
    EXPECT_EQ(table.entries[1].targetId, 1u);

    LdDeviceMap map;
    EXPECT_EQ(exposer->match_sd_devices(&table, &map), EXPOSE_NOT_ALL_MATCHED);
    ASSERT_EQ(map.count, 1u);
    EXPECT_EQ(map.entries[0].targetId, 0);
    EXPECT_EQ(map.entries[0].sdIndex, 0);
    EXPECT_EQ(map.entries[0].channel, 1);
    EXPECT_EQ(map.entries[0].scsiId, 4);
    EXPECT_STREQ(map.entries[0].nodePath, "/dev/sda");

    changeDisk(1, [](sim::LdDisk& disk) { disk.vpd83.clear(); });   // now it answers the drive's page
    EXPECT_EQ(exposer->match_sd_devices(&table, &map), 0);
    EXPECT_EQ(map.count, 2u);
}

TEST_F(OldKernel, FirmwareStatusesOfThePageReadsPassThrough)
{
    describe(oldKernel(ldOf(0, diskOf("sda"))));
    failWith(LD_INFO, 0x0C);
    // The state byte cannot be read: the drive counts as offline.
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ONE), 0);
    // Removing all reads the pages for the map: the status is the result.
    EXPECT_EQ(exposer->expose(controller(), 0, EXPOSE_REMOVE_ALL), 0x0C);
    EXPECT_TRUE(procScsiLines().empty());
}

} // namespace
