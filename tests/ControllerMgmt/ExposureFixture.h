// Test equipment for making logical drives visible: a simulated host laid out from a host
// description (its kernel release, the controllers with their SCSI hosts and logical drives, the
// disks the drives show the host), installed as the OS boundary, with its controllers found as a
// run finds them. The firmware, /proc, sysfs and the disks are the simulated host's; a test reads
// back from it what the code did: the firmware commands from its command log; the SCSI commands
// sent to the disks, the opens and closes of disks and control files and the sleeps from its
// transcript; the lines written to /proc/scsi/scsi and the scan attributes from its files.
//
// Identification pages are written out here, independently of the simulator and of the product.
#ifndef EXPOSURE_FIXTURE_H
#define EXPOSURE_FIXTURE_H

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/ControllerId.h"
#include "SimHostFixture.h"
#include "TestSupport.h"

namespace exposure {

namespace fs = std::filesystem;

typedef std::vector<uint8_t> Bytes;

const uint32_t LD_LIST = 0x03010000;
const uint32_t LD_INFO = 0x03020000;
const uint32_t CTRL_INFO = 0x01010000;

const char NEW_KERNEL[] = "3.10.0-957.el7.x86_64";
const char OLD_KERNEL[] = "2.4.21-4.ELsmp";

// A device-identification page with one 16-byte NAA designator derived from `seed`.
inline Bytes naaPage(uint8_t seed)
{
    Bytes p(24, 0);
    p[1] = 0x83;
    p[3] = 20;      // page length: one 4-byte descriptor header and 16 bytes of name
    p[4] = 0x01;    // binary code set
    p[5] = 0x03;    // designator type NAA
    p[7] = 16;
    p[8] = 0x60;    // NAA 6
    for (int i = 9; i < 24; ++i)
        p[i] = static_cast<uint8_t>(seed * 7 + i);
    return p;
}

inline std::string hexOf(const Bytes& bytes)
{
    std::string hex;
    for (uint8_t b : bytes) {
        char two[3];
        snprintf(two, sizeof two, "%02x", b);
        hex += two;
    }
    return hex;
}

inline Bytes bytesOf(const std::string& hex)
{
    Bytes bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// --- descriptions ------------------------------------------------------------------------------

// A host of a kernel `release` with these controllers (JSON objects) and more keys.
inline std::string hostOf(const std::string& release, const std::string& controllers, const std::string& more = "")
{
    return "{\"kernelRelease\": \"" + release + "\", \"controllers\": [" + controllers + "]" +
           (more.empty() ? "" : ", " + more) + "}";
}

// A controller on SCSI host `scsiHost` (on a PCI bus of that number) with these logical drives.
inline std::string controllerOf(unsigned scsiHost, const std::string& lds, const std::string& more = "")
{
    const std::string n = std::to_string(scsiHost);
    return "{\"host\": " + n + ", \"pci\": {\"bus\": " + n + "}, \"lds\": [" + lds + "]" +
           (more.empty() ? "" : ", " + more) + "}";
}

// A logical drive of target id `target` whose firmware reports the page naaPage(target + 1).
inline std::string ldOf(unsigned target, const std::string& more = "")
{
    return "{\"targetId\": " + std::to_string(target) + ", \"vpd83\": \"" +
           hexOf(naaPage(static_cast<uint8_t>(target + 1))) + "\"" + (more.empty() ? "" : ", " + more) + "}";
}

// The key of a logical drive's disk: named `name` ("sdb"), with more keys.
inline std::string diskOf(const std::string& name, const std::string& more = "")
{
    return "\"disk\": {\"name\": \"" + name + "\"" + (more.empty() ? "" : ", " + more) + "}";
}

const char NO_DISK[] = "\"disk\": {\"present\": false}";

// --- what the host recorded --------------------------------------------------------------------

// A SCSI command sent to a disk, from its transcript line.
struct DiskRequest {
    std::string request;     // "sg-io" or "send-command"
    Bytes cdb;               // SG_IO: the command
    std::string direction;   // SG_IO: "from-device", ...
    unsigned dxferLength = 0;
    unsigned senseLength = 0;
    unsigned timeout = 0;
    Bytes block;             // SCSI_IOCTL_SEND_COMMAND: its header and command
};

inline std::string fieldOf(const std::string& line, const std::string& key)
{
    const std::string tag = " " + key + "=";
    const size_t at = line.find(tag);
    if (at == std::string::npos)
        return "";
    const size_t from = at + tag.size();
    return line.substr(from, line.find(' ', from) - from);
}

// --- the fixture -------------------------------------------------------------------------------

class ExposureTest : public ::testing::Test {
protected:
    LinExpLd* exposer = LinExpLd::instance();

    // Lays out the host of `description` in place of the one before, installs it, finds its
    // controllers and makes the first; the records start empty.
    void describe(const std::string& description)
    {
        site.reset();
        site.reset(new Site(description));
        ASSERT_TRUE(site->host.ready());
        site->controllers.controller(0);   // made before the records start: making it reads the firmware
        initialProcScsi = site->host.file("proc/scsi/scsi");
        site->host.clearCommands();
        site->host.clearTranscript();
    }

    simhost::SimHostFixture& host() { return site->host; }
    // The first controller found, made as a run makes it (null when there is none).
    Controller* controller() { return site->controllers.controller(0); }
    // The adapter number the dispatcher gives the controller.
    void setAdapterNumber(uint8_t n) { controller()->controllerId()->setNumber(n); }

    void setRelease(const std::string& release)
    {
        host().change([release](sim::HostModel& m) { m.kernelRelease = release; });
    }
    void setMaxLds(uint8_t count)
    {
        host().change([count](sim::HostModel& m) { m.controllers.at(0).info.maxVirtualDrives = count; });
    }
    // The firmware answers `status` to every command `opcode`.
    void failWith(uint32_t opcode, unsigned status)
    {
        char text[96];
        snprintf(text, sizeof text, "{\"type\": \"status\", \"opcode\": \"0x%08x\", \"status\": \"0x%02x\"}", opcode,
                 status);
        host().change(simhost::withFault(text));
    }
    // The driver cannot send any command `opcode` (its ioctl fails).
    void transportFails(uint32_t opcode)
    {
        char text[80];
        snprintf(text, sizeof text, "{\"type\": \"ioctl\", \"opcode\": \"0x%08x\"}", opcode);
        host().change(simhost::withFault(text));
    }
    // The logical-drive list reports `count` drives, whatever it holds.
    void reportLdCount(uint32_t count)
    {
        Bytes le = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count >> 16),
                    static_cast<uint8_t>(count >> 24)};
        host().change(simhost::withFault("{\"type\": \"corrupt\", \"opcode\": \"0x03010000\", \"offset\": 0, "
                                         "\"data\": \"" + hexOf(le) + "\"}"));
    }
    // Changes what the disk of logical drive `ld` (list position) is.
    void changeDisk(size_t ld, const std::function<void(sim::LdDisk&)>& edit)
    {
        host().change([ld, edit](sim::HostModel& m) { edit(m.controllers.at(0).lds.at(ld).disk); });
    }

    std::string file(const std::string& relative) const { return site->host.file(relative); }
    // The firmware commands received, and those of one opcode.
    size_t commands() const { return site->host.opcodes().size(); }
    size_t calls(uint32_t opcode) const { return site->host.count(opcode); }

    // The lines written to /proc/scsi/scsi since the host was laid out.
    std::vector<std::string> procScsiLines() const
    {
        std::string text = file("proc/scsi/scsi");
        if (text.compare(0, initialProcScsi.size(), initialProcScsi) == 0)
            text = text.substr(initialProcScsi.size());
        std::vector<std::string> lines;
        for (size_t from = 0, end; from < text.size(); from = end + 1) {
            end = text.find('\n', from);
            if (end == std::string::npos)
                end = text.size() - 1;
            lines.push_back(text.substr(from, end - from + 1));
        }
        return lines;
    }
    size_t procScsiOpens() const { return opensOf("/proc/scsi/scsi"); }
    size_t sleeps() const { return site->host.records("sleep").size(); }
    // Every SCSI command the disks received.
    size_t inquiries() const { return site->host.records("disk").size(); }
    std::vector<DiskRequest> requests(const std::string& kind) const
    {
        std::vector<DiskRequest> found;
        for (const std::string& line : site->host.records("disk")) {
            DiskRequest r;
            r.request = fieldOf(line, "request");
            if (r.request != kind)
                continue;
            r.cdb = bytesOf(fieldOf(line, "cdb"));
            r.direction = fieldOf(line, "dir");
            r.dxferLength = static_cast<unsigned>(atoi(fieldOf(line, "length").c_str()));
            r.senseLength = static_cast<unsigned>(atoi(fieldOf(line, "sense").c_str()));
            r.timeout = static_cast<unsigned>(atoi(fieldOf(line, "timeout").c_str()));
            r.block = bytesOf(fieldOf(line, "block"));
            found.push_back(r);
        }
        return found;
    }
    std::vector<DiskRequest> sgRequests() const { return requests("sg-io"); }
    std::vector<DiskRequest> sendCommandBlocks() const { return requests("send-command"); }
    // The disks and control files opened and not closed again.
    size_t openDescriptors() const
    {
        std::map<std::string, long> open;
        for (const std::string& path : site->host.records("open"))
            ++open[path];
        for (const std::string& path : site->host.records("close"))
            --open[path];
        size_t left = 0;
        for (const auto& entry : open)
            left += entry.second > 0 ? static_cast<size_t>(entry.second) : 0;
        return left;
    }

private:
    struct Site {
        explicit Site(const std::string& description) : host("one", simhost::described(description)) {}
        simhost::SimHostFixture host;
        simhost::SimControllers controllers;   // after the host: released while it is installed
    };

    size_t opensOf(const std::string& path) const
    {
        size_t n = 0;
        for (const std::string& opened : site->host.records("open"))
            n += opened == path;
        return n;
    }

    std::unique_ptr<Site> site;
    std::string initialProcScsi;
};

} // namespace exposure

#endif
