// The simulated OS boundary: path mapping, device nodes and driver descriptors, uname, the
// simulated clock, the library path and the host layout as discovery reads it.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "SimTestUtil.h"
#include "Simulator/SimHost.h"

using namespace simtest;

namespace {

struct Boundary : ::testing::Test {
    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
};

TEST_F(Boundary, MapsOnlyProcSysAndDev)
{
    sim::SimHost host(dir, false);
    sim::SimOsBoundary& b = host.boundary();
    char buf[PATH_MAX];
    EXPECT_EQ(std::string(b.mapPath("/proc/devices", buf, sizeof buf)), dir + "/proc/devices");
    EXPECT_EQ(std::string(b.mapPath("/sys", buf, sizeof buf)), dir + "/sys");
    EXPECT_EQ(std::string(b.mapPath("/dev/sda", buf, sizeof buf)), dir + "/dev/sda");
    EXPECT_EQ(std::string(b.mapPath("/process/x", buf, sizeof buf)), "/process/x");
    EXPECT_EQ(std::string(b.mapPath("/mnt/sys/class", buf, sizeof buf)), "/mnt/sys/class");
    EXPECT_EQ(std::string(b.mapPath("proc/devices", buf, sizeof buf)), "proc/devices");
    // Too long for the caller's buffer: an empty path, never a truncated one.
    char small[8];
    EXPECT_EQ(std::string(b.mapPath("/proc/devices", small, sizeof small)), "");

    FILE* f = b.fopen("/proc/devices", "r");
    ASSERT_NE(f, nullptr);
    fclose(f);
}

TEST_F(Boundary, NodesMadeByMknodAreDevicesAndOpenTheDriver)
{
    sim::SimHost host(dir, false);
    sim::SimOsBoundary& b = host.boundary();
    const char* node = "/dev/quillraid_sas_ioctl_node";
    EXPECT_NE(b.access(node, R_OK), 0);
    ASSERT_EQ(b.mknod(node, S_IFCHR | 0400, makedev(250, 0)), 0);
    errno = 0;
    EXPECT_EQ(b.mknod(node, S_IFCHR | 0400, makedev(250, 0)), -1);
    EXPECT_EQ(errno, EEXIST);

    struct stat st;
    ASSERT_EQ(b.stat(node, &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0400u);
    EXPECT_EQ(major(st.st_rdev), 250u);
    ASSERT_EQ(b.lstat(node, &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));

    int fd = b.open(node, O_RDONLY);
    ASSERT_GT(fd, 0);
    EXPECT_NE(fcntl(fd, F_GETFD), -1);          // a number the process really holds
    int other = ::open("/dev/null", O_RDONLY);
    EXPECT_NE(other, fd);
    ::close(other);
    DcmdPacket p(2, 0x01010000, 2048);
    EXPECT_EQ(b.ioctl(fd, REQ_SAS, p.pkt), 0);
    EXPECT_EQ(p.status(), 0);
    char c;
    EXPECT_EQ(b.read(fd, &c, 1), -1);
    EXPECT_EQ(b.close(fd), 0);

    // A node whose major number no loaded driver owns opens nothing.
    ASSERT_EQ(b.unlink(node), 0);
    ASSERT_EQ(b.mknod(node, S_IFCHR | 0400, makedev(251, 0)), 0);
    errno = 0;
    EXPECT_EQ(b.open(node, O_RDONLY), -1);
    EXPECT_EQ(errno, ENXIO);
}

TEST_F(Boundary, DriverDescriptorIsNeverAStandardStreamNumber)
{
    sim::SimHost host(dir, false);
    sim::SimOsBoundary& b = host.boundary();
    ASSERT_EQ(b.mknod("/dev/quillraid_sas_ioctl_node", S_IFCHR | 0400, makedev(250, 0)), 0);
    int savedIn = dup(0);
    ASSERT_GE(savedIn, 0);
    ::close(0);
    int fd = b.open("/dev/quillraid_sas_ioctl_node", O_RDONLY);
    int freeNumber = ::open("/dev/null", O_RDONLY);   // 0 is still free for the process
    dup2(savedIn, 0);
    ::close(savedIn);
    EXPECT_GT(fd, 2);
    EXPECT_EQ(freeNumber, 0);
    b.close(fd);
}

TEST_F(Boundary, UnameAnswersTheKernelReleaseOfTheState)
{
    TempDir oldTmp;
    std::string oldDir = makeHost(oldTmp, "old-kernel");
    struct utsname u;
    sim::SimHost one(dir, false), old(oldDir, false);
    ASSERT_EQ(one.boundary().uname(&u), 0);
    EXPECT_STREQ(u.release, "3.10.0");
    ASSERT_EQ(old.boundary().uname(&u), 0);
    EXPECT_STREQ(u.release, "2.4.21-4");
    EXPECT_STREQ(u.sysname, "Linux");
}

TEST_F(Boundary, SleepsAdvanceTheClockWithoutWaiting)
{
    {
        sim::SimHost host(dir, false);
        sim::SimOsBoundary& b = host.boundary();
        time_t start = time(nullptr);
        EXPECT_EQ(b.sleep(30), 0u);
        EXPECT_EQ(b.system("sleep 5"), 0);
        EXPECT_EQ(b.system("  sleep 1 "), 0);
        EXPECT_EQ(b.system("clear"), 0);
        EXPECT_LT(time(nullptr) - start, 5);
    }
    sim::SimState st(dir);
    ASSERT_EQ(st.load(), 0);
    EXPECT_EQ(st.clock(), 36u);
    // The program's own sleep is a sleep of the transcript, the shell's a shell command.
    EXPECT_EQ(simhost::transcriptLines(dir),
              (std::vector<std::string>{"sleep 30", "shell sleep 5", "shell   sleep 1 ", "shell clear"}));
}

TEST_F(Boundary, LibraryPathPointsIntoTheHost)
{
    sim::SimHost host(dir, false);
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(std::string(host.boundary().libraryPathPattern(attempt)), dir + "/lib/lib%s.so");
    EXPECT_EQ(host.boundary().libraryPathPattern(3), nullptr);
    sim::SimHost odd("/tmp/100%/h", false);
    EXPECT_EQ(std::string(odd.boundary().libraryPathPattern(0)), "/tmp/100%%/h/lib/lib%s.so");
}

// The layout as discovery reads it, through the boundary, with the program's paths.
TEST_F(Boundary, SysfsLayoutLeadsFromTheHostClassToThePciFunction)
{
    sim::SimHost host(dir, false);
    sim::SimOsBoundary& b = host.boundary();
    std::string devices = readText(dir + "/proc/devices");
    EXPECT_NE(devices.find("\n250 quillraid_sas_ioctl\n"), std::string::npos) << devices;

    std::string cls = "/sys/class/scsi_host/host2";
    FILE* f = b.fopen((cls + "/proc_name").c_str(), "r");
    ASSERT_NE(f, nullptr);
    char name[33] = {0};
    ASSERT_GT(fread(name, 1, 32, f), 0u);
    fclose(f);
    EXPECT_STREQ(name, "quillraid_sas\n");

    // The preset shows the class entry as current kernels do: a link into the device tree,
    // whose device link leads back up to the host.
    const std::string hostDir = "/sys/devices/pci0000:00/0000:00:03.0/0000:03:00.0/host2";
    struct stat st;
    char text[256] = {0};
    ASSERT_EQ(b.lstat(cls.c_str(), &st), 0);
    ASSERT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_GT(b.readlink(cls.c_str(), text, sizeof text - 1), 0);
    EXPECT_EQ(std::string(text), "../.." + hostDir.substr(4) + "/scsi_host/host2");
    ASSERT_EQ(b.lstat((cls + "/device").c_str(), &st), 0);
    ASSERT_TRUE(S_ISLNK(st.st_mode));
    memset(text, 0, sizeof text);
    ASSERT_GT(b.readlink((cls + "/device").c_str(), text, sizeof text - 1), 0);
    EXPECT_EQ(std::string(text), "../../../host2");
    char real[PATH_MAX];
    ASSERT_NE(realpath((dir + cls + "/device").c_str(), real), nullptr);
    EXPECT_EQ(std::string(real), dir + hostDir);

    // The logical drive's SCSI device and its block link.
    std::string scsiDev = "/sys/bus/scsi/devices/2:2:0:0";
    ASSERT_NE(realpath((dir + scsiDev + "/block").c_str(), real), nullptr);
    EXPECT_EQ(std::string(real), dir + "/sys/block/sda");
    ASSERT_EQ(b.stat("/dev/sda", &st), 0);
    EXPECT_TRUE(S_ISBLK(st.st_mode));
    EXPECT_EQ(major(st.st_rdev), 8u);

    // The unrelated SATA host is there too, under its own name.
    EXPECT_EQ(readText(dir + "/sys/class/scsi_host/host0/proc_name"), "ahci\n");
}

// Without "sysfsLinkedClass" the class entry is a directory of its own, as older sysfs shows
// it, and its device link leads down into the PCI tree; the host's directory is the same.
TEST(SimLayout, PlainClassEntryLeadsIntoThePciTree)
{
    TempDir tmp;
    const std::string dir = makeHost(tmp, "one", [](sim::HostModel& s) { s.sysfsLinkedClass = false; });
    ASSERT_FALSE(dir.empty());
    const std::string cls = dir + "/sys/class/scsi_host/host2";
    struct stat st;
    ASSERT_EQ(lstat(cls.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(readText(cls + "/proc_name"), "quillraid_sas\n");
    char text[256] = {0};
    ASSERT_GT(readlink((cls + "/device").c_str(), text, sizeof text - 1), 0);
    EXPECT_EQ(std::string(text), "../../../devices/pci0000:00/0000:00:03.0/0000:03:00.0/host2");
    char real[PATH_MAX];
    ASSERT_NE(realpath((cls + "/device").c_str(), real), nullptr);
    EXPECT_EQ(std::string(real), dir + "/sys/devices/pci0000:00/0000:00:03.0/0000:03:00.0/host2");

    // A host entry's own setting wins over the state's.
    TempDir mixedTmp;
    const std::string mixed =
        makeHost(mixedTmp, "one", [](sim::HostModel& s) { s.controllers.at(0).sysfsLinkedClass = false; });
    ASSERT_FALSE(mixed.empty());
    ASSERT_EQ(lstat((mixed + "/sys/class/scsi_host/host2").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    ASSERT_EQ(lstat((mixed + "/sys/class/scsi_host/host0").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readText(mixed + "/sys/class/scsi_host/host0/proc_name"), "ahci\n");
}

TEST_F(Boundary, OldKernelHostsAreListedInTheHbaMap)
{
    TempDir oldTmp;
    std::string oldDir = makeHost(oldTmp, "old-kernel");
    EXPECT_EQ(readText(oldDir + "/proc/scsi/quillraid_sas/hba_map/2/bus_devfn"), "196608\n");
    struct stat st;
    EXPECT_NE(stat((oldDir + "/sys/class/scsi_host/host2").c_str(), &st), 0);
}

// Without the variable nothing happens; a host that cannot be read is refused with an exit
// code (its message is the description's, tested with the tool) and installs nothing.
TEST(SimHostInstall, DoesNothingWithoutTheVariableAndRefusesABrokenHost)
{
    unsetenv("QUILLCLI_SIM_HOST");
    OsBoundary* before = &osBoundary();
    EXPECT_EQ(installSimulatedHost(), 0);
    EXPECT_EQ(&osBoundary(), before);

    TempDir tmp;
    std::string dir = makeHost(tmp, "one");
    testsupport::StreamCapture captured(STDERR_FILENO);
    setenv("QUILLCLI_SIM_HOST", (dir + "-typo").c_str(), 1);
    EXPECT_EQ(installSimulatedHost(), 1);
    EXPECT_EQ(&osBoundary(), before);
    EXPECT_EQ(captured.take(), "quillsim: host folder " + dir + "-typo: No such file or directory\n");

    setenv("QUILLCLI_SIM_HOST", dir.c_str(), 1);
    EXPECT_EQ(installSimulatedHost(), 0);
    EXPECT_NE(&osBoundary(), before);
    struct utsname u;
    EXPECT_EQ(osBoundary().uname(&u), 0);
    EXPECT_STREQ(u.release, "3.10.0");
    setOsBoundary(nullptr);
    unsetenv("QUILLCLI_SIM_HOST");
}

} // namespace
