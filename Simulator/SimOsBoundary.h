// The simulated host's implementation of the OS boundary.
//
// Absolute paths under /proc, /sys and /dev are looked up in the host directory (proc/, sys/,
// dev/); every other path is left alone, so SYSFS_PATH keeps its own meaning. A device node
// is a small regular file in the host directory holding its type and numbers ("node file");
// stat and lstat report it as the device it stands for. Opening a character node whose major
// number belongs to a loaded simulated driver gives a descriptor of the driver's own, whose
// ioctls the simulated driver answers; opening a logical drive's disk node gives one whose
// SCSI ioctls the simulated disk answers. uname reports the state's kernel release; sleeps,
// shell sleeps and "clear" advance the simulated clock or do nothing instead of waiting. The
// opens and closes of the disks and of the kernel's SCSI control files, and the program's own
// sleeps, go to the host's transcript. The report's "cat FILE | grep PATTERN > OUT" pipelines
// run on the host's files, and its temporary file "/..rdlog.tmp.tmp" lies in the host directory.
#ifndef SIMOSBOUNDARY_H
#define SIMOSBOUNDARY_H

#include <map>
#include <string>

#include "Simulator/SimDisk.h"
#include "Simulator/SimDriver.h"
#include "Simulator/SimState.h"
#include "System/OsBoundary.h"

namespace sim {

struct NodeInfo {
    char type = 0;            // 'c' character device, 'b' block device
    unsigned major = 0;
    unsigned minor = 0;
    bool hasScsi = false;     // a disk node: the SCSI address of the logical drive behind it
    ScsiAddress scsi;
};

class SimOsBoundary : public OsBoundary {
public:
    SimOsBoundary(SimState& state, SimDriver& driver);
    ~SimOsBoundary() override;

    const char* mapPath(const char* path, char* buf, size_t bufSize) override;

    int open(const char* path, int flags, mode_t mode = 0) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void* arg) override;
    ssize_t read(int fd, void* buf, size_t count) override;
    ssize_t write(int fd, const void* buf, size_t count) override;
    FILE* fopen(const char* path, const char* mode) override;

    int mknod(const char* path, mode_t mode, dev_t dev) override;
    int stat(const char* path, struct stat* st) override;
    int lstat(const char* path, struct stat* st) override;
    int access(const char* path, int mode) override;
    int unlink(const char* path) override;
    ssize_t readlink(const char* path, char* buf, size_t size) override;

    DIR* opendir(const char* path) override;
    int scandir(const char* path, struct dirent*** namelist,
                int (*filter)(const struct dirent*),
                int (*compar)(const struct dirent**, const struct dirent**)) override;

    int uname(struct utsname* buf) override;
    int system(const char* command) override;
    unsigned int sleep(unsigned int seconds) override;
    // The description's host time when it gives one, else the real time.
    time_t currentTime() override;

    const char* libraryPathPattern(int attempt) override;

    // The host-directory path of a system path ("/proc/devices" -> "<host>/proc/devices"),
    // or the path unchanged when it is not under /proc, /sys or /dev.
    std::string hostPath(const char* path) const;

    // Node files: written by mknod here and by the tool's host layouts.
    static int writeNode(const std::string& file, const NodeInfo& node, mode_t perms);
    static bool readNode(const std::string& file, NodeInfo& node);

private:
    int runCatGrep(const std::string& file, const std::string& pattern, const std::string& out);
    // Moves the simulated clock on (a sleep of the program or of its shell).
    void advanceClock(unsigned int seconds);
    void reportNode(const std::string& file, struct stat* st) const;
    int driverKindOfMajor(unsigned major);

    struct Descriptor {
        bool disk = false;
        int driverKind = 0;
        ScsiAddress scsi;
        std::string path;      // a disk's node, as the program named it
    };
    int reserveDescriptor(const Descriptor& d);
    // A kernel control file opened for writing: its descriptor and the path the program named,
    // so that what is written to it reaches the host's transcript.
    int openControlFile(const char* path, int fd);
    void recordControlWrite(int fd, const void* buf, ssize_t written);

    SimState& state_;
    SimDriver& driver_;
    SimDisk disk_;
    std::map<int, Descriptor> fds_;
    std::map<int, std::string> controlFds_;
    std::string libraryPattern_;
};

} // namespace sim

#endif
