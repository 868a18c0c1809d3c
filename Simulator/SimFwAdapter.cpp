// Adapter commands of the simulated firmware: the controller-information record and the
// manufacturing OEM data.
#include "Simulator/SimFirmware.h"

namespace sim {

namespace {

const uint32_t OP_ADP_GET_INFO = 0x01010000;
const uint32_t OP_ADP_MFC_GET_OEM_DATA = 0x010E8481;

// The image table: a count, then up to 8 entries of name, version and build time.
const size_t INFO_IMAGE_COUNT = 0xB4;
const size_t INFO_IMAGES = 0xB8;
const size_t INFO_IMAGE_SIZE = 72;
const size_t MAX_IMAGES = 8;

// The ports' SAS addresses: 8 at 0x70, the next 8 at 0x6A0.
const size_t MAX_PORTS = 16;

// Device counts at 0x5C0: virtual drives, degraded, offline, physical devices (every device
// of the drive list and every enclosure), disks (devices of SCSI type 0), critical, failed.
void putDeviceCounts(Bytes& r, const Controller& c)
{
    uint64_t degraded = 0, offline = 0, critical = 0, failed = 0, disks = 0;
    for (const LogicalDrive& ld : c.lds) {
        if (ld.state == LD_STATE_OFFLINE)
            ++offline;
        else if (ld.state == 1 || ld.state == 2)
            ++degraded;
    }
    for (const Drive& d : c.drives) {
        disks += d.type == 0 ? 1 : 0;
        if (d.state == PD_STATE_FAILED)
            ++failed;
        else if (d.state == PD_STATE_REBUILD)
            ++critical;
    }
    const uint64_t counts[] = {c.lds.size(), degraded, offline, c.drives.size() + c.enclosures.size(),
                               disks, critical, failed};
    for (size_t i = 0; i < 7; ++i)
        put16(r, 0x5C0 + 2 * i, counts[i]);
}

// DCMD_ADP_GET_INFO: the 2048-byte controller information record.
uint8_t adpGetInfo(SimState&, Controller& c, SimCommand& cmd)
{
    const ControllerInfo& info = c.info;
    Bytes r(CONTROLLER_INFO_SIZE, 0);
    put16(r, 0x00, info.vendorId);
    put16(r, 0x02, info.deviceId);
    put16(r, 0x04, info.subVendorId);
    put16(r, 0x06, info.subDeviceId);
    put16(r, 0x08, info.controllerId);
    put8(r, 0x20, info.hostInterface);
    put8(r, 0x68, info.deviceInterface);

    put8(r, 0x6F, info.backendPorts);
    for (uint64_t i = 0; i < info.backendPorts && i < MAX_PORTS; ++i)
        put64(r, i < 8 ? 0x70 + 8 * i : 0x6A0 + 8 * (i - 8), info.sasAddress ? info.sasAddress + i : 0);

    size_t images = 0;
    for (const ImageInfo& img : info.images) {
        if (images == MAX_IMAGES)
            break;
        size_t base = INFO_IMAGES + INFO_IMAGE_SIZE * images++;
        putText(r, base, 8, img.name);
        putText(r, base + 8, 32, img.version);
        putText(r, base + 40, 32, img.buildTime);
    }
    put32(r, INFO_IMAGE_COUNT, images);

    put8(r, 0x53C, info.maxArms);
    put8(r, 0x53D, info.maxSpans);
    put8(r, 0x53E, info.maxArrays);
    put8(r, 0x53F, info.maxVirtualDrives);
    putText(r, 0x540, 80, info.productName);
    putText(r, 0x590, 32, info.serialNumber);
    put8(r, 0x5B0, info.devicesPresent);
    putDeviceCounts(r, c);
    put16(r, 0x5D0, info.memoryMB);
    put8(r, 0x5DC, info.raidLevels);
    put8(r, 0x5E0, info.adapterOperations);
    put8(r, 0x5E1, info.raidFeatures);
    put8(r, 0x5E4, info.ldOperations);
    put8(r, 0x5E8, info.minStripExponent);
    put8(r, 0x5E9, info.maxStripExponent);
    put16(r, 0x5FC, info.forwardCompatibility);
    put16(r, 0x5FE, info.backwardCompatibility);
    putText(r, 0x640, 96, info.packageBuild);

    // Drive limits per RAID level: minimum in bits 0-3, maximum in bits 4-15.
    static const struct { size_t off; unsigned minDrives; unsigned maxDrives; } limits[] = {
        {0x760, 1, 32}, {0x762, 2, 2}, {0x764, 3, 32}, {0x768, 3, 32},
        {0x76A, 4, 256}, {0x76C, 6, 256}, {0x76E, 6, 256}, {0x770, 2, 32}, {0x772, 4, 256},
    };
    for (const auto& l : limits)
        put16(r, l.off, (l.maxDrives << 4) | l.minDrives);
    put8(r, 0x788, info.maxVdsPerArray);

    applyPatch(r, info.patch);
    return fwReply(cmd, r);
}

// The controller's 24-byte manufacturing OEM data: byte 0 the OEM id, then feature bytes.
uint8_t adpMfcGetOemData(SimState&, Controller& c, SimCommand& cmd)
{
    const OemData& o = c.mfcOemData;
    const struct { uint8_t value; size_t off; } fields[] = {
        {o.oemId, 0}, {o.clusterDisable, 1}, {o.disableSAS, 2}, {o.maxDisks, 3},
        {o.enableRaid6, 4}, {o.disableWideCache, 5}, {o.disableRaid5, 6}, {o.enableSecurity, 7},
        {o.enableCTIO, 9}, {o.enableSnapShot, 10}, {o.enableSSC, 11},
        {o.enableReducedFeatureSet, 12}, {o.enableCacheOffload, 13}, {o.enableSSCWB, 14},
    };
    Bytes r(OEM_DATA_SIZE, 0);
    for (const auto& f : fields)
        put8(r, f.off, f.value);
    applyPatch(r, o.patch);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_ADP_GET_INFO, CONTROLLER_INFO_SIZE, adpGetInfo),
    fwRead(OP_ADP_MFC_GET_OEM_DATA, OEM_DATA_SIZE, adpMfcGetOemData),
});

} // namespace

} // namespace sim
