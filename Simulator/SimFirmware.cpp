#include "Simulator/SimFirmware.h"

#include <cstring>

namespace sim {

namespace {

// Hands the first data-length bytes of a finished record to the caller.
uint8_t reply(SimCommand& cmd, const Bytes& record)
{
    size_t n = cmd.data.size() < record.size() ? cmd.data.size() : record.size();
    if (n > 0)
        memcpy(cmd.data.data(), record.data(), n);
    cmd.dataReturned = true;
    return FW_STATUS_OK;
}

// "patch": {"0x5e3": "04", ...}: raw bytes laid over a record, for fields the state does
// not model by name.
void applyPatch(Bytes& record, const Json& owner)
{
    auto it = owner.is_object() ? owner.find("patch") : owner.end();
    if (!owner.is_object() || it == owner.end() || !it->is_object())
        return;
    for (auto p = it->begin(); p != it->end(); ++p) {
        uint64_t off = 0;
        Bytes bytes;
        if (parseU64(p.key(), off) && p->is_string() && parseHex(p->get<std::string>(), bytes))
            putBytes(record, static_cast<size_t>(off), bytes);
    }
}

const Json& member(const Json& obj, const char* key)
{
    static const Json empty = Json::object();
    if (!obj.is_object())
        return empty;
    auto it = obj.find(key);
    return it != obj.end() ? *it : empty;
}

const Json* findLd(const Json& controller, uint64_t targetId)
{
    const Json* lds = getArray(controller, "lds");
    if (!lds)
        return nullptr;
    for (const Json& ld : *lds)
        if (getU(ld, "targetId", 0xFFFF) == targetId)
            return &ld;
    return nullptr;
}

// Drive states as the firmware codes them.
const uint64_t PD_STATE_FAILED = 0x11;
const uint64_t PD_STATE_REBUILD = 0x14;

// DCMD_ADP_GET_INFO: the 2048-byte controller information record.
uint8_t adpGetInfo(SimState&, Json& controller, SimCommand& cmd)
{
    const Json& info = member(controller, "info");
    Bytes r(CONTROLLER_INFO_SIZE, 0);
    put16(r, 0x00, getU(info, "vendorId"));
    put16(r, 0x02, getU(info, "deviceId"));
    put16(r, 0x04, getU(info, "subVendorId"));
    put16(r, 0x06, getU(info, "subDeviceId"));
    put16(r, 0x08, getU(info, "controllerId"));
    put8(r, 0x20, getU(info, "hostInterface", 0x02));
    put8(r, 0x68, getU(info, "deviceInterface", 0x1E));

    uint64_t sas = getU(info, "sasAddress");
    uint64_t ports = getU(info, "backendPorts", 8);
    put8(r, 0x6F, ports);
    for (uint64_t i = 0; i < ports && i < 16; ++i)
        put64(r, i < 8 ? 0x70 + 8 * i : 0x6A0 + 8 * (i - 8), sas ? sas + i : 0);

    if (const Json* images = getArray(info, "images")) {
        size_t n = 0;
        for (const Json& img : *images) {
            if (n == 8)
                break;
            size_t base = 0xB8 + 72 * n++;
            putText(r, base, 8, getS(img, "name"));
            putText(r, base + 8, 32, getS(img, "version"));
            putText(r, base + 40, 32, getS(img, "buildTime"));
        }
        put32(r, 0xB4, n);
    }

    put8(r, 0x53C, getU(info, "maxArms", 32));
    put8(r, 0x53D, getU(info, "maxSpans", 8));
    put8(r, 0x53E, getU(info, "maxArrays", 128));
    put8(r, 0x53F, getU(info, "maxVirtualDrives", 64));
    putText(r, 0x540, 80, getS(info, "productName"));
    putText(r, 0x590, 32, getS(info, "serialNumber"));
    put8(r, 0x5B0, getU(info, "devicesPresent", 0x35));

    // Device counts: virtual drives, degraded, offline, physical devices, disks, critical, failed.
    uint64_t vds = 0, degraded = 0, offline = 0, disks = 0, critical = 0, failed = 0;
    if (const Json* lds = getArray(controller, "lds"))
        for (const Json& ld : *lds) {
            ++vds;
            uint64_t st = getU(ld, "state", 3);
            if (st == 0)
                ++offline;
            else if (st == 1 || st == 2)
                ++degraded;
        }
    if (const Json* drives = getArray(controller, "drives"))
        for (const Json& d : *drives) {
            ++disks;
            uint64_t st = getU(d, "state", 0);
            if (st == PD_STATE_FAILED)
                ++failed;
            else if (st == PD_STATE_REBUILD)
                ++critical;
        }
    const Json* encls = getArray(controller, "enclosures");
    uint64_t devices = disks + (encls ? encls->size() : 0);
    const uint64_t counts[] = {vds, degraded, offline, devices, disks, critical, failed};
    for (size_t i = 0; i < 7; ++i)
        put16(r, 0x5C0 + 2 * i, counts[i]);

    put16(r, 0x5D0, getU(info, "memoryMB", 1024));
    put8(r, 0x5DC, getU(info, "raidLevels", 0xF7));
    put8(r, 0x5E0, getU(info, "adapterOperations", 0xFF));
    put8(r, 0x5E1, getU(info, "raidFeatures", 0x4F));
    put8(r, 0x5E4, getU(info, "ldOperations", 0x3F));
    put8(r, 0x5E8, getU(info, "minStripExponent", 3));
    put8(r, 0x5E9, getU(info, "maxStripExponent", 11));
    put16(r, 0x5FC, getU(info, "forwardCompatibility", 0));
    put16(r, 0x5FE, getU(info, "backwardCompatibility", 0));
    putText(r, 0x640, 96, getS(info, "packageBuild"));

    // Drive limits per RAID level: minimum in bits 0-3, maximum in bits 4-15.
    static const struct { size_t off; unsigned minDrives; unsigned maxDrives; } limits[] = {
        {0x760, 1, 32}, {0x762, 2, 2}, {0x764, 3, 32}, {0x768, 3, 32},
        {0x76A, 4, 256}, {0x76C, 6, 256}, {0x76E, 6, 256}, {0x770, 2, 32}, {0x772, 4, 256},
    };
    for (const auto& l : limits)
        put16(r, l.off, (l.maxDrives << 4) | l.minDrives);
    put8(r, 0x788, getU(info, "maxVdsPerArray", 16));

    applyPatch(r, info);
    return reply(cmd, r);
}

// The controller's 24-byte manufacturing OEM data: byte 0 the OEM id, then feature bytes.
uint8_t adpMfcGetOemData(SimState&, Json& controller, SimCommand& cmd)
{
    static const struct { const char* key; size_t off; } fields[] = {
        {"oemId", 0}, {"clusterDisable", 1}, {"disableSAS", 2}, {"maxDisks", 3},
        {"enableRaid6", 4}, {"disableWideCache", 5}, {"disableRaid5", 6}, {"enableSecurity", 7},
        {"enableCTIO", 9}, {"enableSnapShot", 10}, {"enableSSC", 11},
        {"enableReducedFeatureSet", 12}, {"enableCacheOffload", 13}, {"enableSSCWB", 14},
    };
    const Json& oem = member(controller, "mfcOemData");
    Bytes r(OEM_DATA_SIZE, 0);
    for (const auto& f : fields)
        put8(r, f.off, getU(oem, f.key, 0));
    applyPatch(r, oem);
    return reply(cmd, r);
}

// DCMD_LD_GET_LIST: count, then one 16-byte entry per logical drive (at most 64).
uint8_t ldGetList(SimState&, Json& controller, SimCommand& cmd)
{
    Bytes r(LD_LIST_SIZE, 0);
    size_t n = 0;
    if (const Json* lds = getArray(controller, "lds"))
        for (const Json& ld : *lds) {
            if (n == LD_LIST_MAX_ENTRIES)
                break;
            size_t e = 8 + 16 * n++;
            put8(r, e + 0, getU(ld, "targetId"));
            put16(r, e + 2, getU(ld, "sequence"));
            put8(r, e + 4, getU(ld, "state", 3));
            put64(r, e + 8, getU(ld, "sizeBlocks"));
        }
    put32(r, 0, n);
    return reply(cmd, r);
}

// DCMD_LD_GET_INFO (mailbox byte 0 = target id): properties, parameters, size, progress and
// the device-identification page of one logical drive.
uint8_t ldGetInfo(SimState&, Json& controller, SimCommand& cmd)
{
    const Json* ld = findLd(controller, cmd.mailbox[0] & 0xFF);
    if (!ld)
        return FW_STATUS_NO_DEVICE;
    Bytes r(LD_INFO_SIZE, 0);
    // Properties (0-31).
    put8(r, 0, getU(*ld, "targetId"));
    put16(r, 2, getU(*ld, "sequence"));
    putText(r, 4, 16, getS(*ld, "name"));
    put8(r, 20, getU(*ld, "defaultCachePolicy", 0x05));
    put8(r, 21, getU(*ld, "accessPolicy", 0));
    put8(r, 22, getU(*ld, "diskCachePolicy", 0));
    put8(r, 23, getU(*ld, "currentCachePolicy", getU(*ld, "defaultCachePolicy", 0x05)));
    put8(r, 24, getU(*ld, "bgiDisabled", 0));
    put8(r, 26, getU(*ld, "powerSavingPolicy", 0));
    put8(r, 27, getU(*ld, "currentPowerSavingPolicy", getU(*ld, "powerSavingPolicy", 0)));
    // Parameters (32-63).
    put8(r, 32, getU(*ld, "raidLevel", 0));
    put8(r, 33, getU(*ld, "raidQualifier", 0));
    put8(r, 34, getU(*ld, "secondaryRaidLevel", 0));
    put8(r, 35, getU(*ld, "stripExponent", 7));
    put8(r, 36, getU(*ld, "drivesPerSpan", 1));
    put8(r, 37, getU(*ld, "spanDepth", 1));
    put8(r, 38, getU(*ld, "state", 3));
    put8(r, 40, getU(*ld, "initialized", 1));
    put8(r, 42, getU(*ld, "encryption", 0));
    put8(r, 47, getU(*ld, "sscCache", 0));
    put8(r, 49, getU(*ld, "piType", 0));
    put8(r, 51, getU(*ld, "currentAccessPolicy", getU(*ld, "accessPolicy", 0)));
    put64(r, 256, getU(*ld, "sizeBlocks"));
    putBytes(r, 304, SimFirmware::ldDeviceIdPage(controller, *ld));
    applyPatch(r, *ld);
    return reply(cmd, r);
}

// The enclosure list record: count at 0, then up to 32 entries of 144 bytes from 8.
const uint32_t OP_ENCL_GET_LIST = 0x09010000;
const size_t ENCL_LIST_SIZE = 4616;
const size_t ENCL_LIST_MAX_ENTRIES = 32;
const size_t ENCL_ENTRY_OFFSET = 8;
const size_t ENCL_ENTRY_SIZE = 144;

// Drives of the controller that sit in the enclosure with this device id.
uint64_t drivesInEnclosure(const Json& controller, uint64_t deviceId)
{
    uint64_t n = 0;
    if (const Json* drives = getArray(controller, "drives"))
        for (const Json& d : *drives)
            if (getU(d, "enclosureId", 0xFFFF) == deviceId)
                ++n;
    return n;
}

// DCMD_ENCL_GET_LIST: one entry per enclosure of the state (at most 32): device id, slot,
// power-supply, fan, sensor, alarm and SIM counts, status (0 normal), type (2 SES), position,
// the connector it hangs on (0xFF none) and the number of drives in it. An enclosure's own
// "patch" is laid over its entry, with offsets within the entry.
uint8_t enclGetList(SimState&, Json& controller, SimCommand& cmd)
{
    Bytes r(ENCL_LIST_SIZE, 0);
    size_t n = 0;
    if (const Json* encls = getArray(controller, "enclosures"))
        for (const Json& encl : *encls) {
            if (n == ENCL_LIST_MAX_ENTRIES)
                break;
            uint64_t deviceId = getU(encl, "deviceId", 0xFFFF);
            Bytes e(ENCL_ENTRY_SIZE, 0);
            put16(e, 0, deviceId);
            put8(e, 3, getU(encl, "slots", 8));
            put8(e, 4, getU(encl, "powerSupplies", 2));
            put8(e, 5, getU(encl, "fans", 3));
            put8(e, 6, getU(encl, "temperatureSensors", 1));
            put8(e, 7, getU(encl, "alarms", 1));
            put8(e, 8, getU(encl, "simModules", 1));
            put8(e, 9, getU(encl, "status", 0));
            put8(e, 10, getU(encl, "type", 2));
            put8(e, 12, getU(encl, "position", 1));
            put8(e, 13, getU(encl, "connector", 0));
            put8(e, 15, getU(encl, "driveCount", drivesInEnclosure(controller, deviceId)));
            applyPatch(e, encl);
            putBytes(r, ENCL_ENTRY_OFFSET + ENCL_ENTRY_SIZE * n++, e);
        }
    put32(r, 0, n);
    return reply(cmd, r);
}

const struct {
    uint32_t opcode;
    SimFirmware::Handler handler;
} HANDLERS[] = {
    {OP_ADP_GET_INFO, adpGetInfo},
    {OP_ADP_MFC_GET_OEM_DATA, adpMfcGetOemData},
    {OP_LD_GET_LIST, ldGetList},
    {OP_LD_GET_INFO, ldGetInfo},
    {OP_ENCL_GET_LIST, enclGetList},
};

} // namespace

SimFirmware::Handler SimFirmware::find(uint32_t opcode)
{
    for (const auto& h : HANDLERS)
        if (h.opcode == opcode)
            return h.handler;
    return nullptr;
}

uint8_t SimFirmware::execute(SimState& state, Json& controller, SimCommand& cmd)
{
    const uint8_t DCMD_FRAME = 5;
    Handler h = cmd.frameCommand == DCMD_FRAME ? find(cmd.opcode) : nullptr;
    if (!h)
        return FW_STATUS_INVALID_COMMAND;
    return h(state, controller, cmd);
}

Bytes SimFirmware::ldDeviceIdPage(const Json& controller, const Json& ld)
{
    Bytes page(64, 0);
    Bytes given;
    if (parseHex(getS(ld, "vpd83"), given) && !given.empty()) {
        putBytes(page, 0, given);
        return page;
    }
    // Header: disk device, page 0x83, page length 20 (one 4-byte descriptor header + 16).
    put8(page, 1, 0x83);
    put8(page, 3, 20);
    // Designation descriptor: binary code set, NAA designator of the logical unit, 16 bytes.
    put8(page, 4, 0x01);
    put8(page, 5, 0x03);
    put8(page, 7, 16);
    // NAA 6 (registered extended): the controller's serial number folded into the identifier,
    // then the target id, so every drive of every simulated controller is told apart.
    uint64_t fold = 1469598103934665603ull;
    for (char c : getS(member(controller, "info"), "serialNumber"))
        fold = (fold ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    uint64_t hi = (0x6ull << 60) | (fold >> 4);
    uint64_t lo = (getU(controller, "host") << 32) | (getU(ld, "targetId") << 16) | getU(ld, "sequence");
    for (int i = 0; i < 8; ++i) {
        put8(page, 8 + i, hi >> (56 - 8 * i));
        put8(page, 16 + i, lo >> (56 - 8 * i));
    }
    return page;
}

} // namespace sim
