// Adapter commands of the simulated firmware: the controller-information record, the
// manufacturing OEM data and defaults, the controller properties and the alarm, and the BIOS
// data. A record the program writes is taken
// into its named fields; its other bytes stay as the record's patch.
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"

#include <algorithm>


namespace sim {

namespace {

const uint32_t OP_ADP_GET_INFO = 0x01010000;
const uint32_t OP_ADP_MFC_GET_OEM_DATA = 0x010E8481;
const uint32_t OP_ADP_MFC_GET_DEFAULTS = 0x010E0201;
const uint32_t OP_ADP_MFC_SET_DEFAULTS = 0x010E0202;
const uint32_t OP_ADP_MFC_SET_PCI_LINK_SPEED = 0x010E0103;
const uint32_t OP_ADP_GET_PROPERTIES = 0x01020100;
const uint32_t OP_ADP_SET_PROPERTIES = 0x01020200;
const uint32_t OP_ADP_ALARM_GET = 0x01030100;
const uint32_t OP_ADP_ALARM_ENABLE = 0x01030200;
const uint32_t OP_ADP_ALARM_DISABLE = 0x01030300;
const uint32_t OP_ADP_ALARM_SILENCE = 0x01030400;
const uint32_t OP_ADP_BIOS_GET_DATA = 0x010C0100;
const uint32_t OP_ADP_BIOS_SET_DATA = 0x010C0200;

// The image table: a count, then up to 8 entries of name, version and build time.
const size_t INFO_IMAGE_COUNT = 0xB4;
const size_t INFO_IMAGES = 0xB8;
const size_t INFO_IMAGE_SIZE = 72;
const size_t MAX_IMAGES = 8;

// The ports' SAS addresses: 8 at 0x70, the next 8 at 0x6A0.
const size_t MAX_PORTS = 16;

// Device counts at 0x5C0: virtual drives, degraded, offline, physical devices (every device
// of the drive list and every enclosure that has no entry of its own there), disks (devices of SCSI type 0), critical, failed.
void putDeviceCounts(Bytes& r, const Controller& c)
{
    uint64_t degraded = 0, offline = 0, critical = 0, failed = 0, disks = 0;
    for (const LogicalDrive& ld : c.lds) {
        if (ld.state == LD_STATE_OFFLINE)
            ++offline;
        else if (ld.state == 1 || ld.state == 2)
            ++degraded;
    }
    uint64_t devices = c.drives.size();
    for (const Enclosure& e : c.enclosures) {
        bool listed = false;
        for (const Drive& d : c.drives)
            listed = listed || d.deviceId == e.deviceId;
        devices += listed ? 0 : 1;
    }
    for (const Drive& d : c.drives) {
        disks += d.type == 0 ? 1 : 0;
        if (d.state == PD_STATE_FAILED)
            ++failed;
        else if (d.state == PD_STATE_REBUILD)
            ++critical;
    }
    const uint64_t counts[] = {c.lds.size(), degraded, offline, devices,
                               disks, critical, failed};
    for (size_t i = 0; i < 7; ++i)
        put16(r, 0x5C0 + 2 * i, counts[i]);
}

// The level, feature and limit bytes of the controller information.
void putCapabilities(Bytes& r, const ControllerInfo& info)
{
    const struct { size_t off; uint8_t value; } bytes[] = {
        {0x5B1, info.sensorsPresent}, {0x5DC, info.raidLevels}, {0x5DD, info.raidLevelOptions},
        {0x5E0, info.adapterOperations}, {0x5E1, info.raidFeatures}, {0x5E2, info.reportingFeatures},
        {0x5E3, info.storageFeatures}, {0x5E4, info.ldOperations}, {0x5E5, info.ldFeatures},
        {0x5E6, info.sscFeatures}, {0x5E8, info.minStripExponent}, {0x5E9, info.maxStripExponent},
        {0x5EC, info.pdOperations}, {0x5ED, info.powerFeatures}, {0x5F0, info.driveMixing},
        {0x5F8, info.securityState}, {0x5F9, info.sscAndBootState},
    };
    for (const auto& b : bytes)
        put8(r, b.off, b.value);
    put16(r, 0x5F4, info.eccBucketCount);
}

// Drive limits per RAID level code: minimum in bits 0-3, maximum in bits 4-15.
void putDriveLimits(Bytes& r, const DriveLimits& l)
{
    const struct { size_t off; const DriveLimit& limit; } words[] = {
        {0x760, l.raid0}, {0x762, l.raid1}, {0x764, l.raid5}, {0x768, l.raid6}, {0x76A, l.raid10},
        {0x76C, l.raid50}, {0x76E, l.raid60}, {0x770, l.level35}, {0x772, l.raid10Prl11},
    };
    for (const auto& w : words)
        put16(r, w.off, (static_cast<unsigned>(w.limit.max) << 4) | (w.limit.min & 0x0Fu));
}

// The fields that only the information display shows: chip revision, link speed, front-end
// ports, pending images, limits, memory error counts, cluster state, expander version, cache
// size and spin-up rate.
void putDisplayFields(Bytes& r, const ControllerInfo& info)
{
    for (size_t i = 0; i < 2 && i < info.chipRevision.size(); ++i)
        put8(r, 0x0A + i, static_cast<uint8_t>(info.chipRevision[i]));
    put8(r, 0x22, info.linkSpeed);
    put8(r, 0x21, info.pciMaxLinkSpeed);
    size_t ports = info.frontendPorts.size() < 8 ? info.frontendPorts.size() : 8;
    put8(r, 0x27, ports);
    for (size_t i = 0; i < ports; ++i)
        put64(r, 0x28 + 8 * i, info.frontendPorts[i]);
    size_t pending = info.pendingImages.size() < MAX_IMAGES ? info.pendingImages.size() : MAX_IMAGES;
    put32(r, 0x2F8, pending);
    for (size_t i = 0; i < pending; ++i) {
        putText(r, 0x2FC + INFO_IMAGE_SIZE * i, 8, info.pendingImages[i].name);
        putText(r, 0x2FC + INFO_IMAGE_SIZE * i + 8, 32, info.pendingImages[i].version);
    }
    put16(r, 0x5B8, info.maxParallelCommands);
    put16(r, 0x5BA, info.maxSgeCount);
    put32(r, 0x5BC, info.maxTransferSectors);
    put16(r, 0x5D4, info.correctableErrors);
    put16(r, 0x5D6, info.uncorrectableErrors);
    put8(r, 0x5D8, info.clusterPermitted);
    put8(r, 0x5D9, info.clusterActive);
    put16(r, 0x5DA, info.maxStripsPerIo);
    for (size_t i = 0; i < 12 && i < info.expanderVersion.size(); ++i)
        put8(r, 0x794 + i, static_cast<uint8_t>(info.expanderVersion[i]));
    put16(r, 0x7A2, info.fwCacheMB);
    put8(r, 0x7C8, info.spinupPerMinute);
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
    putCapabilities(r, info);
    put16(r, 0x5FC, info.forwardCompatibility);
    put16(r, 0x5FE, info.backwardCompatibility);
    putBytes(r, 0x600, propertiesRecord(c.properties));
    putText(r, 0x640, 96, info.packageBuild);
    putDriveLimits(r, info.driveLimits);
    put8(r, 0x788, info.maxVdsPerArray);
    put8(r, 0x78A, info.keyManagementState);
    put16(r, 0x790, info.maxSscSizeGB);
    put16(r, 0x792, info.sscSizeGB);
    put8(r, 0x7A4, info.piFeatures);
    putText(r, 0x7A8, 32, info.driverVersion);
    put8(r, 0x7A5, info.spareFeatures);
    put8(r, 0x7A6, info.firmwareFeatures);
    put8(r, 0x7C9, info.rocTemperature);
    put8(r, 0x7CA, info.controllerTemperature);
    putDisplayFields(r, info);
    put32(r, 0xB0, info.imageCheckWord);

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

// ---------------------------------------------------------------------------------------------
// The manufacturing defaults.

Bytes mfcDefaultsRecord(const MfcDefaults& d)
{
    Bytes r(MFC_DEFAULTS_SIZE, 0);
    put64(r, 0, d.sasAddress);
    const struct { size_t off; uint8_t value; } bytes[] = {
        {10, d.stripExponent}, {12, d.writePolicy}, {13, d.readPolicy}, {14, d.cacheWhenBbuBad},
        {15, d.cachedIo}, {17, d.alarm}, {18, d.coercion}, {49, d.uncertifiedDrives}, {50, d.treatR1eAsR10},
        {51, d.maxVdsPerArray}, {55, d.powerSavingOptions}, {63, d.jbod}, {64, d.features},
        {31, d.directPdMapping},
    };
    for (const auto& b : bytes)
        put8(r, b.off, b.value);
    put16(r, 56, d.spinDownTime);
    applyPatch(r, d.patch);
    return r;
}

// The defaults written back: the named bytes taken, the rest kept as the patch.
void decodeMfcDefaults(const Bytes& r, MfcDefaults& d)
{
    d.sasAddress = get64(r, 0);
    d.stripExponent = get8(r, 10);
    d.writePolicy = get8(r, 12);
    d.readPolicy = get8(r, 13);
    d.cacheWhenBbuBad = get8(r, 14);
    d.cachedIo = get8(r, 15);
    d.alarm = get8(r, 17);
    d.coercion = get8(r, 18);
    d.directPdMapping = get8(r, 31);
    d.uncertifiedDrives = get8(r, 49);
    d.treatR1eAsR10 = get8(r, 50);
    d.maxVdsPerArray = get8(r, 51);
    d.powerSavingOptions = get8(r, 55);
    d.spinDownTime = get16(r, 56);
    d.jbod = get8(r, 63);
    d.features = get8(r, 64);
}

// The PCI Express link speed of mailbox byte 0 becomes the current one; it takes effect after a
// reboot (status 0x59). A speed above the highest is refused with status 3.
uint8_t adpMfcSetPciLinkSpeed(SimState& state, Controller& c, SimCommand& cmd)
{
    const uint8_t speed = static_cast<uint8_t>(cmd.mailbox[0] & 0xFF);
    if (speed > c.info.pciMaxLinkSpeed)
        return FW_STATUS_INVALID_ARGUMENT;
    c.info.linkSpeed = speed;
    markStateChanged(state);
    return FW_STATUS_REBOOT_REQUIRED;
}

// ---------------------------------------------------------------------------------------------
// The controller properties: bytes and 16-bit words at their offsets.

const struct { size_t off; uint8_t ControllerProperties::*field; } PROPERTY_BYTES[] = {
    {8, &ControllerProperties::rebuildRate}, {9, &ControllerProperties::patrolReadRate},
    {10, &ControllerProperties::bgiRate}, {11, &ControllerProperties::ccRate},
    {12, &ControllerProperties::reconstructionRate}, {13, &ControllerProperties::cacheFlushInterval},
    {14, &ControllerProperties::spinupDriveCount}, {15, &ControllerProperties::spinupDelay},
    {16, &ControllerProperties::clusterEnable}, {17, &ControllerProperties::coercionMode},
    {18, &ControllerProperties::alarmEnabled}, {19, &ControllerProperties::autoRebuildDisabled},
    {20, &ControllerProperties::batteryWarningDisabled}, {21, &ControllerProperties::eccBucketSize},
    {24, &ControllerProperties::restoreHotSpare}, {25, &ControllerProperties::exposeEnclosureDevices},
    {26, &ControllerProperties::maintainPdFailHistory}, {27, &ControllerProperties::reorderingDisabled},
    {28, &ControllerProperties::abortCcOnError}, {29, &ControllerProperties::loadBalanceMode},
    {30, &ControllerProperties::autoDetectBackplaneDisabled}, {31, &ControllerProperties::defaultSnapshotSpace},
    {32, &ControllerProperties::driveFlags}, {33, &ControllerProperties::controllerFlags},
    {34, &ControllerProperties::spareFlags}, {36, &ControllerProperties::autoSnapshotSpace},
    {37, &ControllerProperties::defaultViewSpace}, {40, &ControllerProperties::defaultLdPowerSaving},
    {41, &ControllerProperties::powerSavingDisabledInterval}, {44, &ControllerProperties::spinupEnclosureDriveCount},
    {45, &ControllerProperties::spinupEnclosureDelay}, {47, &ControllerProperties::perfTunedMode},
};
const struct { size_t off; uint16_t ControllerProperties::*field; } PROPERTY_WORDS[] = {
    {0, &ControllerProperties::sequence}, {2, &ControllerProperties::predictiveFailPoll},
    {4, &ControllerProperties::throttleCount}, {6, &ControllerProperties::throttleTime},
    {22, &ControllerProperties::eccBucketLeakRate}, {38, &ControllerProperties::spinDownTime},
    {42, &ControllerProperties::powerSavingDisabledTime},
};
const size_t PROPERTY_PERF_MODE_VALUES = 48;

void decodeProperties(const Bytes& r, ControllerProperties& p)
{
    for (const auto& b : PROPERTY_BYTES)
        p.*b.field = get8(r, b.off);
    for (const auto& w : PROPERTY_WORDS)
        p.*w.field = get16(r, w.off);
    p.perfModeValues.assign(PERF_MODE_VALUES_SIZE, 0);
    for (size_t i = 0; i < PERF_MODE_VALUES_SIZE; ++i)
        p.perfModeValues[i] = get8(r, PROPERTY_PERF_MODE_VALUES + i);
    // Tuning values that are all 0 are the default: none given.
    if (p.perfModeValues == Bytes(PERF_MODE_VALUES_SIZE, 0))
        p.perfModeValues.clear();
}

// DCMD_ADP_SET_PROPERTIES: the record is taken as written, then its sequence number moves on, as
// the controller counts every change of its settings.
uint8_t adpSetProperties(SimState& state, Controller& c, SimCommand& cmd)
{
    storeWritten(cmd.data, c.properties, decodeProperties, propertiesRecord);
    ++c.properties.sequence;
    markStateChanged(state);
    return FW_STATUS_OK;
}

// ---------------------------------------------------------------------------------------------
// The alarm: present when bit 1 of the devices-present byte is set; its switch is properties
// byte 18. Silencing stops the sound of an alarm that went off, which the simulated one never
// does. Without an alarm every alarm command answers "hardware not present".

const uint8_t DEVICE_PRESENT_ALARM = 0x02;

bool alarmFitted(const Controller& c)
{
    return (c.info.devicesPresent & DEVICE_PRESENT_ALARM) != 0;
}

uint8_t adpAlarmGet(SimState&, Controller& c, SimCommand& cmd)
{
    if (!alarmFitted(c))
        return FW_STATUS_HARDWARE_NOT_PRESENT;
    return fwReply(cmd, Bytes{c.properties.alarmEnabled});
}

uint8_t switchAlarm(SimState& state, Controller& c, uint8_t enabled)
{
    if (!alarmFitted(c))
        return FW_STATUS_HARDWARE_NOT_PRESENT;
    if (c.properties.alarmEnabled != enabled) {
        c.properties.alarmEnabled = enabled;
        markStateChanged(state);
    }
    return FW_STATUS_OK;
}

uint8_t adpAlarmEnable(SimState& state, Controller& c, SimCommand&)
{
    return switchAlarm(state, c, 1);
}

uint8_t adpAlarmDisable(SimState& state, Controller& c, SimCommand&)
{
    return switchAlarm(state, c, 0);
}

uint8_t adpAlarmSilence(SimState&, Controller& c, SimCommand&)
{
    return alarmFitted(c) ? FW_STATUS_OK : FW_STATUS_HARDWARE_NOT_PRESENT;
}

// ---------------------------------------------------------------------------------------------
// The BIOS data: its last byte makes the 64 bytes add up to 0; a write that does not is refused.

const size_t BIOS_CHECKSUM = 63;

Bytes biosDataRecord(const BiosData& b)
{
    Bytes r(BIOS_DATA_SIZE, 0);
    put16(r, 0, b.bootDevice);
    put8(r, 2, b.biosDisabled);
    put8(r, 3, b.errorHandling);
    put8(r, 8, b.bootIsPhysical);
    put8(r, 9, b.keyManagementMode);
    put8(r, 10, b.autoSelectBoot);
    uint8_t sum = 0;
    for (size_t i = 0; i < BIOS_CHECKSUM; ++i)
        sum = static_cast<uint8_t>(sum + r[i]);
    put8(r, BIOS_CHECKSUM, static_cast<uint8_t>(0u - sum));
    applyPatch(r, b.patch);
    return r;
}

void decodeBiosData(const Bytes& r, BiosData& b)
{
    b.bootDevice = get16(r, 0);
    b.biosDisabled = get8(r, 2);
    b.errorHandling = get8(r, 3);
    b.bootIsPhysical = get8(r, 8);
    b.keyManagementMode = get8(r, 9);
    b.autoSelectBoot = get8(r, 10);
}

uint8_t adpBiosSetData(SimState& state, Controller& c, SimCommand& cmd)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < BIOS_DATA_SIZE; ++i)
        sum = static_cast<uint8_t>(sum + get8(cmd.data, i));
    if (sum != 0) {
        cmd.note = "refused=checksum";
        return FW_STATUS_INVALID_ARGUMENT;
    }
    return fwWritePart<BiosData, &Controller::bios, decodeBiosData, biosDataRecord>(state, c, cmd);
}

const FwRegistration registration({
    fwRead(OP_ADP_GET_INFO, CONTROLLER_INFO_SIZE, adpGetInfo),
    fwRead(OP_ADP_MFC_GET_OEM_DATA, OEM_DATA_SIZE, adpMfcGetOemData),
    fwRead(OP_ADP_MFC_GET_DEFAULTS, MFC_DEFAULTS_SIZE,
           fwReadPart<MfcDefaults, &Controller::mfcDefaults, mfcDefaultsRecord>),
    fwWrite(OP_ADP_MFC_SET_DEFAULTS, MFC_DEFAULTS_SIZE,
            fwWritePart<MfcDefaults, &Controller::mfcDefaults, decodeMfcDefaults, mfcDefaultsRecord>),
    fwWrite(OP_ADP_MFC_SET_PCI_LINK_SPEED, 0, adpMfcSetPciLinkSpeed),
    fwRead(OP_ADP_GET_PROPERTIES, PROPERTIES_SIZE,
           fwReadPart<ControllerProperties, &Controller::properties, propertiesRecord>),
    fwWrite(OP_ADP_SET_PROPERTIES, PROPERTIES_SIZE, adpSetProperties),
    fwRead(OP_ADP_ALARM_GET, 1, adpAlarmGet),
    fwNoData(OP_ADP_ALARM_ENABLE, adpAlarmEnable),
    fwNoData(OP_ADP_ALARM_DISABLE, adpAlarmDisable),
    fwNoData(OP_ADP_ALARM_SILENCE, adpAlarmSilence),
    fwRead(OP_ADP_BIOS_GET_DATA, BIOS_DATA_SIZE, fwReadPart<BiosData, &Controller::bios, biosDataRecord>),
    fwWrite(OP_ADP_BIOS_SET_DATA, BIOS_DATA_SIZE, adpBiosSetData),
});

} // namespace

Bytes propertiesRecord(const ControllerProperties& p)
{
    Bytes r(PROPERTIES_SIZE, 0);
    for (const auto& b : PROPERTY_BYTES)
        put8(r, b.off, p.*b.field);
    for (const auto& w : PROPERTY_WORDS)
        put16(r, w.off, p.*w.field);
    putBytes(r, PROPERTY_PERF_MODE_VALUES, p.perfModeValues);
    applyPatch(r, p.patch);
    return r;
}

} // namespace sim
