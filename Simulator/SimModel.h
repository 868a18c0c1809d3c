// The simulated host's state as typed data: the kernel side (release, loaded drivers, SCSI
// hosts), the controllers with their firmware state, the faults to inject and the answers of
// the integrated-RAID library stand-in.
//
// Every member starts at the default a host description falls back to when it leaves the key
// out. The model is converted to and from its JSON text only in Description/; nothing
// else knows the text's keys. A new part of the firmware state (arrays, spares, the event log,
// the battery, ...) joins its owner here as a struct with defaults, gets one visit function
// in its section's file of Description/, and its handlers in the opcode group's file of Firmware/.
#ifndef SIMMODEL_H
#define SIMMODEL_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "PavUtil/ImageSignatureWords.h"
#include "Simulator/Firmware/SimFirmwareValues.h"
#include "Simulator/SimBytes.h"

namespace sim {

// Raw bytes laid over a record after its named fields, by offset: fields the model does not
// name yet, odd values and corrupt records.
typedef std::map<uint32_t, Bytes> Patch;

// Driver kinds: the hardware-RAID (SAS) driver and the software-RAID driver.
const int DRIVER_KIND_SAS = 0;
const int DRIVER_KIND_SWR = 1;

struct PciLocation {
    uint16_t domain = 0;
    uint8_t bus = 3;
    uint8_t device = 0;
    uint8_t function = 0;
};

// A character driver listed in proc/devices.
struct Driver {
    int kind = DRIVER_KIND_SAS;
    std::string name = "quillraid_sas_ioctl";
    uint16_t major = 250;
};

// A SCSI host that is not a controller of ours (discovery must pass it over).
struct OtherHost {
    uint16_t host = 0;
    std::string procName = "ahci";
    PciLocation pci;
    std::optional<bool> sysfsLinkedClass;   // unset: the host's setting
};

struct ImageInfo {
    std::string name;
    std::string version;
    std::string buildTime;
};

// A drive-limit word: the minimum drives (of one span, for the spanned levels) and the maximum.
struct DriveLimit {
    uint8_t min = 0;
    uint16_t max = 0;
};

// The drive limits per RAID level code of the controller information.
struct DriveLimits {
    DriveLimit raid0{1, 32};
    DriveLimit raid1{2, 2};
    DriveLimit raid5{3, 32};
    DriveLimit raid6{3, 32};
    DriveLimit raid10{4, 256};        // level code 32, two spans' drives
    DriveLimit raid50{6, 256};        // level code 33
    DriveLimit raid60{6, 256};        // level code 34
    DriveLimit level35{2, 32};        // level code 35; RAID 1 under PRL 11
    DriveLimit raid10Prl11{4, 256};   // level code 32 under PRL 11
};

// The named fields of the 2048-byte controller-information record.
struct ControllerInfo {
    uint16_t vendorId = 0x1e7a;
    uint16_t deviceId = 0x0040;
    uint16_t subVendorId = 0x1e7a;
    uint16_t subDeviceId = 0x4080;
    uint16_t controllerId = 0;
    uint8_t hostInterface = 0x02;
    uint8_t deviceInterface = 0x1E;
    uint64_t sasAddress = 0;          // port i answers sasAddress + i (0: no addresses)
    uint8_t backendPorts = 8;
    std::vector<ImageInfo> images = {{"APP", "4.800.00-1234", "Mar 03 2014 10:21:07"},
                                     {"BIOS", "6.10.02.0", ""},
                                     {"BTBL", "2.05.00.00-0010", ""}};
    uint8_t maxArms = 32;
    uint8_t maxSpans = 8;
    uint8_t maxArrays = 128;
    uint8_t maxVirtualDrives = 64;
    std::string productName = "QuillRAID SAS 4080-8i";
    std::string serialNumber;
    uint8_t devicesPresent = 0x35;
    uint16_t memoryMB = 1024;
    uint8_t raidLevels = 0xF7;
    uint8_t adapterOperations = 0xFF;
    uint8_t raidFeatures = 0x4F;
    uint8_t ldOperations = 0x3F;
    uint8_t minStripExponent = 3;
    uint8_t maxStripExponent = 11;
    uint16_t forwardCompatibility = 0;
    uint16_t backwardCompatibility = 0;
    std::string packageBuild = "4.80.0-0123";
    std::string driverVersion = "06.803.01.00";   // 0x7a8, at most 31 characters
    uint8_t maxVdsPerArray = 16;
    // Capability and state bytes (bit meanings in the README).
    uint8_t sensorsPresent = 0;       // 0x5b1
    uint8_t raidLevelOptions = 0;     // 0x5dd
    uint8_t reportingFeatures = 0;    // 0x5e2
    uint8_t storageFeatures = 0;      // 0x5e3
    uint8_t ldFeatures = 0;           // 0x5e5
    uint8_t sscFeatures = 0;          // 0x5e6
    uint8_t pdOperations = 0;         // 0x5ec
    uint8_t powerFeatures = 0;        // 0x5ed
    uint8_t driveMixing = 0x03;       // 0x5f0
    uint16_t eccBucketCount = 0;      // 0x5f4
    uint8_t securityState = 0;        // 0x5f8
    uint8_t sscAndBootState = 0;      // 0x5f9
    DriveLimits driveLimits;
    uint8_t keyManagementState = 0;   // 0x78a
    uint16_t maxSscSizeGB = 0;        // 0x790 (0: no SSD caching)
    uint16_t sscSizeGB = 0;           // 0x792
    uint8_t piFeatures = 0;           // 0x7a4
    uint8_t spareFeatures = 0;        // 0x7a5
    uint8_t firmwareFeatures = 0;     // 0x7a6
    uint8_t rocTemperature = 0;       // 0x7c9, degrees Celsius
    uint8_t controllerTemperature = 0;   // 0x7ca, degrees Celsius
    std::string chipRevision;         // 0x0a, 2 characters (empty: none)
    uint8_t linkSpeed = 0;            // 0x22, the current PCI Express link speed
    uint8_t pciMaxLinkSpeed = 0;      // 0x21, the highest one it can be set to (0: not settable)
    std::vector<uint64_t> frontendPorts;   // count at 0x27, addresses from 0x28 (at most 8)
    std::vector<ImageInfo> pendingImages;  // count at 0x2f8, entries from 0x2fc (at most 8)
    uint16_t maxParallelCommands = 1008;   // 0x5b8
    uint16_t maxSgeCount = 80;        // 0x5ba
    uint32_t maxTransferSectors = 2048;    // 0x5bc
    uint16_t correctableErrors = 0;   // 0x5d4
    uint16_t uncorrectableErrors = 0; // 0x5d6
    uint8_t clusterPermitted = 0;     // 0x5d8
    uint8_t clusterActive = 0;        // 0x5d9
    uint16_t maxStripsPerIo = 42;     // 0x5da
    std::string expanderVersion;      // 0x794, 12 characters
    uint16_t fwCacheMB = 0;           // 0x7a2
    uint8_t spinupPerMinute = 0;      // 0x7c8
    uint32_t imageCheckWord = imageSignatureWord("QR30");   // the firmware images it takes
    Patch patch;
};

// The 24-byte manufacturing OEM data: the OEM id, then feature bytes.
struct OemData {
    uint8_t oemId = 1;
    uint8_t clusterDisable = 0;
    uint8_t disableSAS = 0;
    uint8_t maxDisks = 0;
    uint8_t enableRaid6 = 0;
    uint8_t disableWideCache = 0;
    uint8_t disableRaid5 = 0;
    uint8_t enableSecurity = 0;
    uint8_t enableCTIO = 0;
    uint8_t enableSnapShot = 0;
    uint8_t enableSSC = 0;
    uint8_t enableReducedFeatureSet = 0;
    uint8_t enableCacheOffload = 0;
    uint8_t enableSSCWB = 0;
    Patch patch;
};

// The 72-byte manufacturing defaults.
struct MfcDefaults {
    uint64_t sasAddress = 0;
    uint8_t stripExponent = 7;        // 64 KB
    uint8_t writePolicy = 1;          // 0 write-through, 1 write-back, 2 adaptive
    uint8_t readPolicy = 1;           // 0 none, 1 read-ahead, 2 adaptive
    uint8_t cacheWhenBbuBad = 0;
    uint8_t cachedIo = 0;
    uint8_t alarm = 1;
    uint8_t coercion = 2;
    uint8_t uncertifiedDrives = 1;    // 0 block, 1 allow, 2 warn and allow
    uint8_t treatR1eAsR10 = 0;
    uint8_t maxVdsPerArray = 0;       // 0 means 16, 1 means 64
    uint8_t powerSavingOptions = 0;
    uint16_t spinDownTime = 30;       // minutes
    uint8_t jbod = 0;
    uint8_t directPdMapping = 0;      // byte 31
    uint8_t features = 0;             // byte 64: bit 4 join mirror disabled
    Patch patch;
};

// The 64-byte controller properties (also at 0x600 of the controller information).
struct ControllerProperties {
    uint16_t sequence = 1;
    uint16_t predictiveFailPoll = 300;
    uint16_t throttleCount = 16;
    uint16_t throttleTime = 50;
    uint8_t rebuildRate = 30;
    uint8_t patrolReadRate = 30;
    uint8_t bgiRate = 30;
    uint8_t ccRate = 30;
    uint8_t reconstructionRate = 30;
    uint8_t cacheFlushInterval = 4;
    uint8_t spinupDriveCount = 2;
    uint8_t spinupDelay = 12;
    uint8_t clusterEnable = 0;
    uint8_t coercionMode = 2;
    uint8_t alarmEnabled = 1;
    uint8_t autoRebuildDisabled = 0;
    uint8_t batteryWarningDisabled = 0;
    uint8_t eccBucketSize = 15;
    uint16_t eccBucketLeakRate = 1440;
    uint8_t restoreHotSpare = 0;
    uint8_t exposeEnclosureDevices = 1;
    uint8_t maintainPdFailHistory = 1;
    uint8_t reorderingDisabled = 0;
    uint8_t abortCcOnError = 0;
    uint8_t loadBalanceMode = 0;
    uint8_t autoDetectBackplaneDisabled = 0;
    uint8_t defaultSnapshotSpace = 0;
    uint8_t driveFlags = 0;           // byte 32
    uint8_t controllerFlags = 0;      // byte 33
    uint8_t spareFlags = 0;           // byte 34
    uint8_t autoSnapshotSpace = 0;
    uint8_t defaultViewSpace = 0;
    uint16_t spinDownTime = 30;
    uint8_t defaultLdPowerSaving = 0;
    uint8_t powerSavingDisabledInterval = 0;
    uint16_t powerSavingDisabledTime = 0;
    uint8_t spinupEnclosureDriveCount = 0;
    uint8_t spinupEnclosureDelay = 0;
    uint8_t perfTunedMode = 0;        // byte 47
    Bytes perfModeValues;             // bytes 48-55 (flush lines, latency per mode)
    Patch patch;
};

// The 32-byte manufacturing data: two dates (packed: day, month, two-digit year), the board's
// serial number and revision.
struct MfgData {
    uint8_t mfgYear = 13;
    uint8_t mfgMonth = 11;
    uint8_t mfgDay = 20;
    uint8_t reworkYear = 0;
    uint8_t reworkMonth = 0;
    uint8_t reworkDay = 0;
    std::string serialNumber = "SK31100417";
    std::string revision = "03A";
    Patch patch;
};

// The 32-byte FRU data: the battery's FRU text (8 bytes) and the cache module's.
struct FruData {
    std::string batteryFru;
    std::string cacheModuleFru;
    Patch patch;
};

// The battery backup unit. Its status record (64 bytes): type (0 none, 1-6 the kinds the
// program knows, others unknown), variant, readings, the firmware's status bits, the gas-gauge
// word, six readings from byte 34 that depend on the type, and the backup charge time.
struct BbuStatus {
    uint8_t type = 1;
    uint8_t variant = 0;
    uint16_t voltage = 4050;          // mV
    int16_t current = 0;              // mA
    uint16_t temperature = 30;        // degrees Celsius
    uint32_t firmwareStatus = 0;
    uint16_t gasGauge = 0xa0;         // fully charged, initialized
    std::vector<uint16_t> readings = {100, 0, 0, 0, 98, 2};   // bytes 34-45, at most 6
    uint8_t chargeTime = 12;          // hours
    Patch patch;
};

// The 48-byte capacity record; times in minutes (0xffff: does not apply).
struct BbuCapacity {
    uint16_t relativeCharge = 100;
    uint16_t absoluteCharge = 98;
    uint16_t remainingCapacity = 1200;
    uint16_t fullChargeCapacity = 1215;
    uint16_t runTimeToEmpty = 0xFFFF;
    uint16_t averageTimeToEmpty = 0xFFFF;
    uint16_t averageTimeToFull = 0xFFFF;
    uint16_t cycleCount = 3;
    uint16_t maxError = 2;
    uint16_t remainingCapacityAlarm = 120;
    uint16_t remainingTimeAlarm = 10;
    Patch patch;
};

// The 64-byte design record (the module's firmware version at 49 is the controller's
// bbuModuleVersion).
struct BbuDesign {
    uint16_t year = 2013;
    uint8_t month = 6;
    uint8_t day = 14;
    uint16_t designCapacity = 1215;   // mAh; joules for type 6
    uint16_t designVoltage = 3700;    // mV
    uint16_t specificationInfo = 33;
    uint16_t serialNumber = 4711;
    uint16_t packStatConfig = 0x2a00;
    std::string manufacturerName = "QUILLPOWER";   // 12 characters at most
    std::string deviceName = "QBU-L1";             // 8
    std::string deviceChemistry = "LION";          // 5
    uint8_t modesSupported = 0;
    uint8_t transparentLearn = 0;
    uint8_t appData = 0;
    Patch patch;
};

// The 32-byte battery properties; the bytes not named are kept as written (patch).
struct BbuProperties {
    uint32_t autoLearnPeriod = 2419200;   // seconds: 4 weeks
    uint32_t nextLearnTime = 0;           // controller time stamp
    uint8_t learnDelayInterval = 0;       // hours
    uint8_t autoLearnMode = 0;            // 0 enabled, 1 disabled, 2 warn via event
    uint8_t bbuMode = 0;                  // 0 undefined
    Patch patch;
};

// One record of the battery's mode list.
struct BbuMode {
    uint8_t id = 0;
    uint8_t retention = 48;           // hours
    uint8_t serviceLife = 3;          // 3 balanced, 5 best, other moderate
    uint8_t flags = 0;                // bit 0: transparent learn cycle
};

struct Battery {
    BbuStatus status;
    BbuCapacity capacity;
    BbuDesign design;
    BbuProperties properties;
    bool modesAvailable = false;      // false: the mode list is answered with status 2
    std::vector<BbuMode> modes;
    Bytes gasGaugeMemory;             // what the raw read of the gas gauge finds, from address 0
};

// One text of the 1024-byte key=value block: "key=value".
struct KeyValue {
    std::string key;
    std::string value;
};

// The 8-byte controller clock; all zero: never set.
struct ControllerClock {
    uint16_t year = 2014;
    uint8_t month = 3;
    uint8_t day = 3;
    uint8_t hour = 10;
    uint8_t minute = 21;
    uint8_t second = 7;
};

// The firmware's terminal log: the text its console wrote, and whether the battery keeps it
// through a power loss (0 off, 1 on, 2 off for this boot).
struct TermLog {
    std::string text;
    uint8_t bbuMode = 1;
};

// The 64-byte BIOS data; its checksum byte is computed.
struct BiosData {
    uint16_t bootDevice = 0xFFFF;     // 0xFFFF: none
    uint8_t biosDisabled = 0;
    uint8_t errorHandling = 0;        // 0 stop on errors
    uint8_t bootIsPhysical = 0;
    uint8_t keyManagementMode = 0;
    uint8_t autoSelectBoot = 0;
    Patch patch;
};

// Patrol-read states of the status record.
const uint8_t PR_STATE_STOPPED = 0;
const uint8_t PR_STATE_ACTIVE = 2;

// One event of the controller's log, kept as the 256-byte record gives it.
struct Event {
    uint32_t seq = 0;                 // required in a description
    uint32_t time = 0;                // seconds since 1 January 2000, or 0xFF in the top byte:
                                      // seconds since the controller booted
    uint32_t code = 0;
    uint16_t locale = 0;              // what the event concerns (0x0001 virtual drives)
    int8_t eventClass = 0;            // 0 information, 1 warning, 2 critical, 3 fatal; below 0 debug
    uint8_t argType = 0;
    Bytes args;                       // the argument area (96 bytes at most)
    std::string description;          // at most 127 characters
};

// The event log: its sequence marks and its events (any order; answered by sequence number).
struct EventLog {
    std::optional<uint32_t> newest;   // unset: the largest sequence number held (0 when none)
    uint32_t oldest = 0;
    uint32_t clear = 0;               // the last clear of the log; a clear moves it past newest
    uint32_t shutdown = 0;            // the last clean shutdown
    uint32_t boot = 0;                // this boot
    std::vector<Event> events;
};

// Advanced event capture as the control command leaves it.
struct EventCapture {
    uint8_t state = 0;                // 0 disabled, 1 stopped, 2 started
    uint32_t startValue = 0;
    uint8_t mode = 0;
    uint32_t filterMask = 0;          // the masks set, less those cleared
    uint32_t captured = 0;            // events captured in the buffer
    uint32_t segments = 0;            // 32 KiB segments in the buffer (at most 64)
};

// The controller performance monitor: started with a collection period, its results answered
// as given (zeros after them, up to the length asked for).
struct PerfMon {
    uint8_t running = 0;
    uint16_t interval = 0;            // seconds, as the last start gave it
    Bytes results;
};

// The drive performance monitor's configuration: 0 off, 1 on; the averaging limits and the
// timer's rate; and the statistics kinds cleared (the masks of the clears, ORed).
struct DpmConfig {
    uint8_t configuration = 0;
    uint8_t value = 0;
    uint16_t maxAveragingCommands = 0;
    uint16_t maxLatencyCommands = 0;
    uint32_t ticksPerSecond = 0;
    uint32_t cleared = 0;
};

// The 208-byte patrol-read properties, and the run the status record reports: a started run
// scans one eligible drive per `secondsPerDrive` of the simulated clock, while not suspended.
struct PatrolReadProperties {
    uint8_t mode = 0;                 // 0 automatic, 1 manual, 2 disabled
    uint8_t maxConcurrentPds = 0;
    uint8_t onSsd = 0;
    uint32_t nextStart = 0;           // seconds since 1 January 2000
    uint32_t executionDelay = 604800; // seconds (a week); 0xFFFFFFFF continuous
    Patch patch;
    uint8_t state = PR_STATE_STOPPED; // 0 stopped, 1 ready, 2 active, 255 aborted
    uint32_t iterations = 0;          // completed runs
    uint8_t pdsCompleted = 0;         // drives done in the current run
    uint64_t startedAt = 0;           // clock at the start, moved on by the time suspended
    std::optional<uint64_t> suspendedAt;   // set: suspended since then
    uint32_t secondsPerDrive = 60;
};

// The 168-byte consistency-check schedule (a controller without it answers status 2), and
// its 16-byte status.
struct CcSchedule {
    bool supported = true;
    uint8_t mode = 0;                 // 0 disabled, 1 sequential, 2 concurrent
    std::vector<uint16_t> excluded;   // target ids, at most 74
    uint32_t nextStart = 0;
    uint32_t executionDelay = 0xFFFFFFFF;   // seconds; 0xFFFFFFFF continuous
    Patch patch;
    uint8_t state = 0;                // 0 stopped, 1 ready, 2 active, 3 aborted
    uint32_t iterations = 0;
    uint8_t vdsCompleted = 0;
};

// The 5-byte connector modes: one mode per connector, at most 4.
struct ConnectorModes {
    std::vector<uint8_t> modes;
    Patch patch;
};

struct Connector {
    uint8_t location = 2;             // 0 unknown, 2 internal, 3 external
    std::string name;
};

// The 168-byte connector information: at most 8 connectors.
struct ConnectorInfo {
    std::vector<Connector> connectors;
    Patch patch;
};

struct Phy {
    uint64_t sasAddress = 0;          // of the attached device
    std::optional<uint8_t> phyId;     // unset: the phy's index
    bool disabled = false;
    uint8_t deviceType = 0;
    uint8_t targetFlags = 0;
    uint8_t linkRate = 0;
    // The phy's error counters, answered by the phy-control command.
    uint32_t invalidDwords = 0;
    uint32_t disparityErrors = 0;
    uint32_t lossOfSync = 0;
    uint32_t resetProblems = 0;
};

// The 264-byte phy list: at most 16 phys.
struct PhyList {
    std::vector<Phy> phys;
    Patch patch;
};

// What the phy-control command answers besides the error counters: the response of a block
// request (its length is what the length probe answers), the entries of the list request
// (20 bytes each) and the payload last written.
struct PhyControl {
    Bytes block;
    Bytes list;                       // the entries, 20 bytes each
    std::optional<uint8_t> listCount; // unset: the entries given
    Bytes written;                    // state: the last payload written
};

// One element type of an enclosure's SES pages: its type descriptor header in the
// configuration page (01h) and its status elements in the enclosure status page (02h).
struct SesElementType {
    uint8_t type = 0;                 // the SES element type code; required in a description
    uint8_t count = 0;                // the header's number of possible elements
    Bytes overall;                    // the overall status element (4 bytes; zeros after)
    Bytes status;                     // the individual status elements, 4 bytes each (zeros after)
};

struct Enclosure {
    uint16_t deviceId = 0;            // required in a description
    uint8_t slots = 8;
    uint8_t powerSupplies = 2;
    uint8_t fans = 3;
    uint8_t temperatureSensors = 1;
    uint8_t alarms = 1;
    uint8_t simModules = 1;
    uint8_t status = 0;               // 0 normal
    uint8_t type = 2;                 // 2 SES
    uint8_t position = 1;
    uint8_t connector = 0;            // 0xFF: on no connector
    std::optional<uint8_t> driveCount;   // unset: the drives that name this enclosure
    Patch patch;                      // offsets within the enclosure's list entry
    // Its SES pages, answered to RECEIVE DIAGNOSTIC RESULTS at the low 8 bits of its device id.
    // No element types: those of the entry's counts (slots as type 17h), all elements zero.
    std::vector<SesElementType> sesElements;
    std::optional<uint8_t> sesTypeCount;      // 01h byte 10; unset: the element types given
    uint8_t sesDescriptorLength = 36;         // 01h byte 11: the enclosure descriptor's bytes after 12
    std::optional<uint16_t> sesConfigLength;  // 01h bytes 2-3; unset: the page's own length
    std::optional<uint16_t> sesStatusLength;  // 02h bytes 2-3; unset: the page's own length
    Patch sesConfigPatch;                     // laid over page 01h
    Patch sesStatusPatch;                     // laid over page 02h
};

// One port of a drive: its SAS address and the connector it is cabled to.
struct DrivePort {
    uint64_t sasAddress = 0;
    uint8_t connector = 0;            // 0xFF: none
    bool passive = false;             // the passive path
};

// A running drive operation and its progress (in 65535ths) and elapsed seconds. The drive
// information record shows rebuild, patrol read and clear; the progress block rebuild, clear,
// copyback and secure erase. An operation the firmware started (`since` set) advances with the
// simulated clock and ends after the controller's `operationSeconds`; one a description gives
// without `since` stays as given.
enum class DriveOperation { REBUILD, PATROL_READ, CLEAR, COPYBACK, SECURE_ERASE };
struct DriveProgress {
    DriveOperation operation = DriveOperation::REBUILD;   // required in a description
    uint16_t progress = 0;
    uint16_t elapsed = 0;
    bool suspended = false;
    std::optional<uint64_t> since;    // the clock when progress was last brought up to date
    std::optional<uint16_t> source;   // a copyback's source drive (this drive is its target)
};

// A device on the drive list: a disk, a tape (type 1) or an enclosure's own entry (type 0x0d,
// enclosure id = its own device id), with the fields of its 512-byte information record.
struct Drive {
    uint16_t deviceId = 0;            // required in a description
    uint16_t sequence = 1;
    uint16_t enclosureId = 0xFFFF;    // 0xFFFF: attached directly, in no enclosure
    uint8_t slot = 0;
    uint8_t type = 0;                 // SCSI device type: 0 disk
    uint8_t state = PD_STATE_UNCONFIGURED_GOOD;
    std::string interface = "SAS";    // one field gives both interface codes of the record
    std::string media = "HDD";
    std::string vendor = "QUILLDSK";
    std::string product = "QD1000SAS";
    std::string revision = "A001";
    uint64_t rawBlocks = 1953525168ull;       // a 1 TB drive
    std::optional<uint64_t> nonCoercedBlocks; // unset: the raw size
    uint64_t coercedBlocks = 1952448512ull;   // coerced to a 1 GB boundary
    Bytes vpd83;                      // device identification: up to 128 bytes in two parts
    uint8_t unsupported = 0;
    uint8_t notCertified = 0;
    uint8_t connectedPorts = 1;
    uint8_t deviceSpeed = 3;          // 1 1.5, 2 3.0, 3 6.0, 4 12.0 Gb/s
    uint8_t linkSpeed = 3;
    uint8_t secondLinkSpeed = 0;
    uint32_t mediaErrors = 0;
    uint32_t otherErrors = 0;
    uint32_t predictiveFailures = 0;
    uint32_t lastPredictiveSeq = 0;
    uint8_t configFlags = 0;          // bits 1-3 in use, bit 4 foreign configuration
    bool widePort = false;
    std::vector<DrivePort> ports;     // at most 4
    uint8_t powerState = 0;           // 0 spun up, 0xff in transition, else spun down
    uint8_t position = 0;             // an enclosure entry's position
    uint16_t slotCount = 0;           // an enclosure entry's slots
    uint8_t flags361 = 0;
    uint8_t flags362 = 0;
    uint16_t partnerId = 0xFFFF;
    uint8_t security = 0;             // bit 0 FDE capable, 1 enabled, 2 secured, 3 locked, 4 foreign lock, 5 key attention
    std::string bridgeVendor;         // a SAS-SATA bridge is present when any of the three is given
    std::string bridgeProduct;
    std::string bridgeRevision;
    uint8_t temperature = 0;          // 0 and 0xff: none
    // What the drive answers to pass-through reads: its ATA identify texts (answered to a SATA
    // drive when any is given), the FRU/CRU text and enclosure serial of its inquiry data, the
    // VPD pages 0x01 and 0xC3 (answered when given), the temperature of its log page and a
    // bridge's firmware versions (its log page answered when any is given).
    std::string ataSerial;
    std::string ataModel;
    std::string ataFirmware;
    std::string fruText;
    std::string enclosureSerial;
    Bytes vpd01;
    Bytes vpdC3;
    Bytes dpmStatistics;              // the statistics the drive performance monitor answers
    uint8_t logTemperature = 0;
    std::string bridgeFirmwareVersion;
    std::string bridgeBootLoaderVersion;
    std::string bridgeConfigVersion;
    uint8_t physicalSectorExponent = 0;
    uint16_t sectorSize = 512;
    uint8_t protection = 0;           // bits 0-2 PI type, 3 formatted, 4 eligible, 7 commissioned spare
    uint8_t spareFlags = 0;           // bit 0 emergency spare
    std::vector<uint16_t> diagnosticsDate;   // year, month, day, hour, minute, second
    uint8_t shieldCounter = 0;
    std::string keyId;                // the drive's security key id (at most 255 characters)
    std::vector<DriveProgress> progress;
    uint32_t allowedOperations = 0;   // the allowed-operations word
    bool locating = false;            // its locate light is on
    bool preparedForRemoval = false;
    // Spin-up before configuration: the device-list operations naming this spun-down drive
    // that are answered 0x55 (still spinning up) before it spins up.
    uint16_t spinUpRounds = 0;
    Patch patch;                      // laid over the drive's information record

    // READ DEFECT DATA: the entries of the drive's primary and grown defect lists, and whether
    // it rejects the request for either list (a device error).
    uint32_t primaryDefects = 0;
    uint32_t grownDefects = 0;
    bool rejectsPrimaryDefects = false;
    bool rejectsGrownDefects = false;
};

// One span of a logical drive: its extent on each drive of one array.
struct Span {
    uint16_t array = 0;               // the array's reference; required in a description
    uint64_t startBlock = 0;
    std::optional<uint64_t> blockCount;   // unset: the array's size
};

// A running logical-drive operation and its progress (in 65535ths) and elapsed seconds. It
// advances by `rate` with the simulated clock unless suspended, and at its end takes its
// effect (Firmware/SimFwLdOperations.cpp).
enum class LdOperation { CONSISTENCY_CHECK, BACKGROUND_INIT, FOREGROUND_INIT, RECONSTRUCTION, SECURE_ERASE };
// What a reconstruction changes: the RAID level, and drives added or removed.
enum class ReconstructKind { OTHER, ADD, REMOVE };
struct LdProgress {
    LdOperation operation = LdOperation::CONSISTENCY_CHECK;   // required in a description
    uint16_t progress = 0;
    uint16_t elapsed = 0;
    uint16_t rate = 656;              // 65535ths per simulated second (about 1 %)
    bool suspended = false;
    // A reconstruction's request.
    std::optional<uint8_t> newRaidLevel = std::nullopt;
    ReconstructKind reconstructKind = ReconstructKind::OTHER;
    std::vector<uint16_t> reconstructDrives = {};   // device ids
    uint8_t expansionPercent = 0;
    // A secure erase deletes the drive at its end.
    bool deleteAfter = false;
};

// The SCSI disk a logical drive shows the host (dev/sd*, and on current kernels its SCSI device
// in sysfs), and how it answers the program's SCSI ioctls (SimDisk.cpp).
const uint32_t DISK_SG_VERSION = 30536;   // what SG_GET_VERSION_NUM answers
const size_t DISK_VPD83_MAX = 255;       // the most bytes a disk's identification page may hold
struct LdDisk {
    bool present = true;              // false: no disk (one the kernel has not added yet)
    std::string name;                 // its node under dev/ ("sdc"); empty: the next free one
    uint8_t channel = 2;              // its SCSI address on the controller's host
    std::optional<uint8_t> target;    // unset: the drive's target id
    uint8_t lun = 0;
    Bytes vpd83;                      // its answer to an INQUIRY of page 0x83, whole; empty: the
                                      // drive's page as the firmware reports it
    uint32_t sgVersion = DISK_SG_VERSION;
    bool rejectsInquiry = false;      // every INQUIRY ends in CHECK CONDITION
    bool ioctlFails = false;          // every SCSI ioctl fails (EIO)
};

struct LogicalDrive {
    uint8_t targetId = 0;             // required in a description
    uint16_t sequence = 1;
    std::string name;
    uint8_t defaultCachePolicy = 0x05;
    uint8_t accessPolicy = 0;
    uint8_t diskCachePolicy = 0;
    std::optional<uint8_t> currentCachePolicy;       // unset: the default policy
    uint8_t bgiDisabled = 0;
    uint8_t powerSavingPolicy = 0;
    std::optional<uint8_t> currentPowerSavingPolicy; // unset: the power-saving policy
    uint8_t propertyFlags = 0;        // properties byte 25
    uint8_t raidLevel = 0;
    uint8_t raidQualifier = 0;
    uint8_t secondaryRaidLevel = 0;
    uint8_t stripExponent = 7;
    uint8_t drivesPerSpan = 1;
    uint8_t spanDepth = 1;
    uint8_t state = LD_STATE_OPTIMAL;
    uint8_t initialized = 1;
    uint8_t encryption = 0;
    uint8_t sscCache = 0;
    uint8_t piType = 0;
    std::optional<uint8_t> currentAccessPolicy;      // unset: the access policy
    uint8_t preservedCache = 0;
    uint8_t badBlocks = 0;
    uint64_t bbmCorrected = 0;        // entries of the bad-block management log
    uint64_t bbmUncorrected = 0;
    uint8_t snapshot = 0;
    uint8_t powerConditions = 0;
    uint8_t cacheAssociation = 0;     // 1: an SSD cache caches the drive
    std::optional<uint32_t> allowedOperations;   // unset: made from the drive's state
    uint64_t sizeBlocks = 0;
    bool sizeIsDriveSize = false;     // the information's size is the drive's (byte 303 bit 0)
    std::vector<LdProgress> progress;
    Bytes vpd83;                      // the identification page as given; empty: one made up
    bool blockAsDirectory = false;    // the SCSI device's "block" entry: a directory, not a link
    LdDisk disk;
    std::vector<uint16_t> drives;     // device ids of the member drives
    std::vector<Span> spans;          // its spans in the configuration
    Patch patch;                      // laid over the logical-drive information record and,
                                      // within its first 256 bytes, the configuration record
    Patch configPatch;                // laid over the configuration record only, after `patch`
};

// A member entry of an array that does not carry its drive's own sequence number or state
// (an outdated member).
struct ArrayMember {
    uint8_t row = 0;                  // the entry's index in `drives`; required in a description
    std::optional<uint16_t> sequence; // unset: the drive's
    std::optional<uint16_t> state;    // unset: the drive's
};

// An array of the configuration: the drives it is made of (each entry carries the drive's
// sequence number and state, unless `members` says otherwise).
struct Array {
    uint16_t ref = 0;                 // the firmware's array number; required in a description
    std::vector<uint16_t> drives;     // device ids, in order
    std::optional<uint64_t> sizeBlocks;   // unset: the smallest member's coerced size
    std::vector<ArrayMember> members;
    Patch patch;                      // laid over the array's configuration record
};

// A hot spare: global unless dedicated to the arrays it lists.
struct Spare {
    uint16_t deviceId = 0;            // required in a description
    bool dedicated = false;
    bool revertible = false;
    bool enclosureAffinity = false;
    std::vector<uint16_t> arrays;     // array references of a dedicated spare
    Patch patch;                      // laid over the spare's configuration record
};

// A firmware download in progress: how the controller goes through the flash commands. It
// lives for one run only and is never part of the description.
struct FlashDownload {
    enum class Phase { CLOSED, OPEN, RECEIVING, COMMITTED };
    Phase phase = Phase::CLOSED;
    uint32_t size = 0;                // announced when the download was opened
    Bytes image;                      // the bytes received so far, in order
};

// The drive-security key the controller holds. A key change is staged by a create with mode 4
// (or 20 for a key held by an external key manager) and completed by the key-change command.
// Bits 1 (key assigned) and 2 (key failed) of info.securityState and info.keyManagementState
// (4: a change waits without new key text) follow it.
struct SecurityKeys {
    std::string key;                  // empty: none, or held by an external key manager
    std::string passPhrase;
    std::string keyId;
    std::string escrowKey;
    bool external = false;            // the key is held by an external key manager
    bool changeStaged = false;
    std::string stagedKey;
    std::string stagedPassPhrase;
    std::string stagedKeyId;
    bool stagedExternal = false;
};

// A foreign configuration: one that drives moved in from another controller carry (the
// drives themselves are in the controller's drive list). Its arrays, logical drives and spares
// are numbered as the other controller numbered them; an import renumbers what collides.
struct ForeignConfig {
    std::vector<Array> arrays;
    std::vector<LogicalDrive> lds;
    std::vector<Spare> spares;
    uint8_t memberState = PD_STATE_ONLINE;   // the state its array records give their drives
    std::vector<uint16_t> outdated;          // drives whose array entries carry sequence number 0
    // The key its locked drives were secured with: until the escrow key is this, the
    // configuration is not seen (empty: its drives are not locked).
    std::string lockKey;
};

struct Controller {
    uint16_t host = 0;                // SCSI host number; required in a description
    int driverKind = DRIVER_KIND_SAS;
    PciLocation pci;
    std::optional<std::string> procName;       // unset: the driver kind's name
    std::optional<std::string> procNameFile;   // the proc_name attribute's exact bytes
    std::optional<bool> sysfsLinkedClass;      // unset: the host's setting
    ControllerInfo info;
    OemData mfcOemData;
    MfcDefaults mfcDefaults;
    uint32_t runtimeStatus = 0;
    ControllerProperties properties;
    BiosData bios;
    MfgData mfgData;
    FruData fruData;
    std::vector<KeyValue> keyValues = {{"delaySOD", "90"}};
    Patch keyValuesPatch;
    ControllerClock time;
    TermLog termLog;
    SecurityKeys securityKeys;
    PatrolReadProperties patrolRead;
    CcSchedule ccSchedule;
    EventLog eventLog;
    EventCapture eventCapture;
    DpmConfig dpm;
    PerfMon perfMon;
    ConnectorModes connectorModes;
    ConnectorInfo connectorInfo;
    PhyList phyList;
    PhyControl phyControl;
    std::vector<Enclosure> enclosures;
    std::vector<Drive> drives;
    std::vector<LogicalDrive> lds;
    std::vector<Array> arrays;
    std::vector<Spare> spares;
    std::vector<ForeignConfig> foreignConfigs;
    std::vector<uint8_t> reservedTargetIds;   // the target-id list of the logical-drive query
    std::string bbuModuleVersion = "01.30.02";   // the cache-protection module's firmware (8 characters)
    uint32_t operationSeconds = 600;  // how long a drive operation started by a command runs (at most 65535)
    std::optional<uint16_t> jbodConversionsLeft;   // unset: drives leave JBOD without limit
    Battery battery;
    // The operating system's view of new logical drives: false leaves the host's `scan`
    // attribute out, so that making a new logical drive visible fails.
    bool hostScan = true;
    FlashDownload flash;              // runtime only
};

// A fault to inject (see SimFaults.h for what each type does).
enum class FaultType { IOCTL, STATUS, SHORT, CORRUPT, MISSING_DRIVER };
enum class FaultMode { ALWAYS, ONCE, TIMES, FROM };

// A frame's mailbox: three 32-bit words, 12 bytes (word 0 in bytes 0-3, low byte first).
const size_t FAULT_MAILBOX_SIZE = 12;

struct Fault {
    FaultType type = FaultType::STATUS;   // required in a description
    // Filters: unset matches every command.
    std::optional<uint32_t> opcode;
    std::optional<uint16_t> host;
    std::optional<int> driverKind;
    Patch mailbox;                        // bytes the command's mailbox must hold there
    // What the fault does.
    int32_t returnValue = -1;             // ioctl
    std::optional<int32_t> errnoValue;    // ioctl; unset: EIO when the return is -1, else 0
    std::optional<uint8_t> status;        // status (required there)
    std::optional<uint32_t> bytes;        // short (required there)
    uint32_t offset = 0;                  // corrupt
    Bytes data;                           // corrupt (required there)
    // When it fires.
    FaultMode mode = FaultMode::ALWAYS;
    uint32_t count = 1;
    uint32_t seen = 0;                    // matching commands so far (kept across runs)
};

// A file whose writes the host's file system fails (see SimFileFaults.h): every write into it,
// or only its close, fails with "no space left" or an I/O error.
enum class FileFailure { WRITE, CLOSE };
enum class FileError { NO_SPACE, IO };

struct FileFault {
    std::string path;                     // as the program names it (required)
    FileFailure fail = FileFailure::WRITE;
    FileError error = FileError::NO_SPACE;
};

// The integrated-RAID library stand-in's answers (read by the stand-in itself).
struct Ir2Command {
    uint32_t type = 0;
    uint32_t code = 0;
    int32_t status = 0;
};

// A device the host-cache driver knows: a cache device, or a virtual drive it may cache.
struct Ir2HostCacheDevice {
    std::string scsiId;                   // the key the command line's device names match
    std::string node;
    std::string secondNode;
    std::string mappedPath;
    std::string vendor;
    std::string model;
    uint8_t state = 0;                    // 0 online, 2 ready for online, other offline
    bool configured = false;
    uint32_t contentWarning = 0;          // 2, 4, 8, 16: data found; 32: a foreign cache device
    uint64_t blocks = 0;                  // 512-byte blocks
    bool busy = false;                    // virtual drives: changes answer "busy"
};

// The host-cache driver behind the library: its devices and what its statistics report.
struct Ir2HostCache {
    uint8_t version = 0x11;               // bits 7-3 major, 2-0 minor
    std::string groupName = "cachegroup0";
    uint32_t maxCacheDevices = 32;
    uint32_t maxVds = 32;
    uint32_t queueDepth = 64;
    uint64_t usedBlocks = 0;
    uint64_t cacheLineBlocks = 128;
    uint64_t cacheWindowBlocks = 2048;
    uint64_t reads = 0;
    uint64_t writes = 0;
    uint64_t hits = 0;
    uint64_t misses = 0;
    std::vector<Ir2HostCacheDevice> cacheDevices;
    std::vector<Ir2HostCacheDevice> vds;
    // The counts the two device lists report (unset: the devices they hold), apart from the
    // configuration page's, which always counts the configured devices.
    std::optional<uint32_t> cacheDeviceListCount;
    std::optional<uint32_t> vdListCount;
};

// A firmware image component of a library controller.
struct Ir2Image {
    std::string name;
    std::string version;
    std::string buildTime;
};

// What a library controller answers to the controller-information and card-health commands.
struct Ir2ControllerInfo {
    uint32_t id = 0;                      // required: the library controller id
    uint16_t deviceId = 0xb0;             // 0xb0: a flash accelerator card
    uint16_t vendorId = 0x1e7a;
    uint16_t subVendorId = 0x1e7a;
    std::string productName = "QuillRAID Flash 400";
    std::string serialNumber;
    uint8_t hostInterface = 0x2;
    uint64_t sasAddress = 0;
    std::vector<uint64_t> backendAddresses;   // at most 16; their number is the port count
    std::optional<uint8_t> portCount;     // unset: the addresses given
    std::vector<Ir2Image> images;         // at most 8
    uint16_t metadataMB = 512;
    uint8_t devicesPresent = 0;           // bit 0 battery unit, 1 alarm, 2 NVRAM
    bool clusterEnable = false;
    bool clusterActive = false;
    uint8_t coercion = 0;
    uint8_t driveFlags = 0;               // bit 4 command queuing disabled, 5 SSD guard
    std::string packageVersion;
    uint8_t piFeatures = 0;               // bit 5 shield state, 6 SSD disk cache disabled
    bool securityCapable = false;
    uint16_t auxiliaryPower = 1;          // 0 not present, 255 not supported
    uint16_t lifeCurveStatus = 0;
    uint32_t lifeLeftPercent = 100;
    uint32_t controllerStatus = 0;        // 0 good, 1 warning, 2 error
};

struct Ir2Library {
    std::vector<uint32_t> controllers;    // library controller ids, in list order
    std::optional<uint16_t> count;        // unset: the list's size
    std::optional<uint16_t> cardCount;    // the card list's count; unset: as the controller list
    int32_t initStatus = 0;
    int32_t listStatus = 0;
    std::vector<Ir2Command> commands;
    Ir2HostCache hostCache;
    std::vector<Ir2ControllerInfo> controllerInfo;
};

struct HostModel {
    uint32_t format = 1;                  // the description format's version
    std::string kernelRelease = "3.10.0";
    // The kernel's version text (/proc/version) and the text of the controller driver's sysfs
    // version file; an empty text leaves the file out.
    std::string procVersion = "Linux version 3.10.0-quill (build@quill) (gcc version 4.8.5) #1 SMP\n";
    std::string driverVersionFile = "06.803.01.00\n";
    // The texts of /proc/meminfo and /proc/cpuinfo; an empty text leaves the file out.
    std::string procMeminfo = "MemTotal:        8041236 kB\nMemFree:         6120012 kB\n";
    std::string procCpuinfo = "processor\t: 0\nmodel name\t: Quill Virtual CPU @ 2.40GHz\n";
    uint64_t hostTime = 0;                // the host's wall clock (seconds since 1970); 0: the real time
    uint64_t clock = 0;                   // simulated seconds since the host was made
    bool sysfsLinkedClass = false;        // class entries as links (current kernels)
    std::vector<Driver> drivers = {Driver()};
    std::vector<OtherHost> otherHosts;
    std::vector<Controller> controllers;
    std::vector<Fault> faults;
    Ir2Library ir2Library;
    std::vector<FileFault> fileFaults;
};

} // namespace sim

#endif
