#include "Simulator/Description/SimPresets.h"

#include <cstdio>

namespace sim {

namespace {

const uint16_t ENCLOSURE_ID = 252;
const uint16_t FIRST_DRIVE_ID = 8;
const uint8_t DEVICE_TYPE_ENCLOSURE = 13;   // SCSI peripheral type: enclosure services
const size_t INQUIRY_VENDOR_LENGTH = 8;
const size_t INQUIRY_PRODUCT_LENGTH = 16;
const size_t INQUIRY_REVISION_LENGTH = 4;

PciLocation pci(uint8_t bus, uint8_t device = 0, uint8_t function = 0)
{
    PciLocation p;
    p.bus = bus;
    p.device = device;
    p.function = function;
    return p;
}

HostModel kernelSide(const char* release, bool sasDriverLoaded)
{
    HostModel h;
    h.kernelRelease = release;
    if (!sasDriverLoaded)
        h.drivers.clear();
    // An on-board SATA host that is not ours: discovery must pass it over.
    OtherHost sata;
    sata.host = 0;
    sata.pci = pci(0, 0x1f, 2);
    h.otherHosts.push_back(sata);
    return h;
}

// A SCSI device pads its inquiry texts with blanks.
void blankPadded(Drive& d)
{
    d.vendor.resize(INQUIRY_VENDOR_LENGTH, ' ');
    d.product.resize(INQUIRY_PRODUCT_LENGTH, ' ');
    d.revision.resize(INQUIRY_REVISION_LENGTH, ' ');
}

// The enclosure's own entry in the drive list, as its SES processor answers.
Drive enclosureEntry()
{
    Drive e;
    e.deviceId = ENCLOSURE_ID;
    e.enclosureId = ENCLOSURE_ID;
    e.type = DEVICE_TYPE_ENCLOSURE;
    e.position = 1;
    e.rawBlocks = 0;
    e.coercedBlocks = 0;
    e.vendor = "QUILL";
    e.product = "QSES-12";
    e.revision = "0102";
    blankPadded(e);
    return e;
}

// One controller: `drives` drives in one enclosure; the first `lds` virtual drives take the
// first drives (RAID 1 on two drives when lds is 1, else RAID 0 on one drive each), each on an
// array of its own.
Controller controller(uint16_t host, uint8_t bus, unsigned index, unsigned drives, unsigned lds)
{
    Controller c;
    c.host = host;
    c.pci = pci(bus);
    char serial[32];
    snprintf(serial, sizeof serial, "QR4080%05u", 1001 + index);
    c.info.serialNumber = serial;
    c.info.sasAddress = 0x5a0b0c0d00000000ull + (static_cast<uint64_t>(index) << 8);
    Enclosure encl;
    encl.deviceId = ENCLOSURE_ID;
    encl.slots = static_cast<uint8_t>(drives < 8 ? 8 : drives);
    c.enclosures.push_back(encl);
    const unsigned used = lds == 1 ? 2 : lds;
    for (unsigned i = 0; i < drives; ++i) {
        Drive d;
        d.deviceId = static_cast<uint16_t>(FIRST_DRIVE_ID + i);
        d.enclosureId = ENCLOSURE_ID;
        d.slot = static_cast<uint8_t>(i);
        d.state = i < used ? PD_STATE_ONLINE : PD_STATE_UNCONFIGURED_GOOD;
        blankPadded(d);
        c.drives.push_back(d);
    }
    c.drives.push_back(enclosureEntry());
    const Drive sample;
    for (unsigned t = 0; t < lds; ++t) {
        const bool mirror = lds == 1;
        LogicalDrive ld;
        ld.targetId = static_cast<uint8_t>(t);
        ld.raidLevel = mirror ? 1 : 0;
        ld.drivesPerSpan = mirror ? 2 : 1;
        ld.sizeBlocks = sample.coercedBlocks;
        if (mirror)
            ld.drives = {FIRST_DRIVE_ID, FIRST_DRIVE_ID + 1};
        else
            ld.drives = {static_cast<uint16_t>(FIRST_DRIVE_ID + t)};
        // Each virtual drive lies on an array of its own drives, in one span over all of it.
        Array array;
        array.ref = static_cast<uint16_t>(t);
        array.drives = ld.drives;
        c.arrays.push_back(array);
        Span span;
        span.array = array.ref;
        ld.spans.push_back(span);
        c.lds.push_back(ld);
    }
    return c;
}

// The integrated-RAID library stand-in's answers: one host-cache controller.
Ir2Library integratedRaidLibrary()
{
    Ir2Library lib;
    lib.controllers = {0};
    return lib;
}

// A controller for trying configuration commands: a RAID 1 on the first two drives, and beside
// it unconfigured drives of several sizes and kinds (SAS and SATA disks, two solid-state drives).
Controller configurable()
{
    Controller c = controller(2, 3, 0, 8, 1);
    struct Kind {
        const char* interface;
        const char* media;
        const char* product;
        uint64_t rawBlocks;
        uint64_t coercedBlocks;
    };
    static const Kind kinds[] = {
        {"SAS", "HDD", "QD2000SAS", 3907029168ull, 3905945600ull},    // 2 TB
        {"SATA", "HDD", "QD2000SATA", 3907029168ull, 3905945600ull},
        {"SATA", "HDD", "QD0500SATA", 976773168ull, 975699968ull},    // 500 GB
        {"SAS", "SSD", "QS0400SAS", 781422768ull, 780140544ull},      // 400 GB solid-state
        {"SAS", "SSD", "QS0400SAS", 781422768ull, 780140544ull},
    };
    // Seven drives, so the enclosure shows an empty slot as well (the enclosure's own entry
    // stays last).
    c.drives.erase(c.drives.begin() + 7);
    for (size_t i = 0; i < sizeof kinds / sizeof kinds[0]; ++i) {
        Drive& d = c.drives[i + 2];
        d.interface = kinds[i].interface;
        d.media = kinds[i].media;
        d.product = kinds[i].product;
        d.rawBlocks = kinds[i].rawBlocks;
        d.coercedBlocks = kinds[i].coercedBlocks;
        blankPadded(d);
    }
    return c;
}

} // namespace

std::vector<std::string> SimPresets::names()
{
    return {"no-driver", "one", "two", "old-kernel", "big", "mixed", "configs"};
}

bool SimPresets::state(const std::string& name, HostModel& out)
{
    if (name == "no-driver") {
        out = kernelSide("3.10.0", false);
    } else if (name == "one") {
        out = kernelSide("3.10.0", true);
        out.sysfsLinkedClass = true;
        out.controllers.push_back(controller(2, 3, 0, 4, 1));
        out.ir2Library = integratedRaidLibrary();
    } else if (name == "two") {
        out = kernelSide("3.10.0", true);
        out.sysfsLinkedClass = true;
        out.controllers.push_back(controller(2, 3, 0, 4, 1));
        out.controllers.push_back(controller(3, 4, 1, 4, 1));
        out.ir2Library = integratedRaidLibrary();
    } else if (name == "old-kernel") {
        out = kernelSide("2.4.21-4", true);
        out.controllers.push_back(controller(2, 3, 0, 4, 1));
    } else if (name == "big") {
        out = kernelSide("3.10.0", true);
        out.sysfsLinkedClass = true;
        for (unsigned i = 0; i < 4; ++i)
            out.controllers.push_back(controller(static_cast<uint16_t>(2 + i), static_cast<uint8_t>(3 + i), i, 72, 64));
    } else if (name == "mixed") {
        // Both drivers: a software-RAID controller on host 1 (found before the hardware-RAID
        // controller on host 3, whose sysfs entry comes first) and a hardware-RAID one. Its
        // class entries stay directories of their own, as older sysfs shows them.
        out = kernelSide("3.10.0", true);
        Driver swr;
        swr.kind = DRIVER_KIND_SWR;
        swr.name = "quillraid_swr_ioctl";
        swr.major = 251;
        out.drivers.push_back(swr);
        out.controllers.push_back(controller(3, 4, 0, 4, 1));
        Controller sw = controller(1, 2, 1, 4, 1);
        sw.driverKind = DRIVER_KIND_SWR;
        sw.procNameFile = "quillsr";
        out.controllers.push_back(sw);
    } else if (name == "configs") {
        out = kernelSide("3.10.0", true);
        out.sysfsLinkedClass = true;
        out.controllers.push_back(configurable());
        out.ir2Library = integratedRaidLibrary();
    } else {
        return false;
    }
    return true;
}

} // namespace sim
