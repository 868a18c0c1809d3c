#include "Simulator/SimPresets.h"

#include <cstdio>

namespace sim {

namespace {

const char* const SAS_DRIVER_NODE_NAME = "quillraid_sas_ioctl";
const unsigned SAS_DRIVER_MAJOR = 250;
const char* const SWR_DRIVER_NODE_NAME = "quillraid_swr_ioctl";
const unsigned SWR_DRIVER_MAJOR = 251;

const uint64_t DRIVE_RAW_BLOCKS = 1953525168ull;      // a 1 TB drive
const uint64_t DRIVE_COERCED_BLOCKS = 1952448512ull;  // coerced to a 1 GB boundary
const unsigned ENCLOSURE_ID = 252;
const unsigned PD_STATE_UNCONFIGURED_GOOD = 0x00;
const unsigned PD_STATE_ONLINE = 0x18;

std::string hexString(uint64_t v)
{
    char buf[24];
    snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

Json pci(unsigned bus)
{
    return Json{{"domain", 0}, {"bus", bus}, {"device", 0}, {"function", 0}};
}

Json kernelSide(const char* release, bool sasDriverLoaded)
{
    Json s = Json::object();
    s["format"] = 1;
    s["kernelRelease"] = release;
    s["clock"] = 0;
    s["drivers"] = Json::array();
    if (sasDriverLoaded)
        s["drivers"].push_back(Json{{"kind", 0}, {"name", SAS_DRIVER_NODE_NAME}, {"major", SAS_DRIVER_MAJOR}});
    // An on-board SATA host that is not ours: discovery must pass it over.
    s["otherHosts"] = Json::array({Json{{"host", 0}, {"procName", "ahci"},
                                         {"pci", Json{{"domain", 0}, {"bus", 0}, {"device", 0x1f}, {"function", 2}}}}});
    s["controllers"] = Json::array();
    s["faults"] = Json::array();
    return s;
}

Json drive(unsigned deviceId, unsigned slot, unsigned state)
{
    return Json{{"deviceId", deviceId},
                {"sequence", 1},
                {"enclosureId", ENCLOSURE_ID},
                {"slot", slot},
                {"state", state},
                {"interface", "SAS"},
                {"media", "HDD"},
                {"vendor", "QUILLDSK"},
                {"product", "QD1000SAS"},
                {"revision", "A001"},
                {"rawBlocks", DRIVE_RAW_BLOCKS},
                {"coercedBlocks", DRIVE_COERCED_BLOCKS}};
}

// One controller: `drives` drives in one enclosure; the first `lds` virtual drives take the
// first drives (RAID 1 on two drives when lds is 1, else RAID 0 on one drive each).
Json controller(unsigned host, unsigned bus, unsigned index, unsigned drives, unsigned lds)
{
    char serial[32];
    snprintf(serial, sizeof serial, "QR4080%05u", 1001 + index);
    Json info = {
        {"vendorId", "0x1e7a"},
        {"deviceId", "0x0040"},
        {"subVendorId", "0x1e7a"},
        {"subDeviceId", "0x4080"},
        {"productName", "QuillRAID SAS 4080-8i"},
        {"serialNumber", serial},
        {"packageBuild", "4.80.0-0123"},
        {"sasAddress", hexString(0x5a0b0c0d00000000ull + (static_cast<uint64_t>(index) << 8))},
        {"backendPorts", 8},
        {"memoryMB", 1024},
        {"maxVirtualDrives", 64},
        {"forwardCompatibility", 0},
        {"backwardCompatibility", 0},
        {"images", Json::array({Json{{"name", "APP"}, {"version", "4.800.00-1234"}, {"buildTime", "Mar 03 2014 10:21:07"}},
                                Json{{"name", "BIOS"}, {"version", "6.10.02.0"}, {"buildTime", ""}},
                                Json{{"name", "BTBL"}, {"version", "2.05.00.00-0010"}, {"buildTime", ""}}})},
    };
    Json c = {
        {"host", host},
        {"driverKind", 0},
        {"pci", pci(bus)},
        {"info", info},
        {"mfcOemData", Json{{"oemId", 1}}},
        {"enclosures", Json::array({Json{{"deviceId", ENCLOSURE_ID}, {"slots", drives < 8 ? 8 : drives}}})},
        {"drives", Json::array()},
        {"lds", Json::array()},
    };
    unsigned used = lds == 1 ? 2 : lds;
    for (unsigned i = 0; i < drives; ++i)
        c["drives"].push_back(drive(8 + i, i, i < used ? PD_STATE_ONLINE : PD_STATE_UNCONFIGURED_GOOD));
    for (unsigned t = 0; t < lds; ++t) {
        bool mirror = lds == 1;
        Json members = mirror ? Json::array({8, 9}) : Json::array({8 + t});
        c["lds"].push_back(Json{{"targetId", t},
                                {"sequence", 1},
                                {"name", ""},
                                {"raidLevel", mirror ? 1 : 0},
                                {"stripExponent", 7},
                                {"drivesPerSpan", mirror ? 2 : 1},
                                {"spanDepth", 1},
                                {"state", 3},
                                {"initialized", 1},
                                {"defaultCachePolicy", 0x05},
                                {"currentCachePolicy", 0x05},
                                {"sizeBlocks", DRIVE_COERCED_BLOCKS},
                                {"drives", members}});
    }
    return c;
}

// The integrated-RAID library stand-in's answers: one host-cache controller.
Json integratedRaidLibrary()
{
    return Json{{"controllers", Json::array({0})}, {"initStatus", 0}, {"listStatus", 0}, {"commands", Json::array()}};
}

} // namespace

std::vector<std::string> SimPresets::names()
{
    return {"no-driver", "one", "two", "old-kernel", "big", "mixed"};
}

bool SimPresets::state(const std::string& name, Json& out)
{
    if (name == "no-driver") {
        out = kernelSide("3.10.0", false);
    } else if (name == "one") {
        out = kernelSide("3.10.0", true);
        out["sysfsLinkedClass"] = true;
        out["controllers"].push_back(controller(2, 3, 0, 4, 1));
        out["ir2Library"] = integratedRaidLibrary();
    } else if (name == "two") {
        out = kernelSide("3.10.0", true);
        out["sysfsLinkedClass"] = true;
        out["controllers"].push_back(controller(2, 3, 0, 4, 1));
        out["controllers"].push_back(controller(3, 4, 1, 4, 1));
        out["ir2Library"] = integratedRaidLibrary();
    } else if (name == "old-kernel") {
        out = kernelSide("2.4.21-4", true);
        out["controllers"].push_back(controller(2, 3, 0, 4, 1));
    } else if (name == "big") {
        out = kernelSide("3.10.0", true);
        out["sysfsLinkedClass"] = true;
        for (unsigned i = 0; i < 4; ++i)
            out["controllers"].push_back(controller(2 + i, 3 + i, i, 72, 64));
    } else if (name == "mixed") {
        // Both drivers: a software-RAID controller on host 1 (found before the hardware-RAID
        // controller on host 3, whose sysfs entry comes first) and a hardware-RAID one. Its
        // class entries stay directories of their own, as older sysfs shows them.
        out = kernelSide("3.10.0", true);
        out["drivers"].push_back(Json{{"kind", 1}, {"name", SWR_DRIVER_NODE_NAME}, {"major", SWR_DRIVER_MAJOR}});
        out["controllers"].push_back(controller(3, 4, 0, 4, 1));
        Json swr = controller(1, 2, 1, 4, 1);
        swr["driverKind"] = 1;
        swr["procNameFile"] = "quillsr";
        out["controllers"].push_back(swr);
    } else {
        return false;
    }
    return true;
}

} // namespace sim
