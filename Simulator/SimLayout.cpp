#include "Simulator/SimLayout.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "Simulator/SimOsBoundary.h"
#include "Simulator/SimScsi.h"
#include "Simulator/SimState.h"

namespace sim {

namespace {

const unsigned SD_MAJOR = 8;

class Writer {
public:
    explicit Writer(const std::string& root) : root_(root) {}

    bool ok() const { return ok_; }

    void dir(const std::string& rel)
    {
        size_t at = 0;
        while (ok_ && at < rel.size()) {
            size_t slash = rel.find('/', at);
            std::string prefix = rel.substr(0, slash);
            at = slash == std::string::npos ? rel.size() : slash + 1;
            if (prefix.empty() || prefix.back() == '/' || !made_.insert(prefix).second)
                continue;
            std::string path = root_ + "/" + prefix;
            if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
                fail(path);
        }
    }

    void file(const std::string& rel, const std::string& text, mode_t mode = 0644)
    {
        parentOf(rel);
        std::string path = root_ + "/" + rel;
        FILE* f = fopen(path.c_str(), "w");
        if (!f || fwrite(text.data(), 1, text.size(), f) != text.size()) {
            if (f)
                fclose(f);
            fail(path);
            return;
        }
        if (fclose(f) != 0 || ::chmod(path.c_str(), mode) != 0)
            fail(path);
    }

    void link(const std::string& rel, const std::string& target)
    {
        parentOf(rel);
        std::string path = root_ + "/" + rel;
        if (ok_ && ::symlink(target.c_str(), path.c_str()) != 0)
            fail(path);
    }

    void node(const std::string& rel, const NodeInfo& n, mode_t perms)
    {
        parentOf(rel);
        std::string path = root_ + "/" + rel;
        if (ok_ && SimOsBoundary::writeNode(path, n, perms) != 0)
            fail(path);
    }

private:
    void parentOf(const std::string& rel)
    {
        size_t slash = rel.rfind('/');
        if (slash != std::string::npos)
            dir(rel.substr(0, slash));
    }

    void fail(const std::string& path)
    {
        if (ok_)
            fprintf(stderr, "quillsim: cannot create %s: %s\n", path.c_str(), strerror(errno));
        ok_ = false;
    }

    std::string root_;
    std::set<std::string> made_;
    bool ok_ = true;
};

std::string fmt(const char* format, unsigned a, unsigned b = 0, unsigned c = 0, unsigned d = 0)
{
    char buf[128];
    snprintf(buf, sizeof buf, format, a, b, c, d);
    return buf;
}

// "devices/pci0000:00/0000:00:03.0/0000:03:00.0" (domain, bus, device, function of `pci`).
std::string pciPath(const PciLocation& pci)
{
    std::string root = fmt("pci%04x:00", pci.domain);
    if (pci.bus == 0)
        return "devices/" + root + fmt("/%04x:%02x:%02x.%x", pci.domain, 0, pci.device, pci.function);
    return "devices/" + root + fmt("/%04x:00:%02x.0", pci.domain, pci.bus) +
           fmt("/%04x:%02x:%02x.%x", pci.domain, pci.bus, pci.device, pci.function);
}

// The way up from a link's directory (relative to sys/) to sys/: one "../" per component.
std::string upTo(const std::string& linkDirFromSys)
{
    std::string up = "../";
    for (char c : linkDirFromSys)
        if (c == '/')
            up += "../";
    return up;
}

// The scsi_host class entry of a host with its proc_name, scan and device. Older kernels give
// the entry a directory of its own, whose device link leads into the PCI tree; current kernels
// make the entry a link to the host's scsi_host/host<N> directory in the device tree, whose
// device link leads back up to the host (../../../host<N>).
void classEntry(Writer& w, const std::string& hostDir, unsigned host, const std::string& procName, bool linked,
                bool scan = true)
{
    const std::string cls = fmt("class/scsi_host/host%u", host);
    std::string entry = cls;
    std::string device = upTo(cls) + hostDir;
    if (linked) {
        entry = hostDir + fmt("/scsi_host/host%u", host);
        w.link("sys/" + cls, upTo("class/scsi_host") + entry);
        device = fmt("../../../host%u", host);
    }
    w.file("sys/" + entry + "/proc_name", procName);
    if (scan)
        w.file("sys/" + entry + "/scan", "", 0200);
    w.link("sys/" + entry + "/device", device);
}

std::string procNameOfKind(int kind) { return kind == DRIVER_KIND_SWR ? "quillsr" : "quillraid_sas"; }

bool isEmptyOrMissing(const std::string& dir)
{
    DIR* d = opendir(dir.c_str());
    if (!d)
        return errno == ENOENT;
    bool empty = true;
    while (struct dirent* e = readdir(d))
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
            empty = false;
    closedir(d);
    return empty;
}

// The index of a disk node's name ("sda" 0, "sdz" 25, "sdaa" 26, ...); -1 for another name.
int diskIndex(const std::string& name)
{
    for (unsigned n = 0; !SimLayout::diskName(n).empty(); ++n)
        if (name == "sd" + SimLayout::diskName(n))
            return static_cast<int>(n);
    return -1;
}

// A controller's SCSI host (its class entry, or its hba_map entry on old kernels) and the
// SCSI disks of its logical drives: a disk the description names takes that name, the others
// the next names, in order, that none takes (numbered on from `disk`); their lines go to `scsi`.
void controllerEntries(Writer& w, const HostModel& state, const Controller& c, bool sysfs, unsigned& disk,
                       const std::set<std::string>& taken, std::string& scsi, bool& ok)
{
    std::string hostDir = pciPath(c.pci) + fmt("/host%u", c.host);
    w.dir("sys/" + hostDir);
    if (sysfs) {
        // "procNameFile" gives the attribute's exact bytes (a driver that ends the name
        // without a newline); otherwise the name and a newline, as the kernel shows it.
        const std::string procNameFile = c.procNameFile ? *c.procNameFile
                                                        : c.procName.value_or(procNameOfKind(c.driverKind)) + "\n";
        classEntry(w, hostDir, c.host, procNameFile, c.sysfsLinkedClass.value_or(state.sysfsLinkedClass), c.hostScan);
    } else {
        unsigned value = (static_cast<unsigned>(c.pci.bus) << 16) | (static_cast<unsigned>(c.pci.device) << 8) |
                         c.pci.function;
        w.file("proc/scsi/" + procNameOfKind(c.driverKind) + fmt("/hba_map/%u/bus_devfn", c.host), fmt("%u\n", value));
    }
    for (const LogicalDrive& ld : c.lds) {
        if (!ld.disk.present)
            continue;
        std::string name = ld.disk.name;
        if (name.empty()) {
            while (!SimLayout::diskName(disk).empty() && taken.count("sd" + SimLayout::diskName(disk)))
                ++disk;
            if (SimLayout::diskName(disk).empty())
                break;   // no names left
            name = "sd" + SimLayout::diskName(disk++);
        }
        const int index = diskIndex(name);
        if (index < 0) {
            fprintf(stderr, "quillsim: the disk of logical drive %u on host %u: \"%s\" is no disk's name (sda .. sdzz)\n",
                    ld.targetId, c.host, name.c_str());
            ok = false;
            return;
        }
        const ScsiAddress a = diskAddress(c, ld);
        std::string addr = fmt("%u:%u:%u:%u", a.host, a.channel, a.target, a.lun);
        std::string devDir = hostDir + fmt("/target%u:%u:%u", a.host, a.channel, a.target) + "/" + addr;
        w.dir("sys/" + devDir);
        if (sysfs) {
            if (ld.blockAsDirectory)
                w.dir("sys/" + devDir + "/block/" + name);
            else
                w.link("sys/" + devDir + "/block", upTo(devDir) + "block/" + name);
            w.link("sys/bus/scsi/devices/" + addr, upTo("bus/scsi/devices") + devDir);
            w.dir("sys/block/" + name);
        }
        NodeInfo n;
        n.type = 'b';
        n.major = index < 16 ? SD_MAJOR : 65 + (index - 16) / 16;
        n.minor = (index % 16) * 16;
        n.hasScsi = true;
        n.scsi = a;
        w.node("dev/" + name, n, 0660);
        scsi += fmt("Host: scsi%u Channel: %02u Id: %02u Lun: %02u\n", a.host, a.channel, a.target, a.lun);
        scsi += "  Vendor: QUILL    Model: " + c.info.productName.substr(0, 16) +
                " Rev: 4.80\n  Type:   Direct-Access                    ANSI  SCSI revision: 05\n";
    }
}

// The disk nodes named in the description ("sdc"), which the others' names leave out.
std::set<std::string> namedDisks(const HostModel& state)
{
    std::set<std::string> names;
    for (const Controller& c : state.controllers)
        for (const LogicalDrive& ld : c.lds)
            if (ld.disk.present && !ld.disk.name.empty())
                names.insert(ld.disk.name);
    return names;
}

} // namespace

std::string SimLayout::diskName(unsigned n)
{
    if (n < 26)
        return std::string(1, static_cast<char>('a' + n));
    if (n < 702)
        return std::string(1, static_cast<char>('a' + n / 26 - 1)) + static_cast<char>('a' + n % 26);
    return "";
}

bool SimLayout::isSysfsKernel(const std::string& release)
{
    int major = atoi(release.c_str());
    size_t dot = release.find('.');
    int minor = dot == std::string::npos ? 0 : atoi(release.c_str() + dot + 1);
    return major > 2 || (major == 2 && minor >= 5);
}

int SimLayout::create(const std::string& dir, const HostModel& state)
{
    if (!isEmptyOrMissing(dir)) {
        fprintf(stderr, "quillsim: %s exists and is not empty\n", dir.c_str());
        return -1;
    }
    // Like mkdir -p: the missing parents are made too.
    for (size_t slash = dir.find('/', 1); ; slash = dir.find('/', slash + 1)) {
        std::string part = dir.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            fprintf(stderr, "quillsim: cannot create %s: %s\n", part.c_str(), strerror(errno));
            return -1;
        }
        if (slash == std::string::npos)
            break;
    }
    Writer w(dir);
    const bool sysfs = isSysfsKernel(state.kernelRelease);

    std::string devices = "Character devices:\n  1 mem\n  4 /dev/vc/0\n  4 tty\n  5 /dev/tty\n"
                          "  5 /dev/console\n 10 misc\n 13 input\n 21 sg\n";
    for (const Driver& d : state.drivers)
        devices += fmt("%3u ", d.major) + d.name + "\n";
    devices += "\nBlock devices:\n  8 sd\n 65 sd\n";
    w.file("proc/devices", devices, 0444);
    if (!state.procVersion.empty())
        w.file("proc/version", state.procVersion, 0444);
    if (!state.driverVersionFile.empty())
        w.file("sys/bus/pci/drivers/quillraid_sas/version", state.driverVersionFile, 0444);
    if (!state.procMeminfo.empty())
        w.file("proc/meminfo", state.procMeminfo, 0444);
    if (!state.procCpuinfo.empty())
        w.file("proc/cpuinfo", state.procCpuinfo, 0444);
    w.dir("dev");
    w.dir("lib");
    w.dir("sys/block");

    for (const OtherHost& h : state.otherHosts) {
        std::string hostDir = pciPath(h.pci) + fmt("/host%u", h.host);
        w.dir("sys/" + hostDir);
        if (sysfs)
            classEntry(w, hostDir, h.host, h.procName + "\n", h.sysfsLinkedClass.value_or(state.sysfsLinkedClass));
    }

    std::string scsi = "Attached devices:\n";
    unsigned disk = 0;
    bool disksNamed = true;
    const std::set<std::string> taken = namedDisks(state);
    for (const Controller& c : state.controllers)
        if (disksNamed)
            controllerEntries(w, state, c, sysfs, disk, taken, scsi, disksNamed);
    w.file("proc/scsi/scsi", scsi);
    if (!w.ok() || !disksNamed)
        return -1;

    SimState st(dir);
    st.setModel(state);
    return st.save();
}

} // namespace sim
