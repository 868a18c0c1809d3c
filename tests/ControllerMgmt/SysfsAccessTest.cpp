#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "ControllerMgmt/SysfsAccess.h"
#include "ControllersTestSupport.h"

using ctltest::BoundaryScope;
using ctltest::HostBoundary;
using ctltest::TempDir;

namespace {

// Runs the body with SYSFS_PATH set to value (null: unset), restoring it afterwards.
class SysfsEnv {
public:
    explicit SysfsEnv(const char* value)
    {
        const char* old = getenv("SYSFS_PATH");
        had = old != nullptr;
        if (had)
            saved = old;
        if (value)
            setenv("SYSFS_PATH", value, 1);
        else
            unsetenv("SYSFS_PATH");
    }
    ~SysfsEnv()
    {
        if (had)
            setenv("SYSFS_PATH", saved.c_str(), 1);
        else
            unsetenv("SYSFS_PATH");
    }

private:
    bool had = false;
    std::string saved;
};

} // namespace

TEST(SysfsAccess, RootComesFromTheEnvironmentWithoutTrailingSlashes)
{
    struct Case {
        const char* env;
        int result;
        const char* root;
    };
    const std::string tooLong(300, 'x');
    const Case cases[] = {
        {"/mnt/sys/", 0, "/mnt/sys"},
        {"/", 0, ""},
        {nullptr, 0, "/sys"},
        {"/a//", 0, "/a"},
        {tooLong.c_str(), -1, ""},
    };
    for (const Case& c : cases) {
        SysfsEnv env(c.env);
        char root[SYSFS_PATH_SIZE];
        memset(root, 'z', sizeof root);
        EXPECT_EQ(cli_get_sysfs_root(root, sizeof root), c.result) << (c.env ? c.env : "(unset)");
        EXPECT_STREQ(root, c.root);
    }
    char small[4];
    EXPECT_EQ(cli_get_sysfs_root(nullptr, 10), -1);
    EXPECT_EQ(cli_get_sysfs_root(small, 0), -1);
    SysfsEnv env("/mnt/sys");
    EXPECT_EQ(cli_get_sysfs_root(small, sizeof small), -1);   // would need 9 bytes
}

TEST(SysfsAccess, TypeTestsDoNotFollowLinks)
{
    TempDir dir;
    dir.mkdirs("real");
    dir.write("file", "x");
    dir.link("to-real", "real");
    const std::string base = dir.path() + "/";

    EXPECT_EQ(cli_is_path_dir((base + "real").c_str()), 0);
    EXPECT_EQ(cli_is_path_dir((base + "to-real").c_str()), 1);
    EXPECT_EQ(cli_is_path_link((base + "to-real").c_str()), 0);
    EXPECT_EQ(cli_is_path_link((base + "real").c_str()), 1);
    EXPECT_EQ(cli_is_path_file((base + "file").c_str()), 0);
    EXPECT_EQ(cli_is_path_file((base + "real").c_str()), 1);
    EXPECT_EQ(cli_is_path_dir(nullptr), 1);
    EXPECT_EQ(cli_is_path_link(nullptr), 1);
    EXPECT_EQ(cli_is_path_file(nullptr), 1);
    EXPECT_EQ(cli_is_path_dir((base + "missing").c_str()), 1);

    testsupport::StreamCapture captured;
    EXPECT_EQ(cli_is_path_file((base + "missing").c_str()), 1);
    EXPECT_EQ(captured.take(), "cli_is_path_file: stat on " + base + "missing failed\n");
}

TEST(SysfsAccess, PathNameIsTheLastComponent)
{
    struct Case {
        const char* path;
        int result;
        const char* name;
    };
    const Case cases[] = {
        {"/sys/class/scsi_host/host3/", 0, "host3"},
        {"/sys/class/scsi_host/host3", 0, "host3"},
        {"/host3", 0, "host3"},
        {"host3", -1, ""},
        {"host3/", -1, ""},
        {"/", -1, ""},
    };
    for (const Case& c : cases) {
        char name[64] = "";
        EXPECT_EQ(cli_get_path_name(c.path, name, sizeof name), c.result) << c.path;
        EXPECT_STREQ(name, c.name) << c.path;
    }
    char tiny[4] = "";
    EXPECT_EQ(cli_get_path_name("/a/host3", tiny, sizeof tiny), -1);   // a cut name is no name
    EXPECT_EQ(cli_get_path_name(std::string(300, 'a').insert(0, "/").c_str(), tiny, sizeof tiny), -1);
}

TEST(SysfsAccess, ResolveLinkClimbsOneDirectoryPerSlash)
{
    TempDir dir;
    const std::string host = "sys/class/scsi_host/host0";
    dir.link(host + "/device", "../../../devices/pci0000:00/0000:00:1c.0/0000:02:00.0/host0");
    dir.link(host + "/absolute", "/sys/devices/elsewhere");
    dir.link(host + "/too-high", "../../../../../../../../../../x");
    dir.link(host + "/long", "../" + std::string(250, 'n'));

    char out[SYSFS_PATH_SIZE];
    ASSERT_EQ(cli_resolve_link((dir.path() + "/" + host + "/device").c_str(), out, sizeof out), 0);
    EXPECT_EQ(std::string(out), dir.path() + "/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0/host0");

    // An absolute link leaves the output as it was.
    strcpy(out, "untouched");
    EXPECT_EQ(cli_resolve_link((dir.path() + "/" + host + "/absolute").c_str(), out, sizeof out), 0);
    EXPECT_STREQ(out, "untouched");

    EXPECT_EQ(cli_resolve_link((dir.path() + "/" + host + "/too-high").c_str(), out, sizeof out), -1);
    EXPECT_EQ(cli_resolve_link((dir.path() + "/" + host + "/long").c_str(), out, sizeof out), -1);
    EXPECT_EQ(cli_resolve_link((dir.path() + "/" + host + "/missing").c_str(), out, sizeof out), -1);
    char small[8];
    EXPECT_EQ(cli_resolve_link((dir.path() + "/" + host + "/device").c_str(), small, sizeof small), -1);
    EXPECT_EQ(cli_resolve_link(nullptr, out, sizeof out), -1);
    EXPECT_EQ(cli_resolve_link((dir.path() + "/" + host + "/device").c_str(), out, 0), -1);
}

TEST(SysfsAccess, ClassAndBusPathsMustExist)
{
    TempDir dir;
    dir.mkdirs("sys/class/scsi_host");
    dir.mkdirs("sys/devices/bus-scsi");
    dir.link("sys/bus/scsi", "../devices/bus-scsi");
    SysfsEnv env((dir.path() + "/sys/").c_str());

    char path[SYSFS_PATH_SIZE];
    EXPECT_EQ(cli_get_class_path(path, "scsi_host"), 0);
    EXPECT_EQ(std::string(path), dir.path() + "/sys/class/scsi_host");
    EXPECT_EQ(cli_get_bus_path(path, "scsi"), 0);   // a link counts
    EXPECT_EQ(std::string(path), dir.path() + "/sys/bus/scsi");
    EXPECT_EQ(cli_get_class_path(path, "block"), -1);
    EXPECT_EQ(cli_get_class_path(path, std::string(300, 'c').c_str()), -1);
    EXPECT_EQ(cli_get_class_path(nullptr, "scsi_host"), -1);
}

TEST(SysfsAccess, AttributesAreReadAndWrittenOnce)
{
    TempDir dir;
    dir.write("proc_name", "quillraid_sas\n");
    dir.write("scan", "");
    const std::string base = dir.path() + "/";

    char text[8];
    memset(text, 0, sizeof text);
    EXPECT_EQ(cli_read_attribute((base + "proc_name").c_str(), text, sizeof text - 1), 7);
    EXPECT_STREQ(text, "quillra");

    EXPECT_EQ(cli_write_attribute((base + "scan").c_str(), "- - -", 5), 5);
    EXPECT_EQ(ctltest::readText(base + "scan"), "- - -");

    testsupport::StreamCapture captured;
    EXPECT_EQ(cli_read_attribute((base + "missing").c_str(), text, 4), -1);
    EXPECT_EQ(cli_write_attribute((base + "no/such").c_str(), "x", 1), -1);
    EXPECT_EQ(cli_read_attribute(dir.path().c_str(), text, 4), -1);   // a directory cannot be read
    EXPECT_EQ(captured.take(),
              "cli_read_attribute: open " + base + "missing failed\n"
              "cli_write_attribute: open " + base + "no/such failed\n"
              "cli_read_attribute: read from " + dir.path() + " failed\n");
}

TEST(SysfsAccess, ShortWriteIsAFailure)
{
    class ShortWrites : public OsBoundary {
    public:
        ssize_t write(int, const void*, size_t count) override { return static_cast<ssize_t>(count) - 1; }
    };
    TempDir dir;
    dir.write("scan", "");
    ShortWrites boundary;
    BoundaryScope scope(&boundary);
    testsupport::StreamCapture captured;
    EXPECT_EQ(cli_write_attribute((dir.path() + "/scan").c_str(), "- - -", 5), -1);
    EXPECT_EQ(captured.take(), "cli_write_attribute: write to " + dir.path() + "/scan failed\n");
}

TEST(SysfsAccess, BlockNodeComesFromTheBlockLink)
{
    TempDir dir;
    dir.mkdirs("dev");
    dir.write("dev/sdb", "disk");
    const std::string device = "sys/devices/pci0000:00/host2/target2:2:0/2:2:0:0";
    dir.link(device + "/block", "../../../../../block/sdb");
    const std::string dirDevice = "sys/devices/pci0000:00/host2/target2:2:1/2:2:1:0";
    dir.mkdirs(dirDevice + "/block/sdc");
    const std::string gone = "sys/devices/pci0000:00/host2/target2:2:2/2:2:2:0";
    dir.link(gone + "/block", "../../../../../block/sdz");

    HostBoundary boundary(dir.path());
    BoundaryScope scope(&boundary);
    char node[SYSFS_PATH_SIZE] = "";
    EXPECT_EQ(cli_find_block_node(("/" + device).c_str(), node, "block"), 0);
    EXPECT_STREQ(node, "/dev/sdb");
    EXPECT_EQ(cli_find_block_node(("/" + dirDevice).c_str(), node, "block"), 1);
    EXPECT_EQ(cli_find_block_node(("/" + gone).c_str(), node, "block"), 1);     // no such node
    EXPECT_EQ(cli_find_block_node("/sys/devices/none", node, "block"), -1);
}
