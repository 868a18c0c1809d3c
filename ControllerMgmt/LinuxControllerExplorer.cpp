#include "ControllerMgmt/LinuxControllerExplorer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "ControllerMgmt/SysfsAccess.h"
#include "DataProvider/ControllerId.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/Memory.h"
#include "System/OsBoundary.h"

const char* const HWR_IOCTL_NAME = "quillraid_sas_ioctl";
const char* const HWR_IOCTL_NODE = "/dev/quillraid_sas_ioctl_node";
const char* const SWR_IOCTL_NAME = "quillraid_swr_ioctl";
const char* const SWR_IOCTL_NODE = "/dev/quillraid_swr_ioctl_node";
const char* const HWR_SCSI_HOST_NAME = "quillraid_sas";
const char* const SWR_SCSI_HOST_NAME = "quillsr";

namespace {

const char PROC_DEVICES[] = "/proc/devices";
// Lines of /proc/devices are read into a buffer of this size.
const int DEVICES_LINE_SIZE = 80;
// A character device readable by its owner only.
const mode_t NODE_MODE = 0x2100;
// A proc_name attribute is read up to this many bytes.
const size_t PROC_NAME_LENGTH = 32;

struct HbaMapDirectory {
    const char* path;
    int32_t kind;
};
const HbaMapDirectory HBA_MAP_DIRECTORIES[] = {
    {"/proc/scsi/quillraid_sas/hba_map/", static_cast<int32_t>(LINUX_DRIVER_HWR)},
    {"/proc/scsi/quillsr/hba_map/", static_cast<int32_t>(LINUX_DRIVER_SWR)},
};

// (host, bus, device, function) compared as unsigned values in that order.
bool hostLess(const HostRecord& a, const HostRecord& b)
{
    if (a.hostNumber != b.hostNumber) {
        return a.hostNumber < b.hostNumber;
    }
    if (a.pciBus != b.pciBus) {
        return a.pciBus < b.pciBus;
    }
    if (a.pciDevice != b.pciDevice) {
        return a.pciDevice < b.pciDevice;
    }
    return a.pciFunction < b.pciFunction;
}

// The major number of the first /proc/devices line that names the driver; 0 when none does.
uint16_t driverMajor(const char* name)
{
    FileIO* io = FileIO::instance();
    FileHandle* devices = io->open(PROC_DEVICES, "r");
    if (devices == nullptr) {
        return 0;
    }
    uint16_t major = 0;
    char line[DEVICES_LINE_SIZE];
    while (io->gets(line, sizeof line, devices) != nullptr) {
        if (strstr(line, name) != nullptr) {
            major = static_cast<uint16_t>(atoi(line));
            break;
        }
    }
    io->close(devices);
    return major;
}

// Lexically tidies a path into out (size bytes): empty and "." components go, ".." takes the
// component before it away. False when ".." climbs above the start or the result does not fit.
bool tidyPath(const char* path, char* out, size_t size)
{
    if (size == 0) {
        return false;
    }
    const bool absolute = path[0] == '/';
    size_t used = 0;
    out[0] = '\0';
    const char* at = path;
    while (*at != '\0') {
        while (*at == '/') {
            ++at;
        }
        const char* end = at;
        while (*end != '\0' && *end != '/') {
            ++end;
        }
        const size_t length = static_cast<size_t>(end - at);
        if (length == 2 && at[0] == '.' && at[1] == '.') {
            if (used == 0) {
                return false;
            }
            char* last = strrchr(out, '/');
            used = last == nullptr ? 0 : static_cast<size_t>(last - out);
            out[used] = '\0';
        } else if (length > 0 && !(length == 1 && at[0] == '.')) {
            const size_t separator = (absolute || used > 0) ? 1 : 0;
            if (used + separator + length >= size) {
                return false;
            }
            if (separator != 0) {
                out[used++] = '/';
            }
            memcpy(out + used, at, length);
            used += length;
            out[used] = '\0';
        }
        at = end;
    }
    if (used == 0) {
        if (!absolute || size < 2) {
            return false;
        }
        out[0] = '/';
        out[1] = '\0';
    }
    return true;
}

// Where a scsi_host class entry really lives, into out (SYSFS_PATH_SIZE bytes). Older kernels
// give every entry a directory of its own; current kernels make the entry a link into the
// device tree (../../devices/pci0000:00/.../0000:01:00.0/host0/scsi_host/host0) and its
// "device" link (../../../host0) only leads to the PCI function when read from there. An
// entry that is no link is its own place. False when the link cannot be read whole or its
// target cannot be formed.
bool realEntryPath(const char* entryPath, char* out)
{
    if (cli_is_path_link(entryPath) != 0) {
        return sysfsFormatPath(out, SYSFS_PATH_SIZE, "%s", entryPath);
    }
    char target[SYSFS_PATH_SIZE];
    memset(target, 0, sizeof target);
    // A text that fills the buffer may have been cut short: not used.
    ssize_t length = osBoundary().readlink(entryPath, target, sizeof target - 1);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof target - 1) {
        return false;
    }
    char joined[2 * SYSFS_PATH_SIZE];
    const char* slash = strrchr(entryPath, '/');
    bool formed;
    if (target[0] == '/' || slash == nullptr) {
        formed = sysfsFormatPath(joined, sizeof joined, "%s", target);
    } else {
        formed = sysfsFormatPath(joined, sizeof joined, "%.*s/%s", static_cast<int>(slash - entryPath),
                                 entryPath, target);
    }
    return formed && tidyPath(joined, out, SYSFS_PATH_SIZE);
}

// The host record of one matching scsi_host entry: false when its device link is missing or
// does not name a host.
bool readSysfsHost(const char* entryPath, HostRecord& record)
{
    // An entry whose link cannot be followed is read where it is listed, as before: the host
    // is still found, only without its PCI location.
    char entryDir[SYSFS_PATH_SIZE];
    if (!realEntryPath(entryPath, entryDir) && !sysfsFormatPath(entryDir, sizeof entryDir, "%s", entryPath)) {
        return false;
    }
    char devicePath[SYSFS_PATH_SIZE];
    if (!sysfsFormatPath(devicePath, sizeof devicePath, "%s/device", entryDir)) {
        return false;
    }
    if (cli_is_path_link(devicePath) != 0) {
        return false;
    }
    char resolved[SYSFS_PATH_SIZE];
    memset(resolved, 0, sizeof resolved);
    if (cli_resolve_link(devicePath, resolved, sizeof resolved) != 0) {
        return false;
    }
    char component[SYSFS_PATH_SIZE];
    unsigned host = 0;
    if (cli_get_path_name(resolved, component, sizeof component) != 0 ||
        sscanf(component, "host%u", &host) != 1) {
        return false;
    }
    // The component in front of the host is the PCI function "domain:bus:device.function".
    unsigned domain = 0;
    unsigned bus = 0;
    unsigned device = 0;
    unsigned function = 0;
    char* slash = strrchr(resolved, '/');
    if (slash != nullptr) {
        *slash = '\0';
        if (cli_get_path_name(resolved, component, sizeof component) == 0) {
            sscanf(component, "%x:%x:%x.%x", &domain, &bus, &device, &function);
        }
    }
    record.hostNumber = static_cast<uint16_t>(host);
    record.pciBus = static_cast<uint16_t>(bus);
    record.pciDevice = static_cast<uint8_t>(device);
    record.pciFunction = static_cast<uint8_t>(function);
    return true;
}

} // namespace

int scsiHostKind(const char* procName)
{
    // Both names are compared over the length of the longer one: the hardware-RAID name
    // matches a text that begins with it, while the software-RAID name only matches when the
    // text ends right after it.
    const size_t span = strlen(HWR_SCSI_HOST_NAME);
    if (strncmp(procName, HWR_SCSI_HOST_NAME, span) == 0) {
        return static_cast<int>(LINUX_DRIVER_HWR);
    }
    if (strncmp(procName, SWR_SCSI_HOST_NAME, span) == 0) {
        return static_cast<int>(LINUX_DRIVER_SWR);
    }
    return -1;
}

LinuxControllerExplorer* LinuxControllerExplorer::instance()
{
    static LinuxControllerExplorer explorer;
    return &explorer;
}

LinuxControllerExplorer::LinuxControllerExplorer() : hwrFd(-1), swrFd(-1), hostCount(0)
{
    memset(hostKinds, 0, sizeof hostKinds);
    memset(hosts, 0, sizeof hosts);
    memset(savedHosts, 0, sizeof savedHosts);
}

LinuxControllerExplorer::~LinuxControllerExplorer()
{
    if (hwrFd >= 0) {
        osBoundary().close(hwrFd);
    }
    if (swrFd >= 0) {
        osBoundary().close(swrFd);
    }
}

int LinuxControllerExplorer::descriptor(uint32_t kind) const
{
    return kind == LINUX_DRIVER_SWR ? swrFd : hwrFd;
}

int LinuxControllerExplorer::openDriverNode(uint32_t kind)
{
    int32_t& fd = (kind == LINUX_DRIVER_SWR) ? swrFd : hwrFd;
    if (fd >= 0) {
        return fd;
    }
    const char* name = (kind == LINUX_DRIVER_SWR) ? SWR_IOCTL_NAME : HWR_IOCTL_NAME;
    const char* node = (kind == LINUX_DRIVER_SWR) ? SWR_IOCTL_NODE : HWR_IOCTL_NODE;

    uint16_t nodeMajor = driverMajor(name);
    if (nodeMajor == 0) {
        return fd;
    }
    OsBoundary& os = osBoundary();
    bool make = true;
    if (os.access(node, R_OK) == 0) {
        struct stat st;
        if (os.stat(node, &st) != 0) {
            return fd;
        }
        if (major(st.st_rdev) == nodeMajor) {
            make = false;
        } else if (os.unlink(node) != 0) {
            return fd;
        }
    }
    if (make && os.mknod(node, NODE_MODE, makedev(nodeMajor, 0)) != 0) {
        return fd;
    }
    fd = os.open(node, O_RDONLY);
    if (fd < 0) {
        fd = -1;
    }
    return fd;
}

unsigned LinuxControllerExplorer::findHosts()
{
    openDriverNode(LINUX_DRIVER_HWR);
    openDriverNode(LINUX_DRIVER_SWR);
    if (hwrFd < 0 && swrFd < 0) {
        return 0;
    }
    memset(hosts, 0, sizeof hosts);
    memset(hostKinds, 0, sizeof hostKinds);
    hostCount = 0;
    int scan;
    switch (isKernelAtLeast(2, 5)) {
    case 1:
        scan = scanSysfsHosts(&hostCount, hosts, hostKinds);
        break;
    case 0:
        scan = scanProcHbaMap(&hostCount, hosts, hostKinds);
        break;
    default:
        return 0;
    }
    if (scan != 0) {
        return 0;
    }
    return hostCount;
}

void LinuxControllerExplorer::sortHosts(unsigned count)
{
    // Exchange sort: each later record that is smaller than record i trades places with it;
    // the driver kind moves with its record.
    for (unsigned i = 0; i + 1 < count; ++i) {
        for (unsigned j = i + 1; j < count; ++j) {
            if (hostLess(hosts[j], hosts[i])) {
                HostRecord record = hosts[i];
                hosts[i] = hosts[j];
                hosts[j] = record;
                int32_t kind = hostKinds[i];
                hostKinds[i] = hostKinds[j];
                hostKinds[j] = kind;
            }
        }
    }
}

ArrayList<ControllerId*>* LinuxControllerExplorer::explore(ArrayList<VoVendorDeviceId*>* supported)
{
    if (supported == nullptr) {
        return nullptr;
    }
    unsigned count = findHosts();
    if (count == 0) {
        return nullptr;
    }
    if (count > MAX_HOSTS) {
        count = MAX_HOSTS;
    }
    sortHosts(count);
    memcpy(savedHosts, hosts, sizeof savedHosts);

    ArrayList<ControllerId*>* ids = new (noThrowNew) ArrayList<ControllerId*>(static_cast<unsigned char>(count));
    if (ids == nullptr) {
        return nullptr;
    }
    for (unsigned i = 0; i < count; ++i) {
        uint32_t kind = static_cast<uint32_t>(hostKinds[i]);
        LinuxCtrlId* id = new (noThrowNew) LinuxCtrlId(kind, descriptor(kind), hosts[i].hostNumber);
        if (id != nullptr && ids->add(id) != 0) {
            delete id;
        }
    }
    return ids;
}

int LinuxControllerExplorer::getHostTable(void* buffer) const
{
    if (buffer == nullptr) {
        return -1;
    }
    memcpy(buffer, savedHosts, sizeof savedHosts);
    return 0;
}

int isKernelAtLeast(int wantedMajor, int wantedMinor)
{
    struct utsname names;
    memset(&names, 0, sizeof names);
    if (osBoundary().uname(&names) != 0) {
        return -1;
    }
    int kernelMajor = atoi(names.release);
    const char* dot = strchr(names.release, '.');
    if (dot == nullptr) {
        return -1;
    }
    int kernelMinor = atoi(dot + 1);
    if (wantedMajor < kernelMajor || (wantedMajor == kernelMajor && kernelMinor >= wantedMinor)) {
        return 1;
    }
    return 0;
}

int scanSysfsHosts(uint32_t* count, HostRecord* table, int32_t* kinds)
{
    if (count == nullptr || table == nullptr || kinds == nullptr) {
        return -1;
    }
    char classDir[SYSFS_PATH_SIZE];
    if (cli_get_class_path(classDir, "scsi_host") != 0) {
        return -1;
    }
    OsBoundary& os = osBoundary();
    DIR* dir = os.opendir(classDir);
    if (dir == nullptr) {
        return -1;
    }
    unsigned found = 0;
    struct dirent* entry;
    while ((entry = os.readdir(dir)) != nullptr) {
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        char entryPath[SYSFS_PATH_SIZE];
        if (!sysfsFormatPath(entryPath, sizeof entryPath, "%s/%s", classDir, entry->d_name)) {
            continue;
        }
        if (cli_is_path_dir(entryPath) != 0 && cli_is_path_link(entryPath) != 0) {
            continue;
        }
        char attribute[SYSFS_PATH_SIZE];
        if (!sysfsFormatPath(attribute, sizeof attribute, "%s/proc_name", entryPath)) {
            continue;
        }
        if (cli_is_path_file(attribute) != 0) {
            continue;
        }
        char procName[PROC_NAME_LENGTH + 1];
        memset(procName, 0, sizeof procName);
        if (cli_read_attribute(attribute, procName, PROC_NAME_LENGTH) < 0) {
            continue;
        }
        int kind = scsiHostKind(procName);
        if (kind < 0 || found >= MAX_HOSTS) {
            continue;
        }
        HostRecord record;
        if (!readSysfsHost(entryPath, record)) {
            continue;
        }
        table[found] = record;
        kinds[found] = kind;
        ++found;
    }
    os.closedir(dir);
    if (found == 0) {
        return 1;
    }
    *count = found;
    return 0;
}

int scanProcHbaMap(uint32_t* count, HostRecord* table, int32_t* kinds)
{
    if (count == nullptr || table == nullptr || kinds == nullptr) {
        return 1;
    }
    OsBoundary& os = osBoundary();
    FileIO* io = FileIO::instance();
    unsigned found = 0;
    for (const HbaMapDirectory& map : HBA_MAP_DIRECTORIES) {
        struct dirent** names = nullptr;
        int n = os.scandir(map.path, &names, nullptr, alphasort);
        if (n < 0) {
            continue;
        }
        for (int i = 0; i < n; ++i) {
            if (found < MAX_HOSTS) {
                char path[SYSFS_PATH_SIZE];
                if (sysfsFormatPath(path, sizeof path, "%s%s/bus_devfn", map.path, names[i]->d_name)) {
                    FileHandle* file = io->open(path, "r");
                    if (file != nullptr) {
                        unsigned value = 0;
                        io->scanf(file, "%ul", &value);
                        HostRecord& record = table[found];
                        record.hostNumber = static_cast<uint16_t>(atoi(names[i]->d_name));
                        record.pciBus = static_cast<uint16_t>(value >> 16);
                        record.pciDevice = static_cast<uint8_t>((value >> 8) & 0xFF);
                        record.pciFunction = static_cast<uint8_t>(value & 0xFF);
                        kinds[found] = map.kind;
                        ++found;
                        io->close(file);
                    }
                }
            }
            free(names[i]);
        }
        free(names);
    }
    if (found == 0) {
        return 1;
    }
    *count = found;
    return 0;
}
