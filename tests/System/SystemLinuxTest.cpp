#include "System/OsBoundary.h"
#include "System/SystemLinux.h"

#include "LogsTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <string>
#include <syslog.h>
#include <vector>

namespace {

// A boundary whose library search places lie in a test directory, and whose sleep only counts.
class TestBoundary : public OsBoundary {
public:
    std::string patterns[3];
    std::vector<unsigned int> sleeps;
    unsigned int sleepLeft = 0;

    const char* libraryPathPattern(int attempt) override
    {
        return attempt >= 0 && attempt < 3 ? patterns[attempt].c_str() : nullptr;
    }
    unsigned int sleep(unsigned int seconds) override
    {
        sleeps.push_back(seconds);
        return sleepLeft;
    }
};

class BoundaryInstalled : public ::testing::Test {
protected:
    void SetUp() override { setOsBoundary(&boundary); }
    void TearDown() override { setOsBoundary(nullptr); }
    TestBoundary boundary;
};

// Builds a small shared library whose function quillTestMarker returns marker. False when no
// C compiler is at hand.
// Builds a shared library whose quillTestMarker() returns `marker`, with the C compiler the
// project itself is built with.
bool buildLibrary(const std::string& path, int marker)
{
    std::string source = path + ".c";
    logstest::writeFile(source, "int quillTestMarker(void) { return " + std::to_string(marker) + "; }\n");
    std::string cmd = std::string("'" QUILL_C_COMPILER "' -shared -fPIC -o '") + path + "' '" + source + "' 2>/dev/null";
    return system(cmd.c_str()) == 0;
}

std::string captureLoad(const std::string& name, void** handle)
{
    testsupport::StreamCapture captured;
    *handle = SystemLinux::instance()->loadLibrary(string(name.c_str()));
    fflush(stdout);
    return captured.take();
}

int markerOf(void* handle)
{
    typedef int (*Marker)();
    void* symbol = SystemLinux::instance()->findSymbol(handle, string("quillTestMarker"));
    return symbol != nullptr ? reinterpret_cast<Marker>(symbol)() : -1;
}

class LibraryLoading : public BoundaryInstalled {
protected:
    void SetUp() override
    {
        BoundaryInstalled::SetUp();
        ASSERT_EQ(0, mkdir(dir.file("opt").c_str(), 0755));
        ASSERT_EQ(0, mkdir(dir.file("cwd").c_str(), 0755));
        boundary.patterns[0] = dir.file("opt/lib%s.so");
        boundary.patterns[1] = "lib%s.so";  // the loader's own search path
        boundary.patterns[2] = dir.file("cwd/lib%s.so");
    }
    logstest::TempDir dir;
};

TEST_F(LibraryLoading, InstalledCopyWinsOverTheOneInTheCurrentDirectory)
{
    ASSERT_TRUE(buildLibrary(dir.file("opt/libquilltest-a.so"), 1)) << "the project's C compiler makes the test library";
    ASSERT_TRUE(buildLibrary(dir.file("cwd/libquilltest-a.so"), 3));
    void* handle = nullptr;
    EXPECT_EQ("", captureLoad("quilltest-a", &handle));
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(1, markerOf(handle));
    EXPECT_EQ(0, SystemLinux::instance()->closeLibrary(handle));
}

TEST_F(LibraryLoading, CopyInTheCurrentDirectoryIsFoundLastAndSilently)
{
    ASSERT_TRUE(buildLibrary(dir.file("cwd/libquilltest-b.so"), 3)) << "the project's C compiler makes the test library";
    void* handle = nullptr;
    EXPECT_EQ("", captureLoad("quilltest-b", &handle));
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(3, markerOf(handle));
    EXPECT_EQ(nullptr, SystemLinux::instance()->findSymbol(handle, string("noSuchEntryPoint")));
    EXPECT_EQ(0, SystemLinux::instance()->closeLibrary(handle));
}

TEST_F(LibraryLoading, MissingLibraryPrintsTheLoadersMessageOnce)
{
    void* handle = reinterpret_cast<void*>(1);
    std::string printed = captureLoad("quilltest-missing", &handle);
    EXPECT_EQ(nullptr, handle);
    // One line, describing the last place tried.
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed.size() - 1, printed.find('\n'));
    EXPECT_NE(std::string::npos, printed.find("cwd/libquilltest-missing.so")) << printed;
}

// A path that does not fit its buffer is never tried cut short: the cut path could name another
// library. Here the cut path would be exactly the name of a library that exists.
TEST_F(LibraryLoading, NameTooLongForThePathIsRefused)
{
    std::string base = dir.file("opt/");
    size_t room = SYSTEM_LIBRARY_PATH_SIZE - 1 - base.size() - 3;  // "lib" before the name
    std::string name(room, 'n');
    // The cut path: ".so" dropped.
    ASSERT_TRUE(buildLibrary(base + "lib" + name, 5)) << "the project's C compiler makes the test library";
    boundary.patterns[1] = dir.file("none/lib%s.so");
    boundary.patterns[2] = dir.file("none/lib%s.so");
    void* handle = reinterpret_cast<void*>(1);
    std::string printed = captureLoad(name, &handle);
    EXPECT_EQ(nullptr, handle);
    EXPECT_EQ(1, std::count(printed.begin(), printed.end(), '\n')) << printed;
}

TEST_F(LibraryLoading, PatternWithOtherConversionsIsNotUsed)
{
    ASSERT_TRUE(buildLibrary(dir.file("cwd/libquilltest-c.so"), 3)) << "the project's C compiler makes the test library";
    boundary.patterns[0] = dir.file("opt/lib%s%n.so");
    boundary.patterns[1] = "%d";
    void* handle = nullptr;
    captureLoad("quilltest-c", &handle);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(3, markerOf(handle));
    SystemLinux::instance()->closeLibrary(handle);
}

TEST(SystemServices, SyslogPriorities)
{
    const int expected[][2] = {{0, LOG_INFO},    {1, LOG_WARNING}, {2, LOG_CRIT},    {3, LOG_EMERG},
                               {4, LOG_EMERG},   {5, LOG_WARNING}, {7, LOG_WARNING}, {-1, LOG_WARNING}};
    for (const auto& e : expected) {
        EXPECT_EQ(e[1], SystemLinux::syslogPriority(e[0])) << "level " << e[0];
    }
    // The message is data: conversions in it are not interpreted.
    SystemLinux::instance()->writeSyslog(0, 99, "QuillCli test message 100% %s %n");
}

TEST(SystemServices, EnvironmentVariables)
{
    SystemLinux* sys = SystemLinux::instance();
    unsetenv("QUILL_LOGS_TEST_VAR");
    EXPECT_STREQ("", sys->getEnvironment(string("QUILL_LOGS_TEST_VAR")).c_str());
    setenv("QUILL_LOGS_TEST_VAR", "", 1);
    EXPECT_STREQ("", sys->getEnvironment(string("QUILL_LOGS_TEST_VAR")).c_str());
    setenv("QUILL_LOGS_TEST_VAR", "/sys/x", 1);
    EXPECT_STREQ("/sys/x", sys->getEnvironment(string("QUILL_LOGS_TEST_VAR")).c_str());
    unsetenv("QUILL_LOGS_TEST_VAR");
}

TEST(SystemServices, BinDirectoryAndSingleInstance)
{
    EXPECT_STREQ("/usr/bin", SystemLinux::instance()->binDirectory().c_str());
    EXPECT_EQ(SystemLinux::instance(), SystemLinux::instance());
}

TEST_F(BoundaryInstalled, SleepsGoThroughTheBoundary)
{
    boundary.sleepLeft = 2;
    EXPECT_EQ(2, SystemLinux::instance()->sleepSeconds(5));
    boundary.sleepLeft = 0;
    EXPECT_EQ(0, SystemLinux::instance()->sleepSeconds(30));
    // A negative time is no sleep at all, not an unsigned wrap to a century.
    EXPECT_EQ(0, SystemLinux::instance()->sleepSeconds(-1));
    EXPECT_EQ(0, SystemLinux::instance()->sleepSeconds(0));
    EXPECT_EQ((std::vector<unsigned int>{5, 30}), boundary.sleeps);
}

// The address is one of the host's own non-loopback IPv4 addresses, or 127.0.0.1 without one.
TEST(SystemServices, LocalIpv4Address)
{
    unsigned char address[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    ASSERT_EQ(0, SystemLinux::instance()->localIpv4Address(address));
    in_addr_t got;
    memcpy(&got, address, 4);

    std::vector<in_addr_t> candidates;
    struct ifaddrs* list = nullptr;
    ASSERT_EQ(0, getifaddrs(&list));
    for (struct ifaddrs* e = list; e != nullptr; e = e->ifa_next) {
        if (e->ifa_addr != nullptr && e->ifa_addr->sa_family == AF_INET && strcmp(e->ifa_name, "lo") != 0) {
            candidates.push_back(reinterpret_cast<struct sockaddr_in*>(e->ifa_addr)->sin_addr.s_addr);
        }
    }
    freeifaddrs(list);
    if (candidates.empty()) {
        EXPECT_EQ(inet_addr("127.0.0.1"), got);
    } else {
        EXPECT_EQ(candidates.front(), got);
    }
}

} // namespace
