// The all-in-one report's device section: one block per device of the controller's drive list,
// with the defect counts each disk reports itself.
#include "CpMgmt/CmdPro/Reports/AdpAlIInLogCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Drive/PdFirmwareReads.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/ScsiPassThrough.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/Drive/ZprScsiPages.h"

namespace {

const unsigned BYTES_PER_MB_SHIFT = 20;

// A name by value; the last row (value -1) names every other value.
struct ValueName {
    int value;
    const char* name;
};
const ValueName DEVICE_TYPES[] = {{1, "TAPE"}, {3, "PROCESSOR"}, {5, "CDROM"}, {13, "SES ENCLOSURE"}, {-1, "UNKNOWN"}};
const ValueName LINK_SPEEDS[] = {{1, "1.5Gb/s"}, {2, "3.0Gb/s"}, {3, "6.0Gb/s"}, {4, "12.0Gb/s"}, {-1, "Unknown"}};
const ValueName INTERFACES[] = {{1, "Parallel SCSI"}, {2, "SAS"}, {3, "SATA"}, {4, "FC"}, {-1, "Unknown"}};
const ValueName FIRMWARE_STATES[] = {{1, "Unconfigured(bad)"}, {2, "Hotspare"}, {16, "Offline"}, {17, "Failed"},
                                     {20, "Rebuild"},          {24, "Online"},  {32, "Copyback"}, {-1, "Unknown"}};

template <size_t N>
const char* nameOf(int value, const ValueName (&names)[N])
{
    for (const ValueName& row : names)
        if (row.value == value)
            return row.name;
    return names[N - 1].name;
}

// The drive's operations with their progress entries, in the order shown.
struct DriveOperation {
    unsigned bit;
    size_t entry;
    const char* name;
};
const DriveOperation DRIVE_OPERATIONS[] = {
    {0, ZprDriveInfo::PROGRESS_REBUILD, "Rebuild in progress"},
    {1, ZprDriveInfo::PROGRESS_PATROL_READ, "Patrol Read in progress"},
    {2, ZprDriveInfo::PROGRESS_CLEAR, "Clear in progress"},
};
const uint8_t DRIVE_OPERATION_BITS = 0x07;

// An inquiry text: its bytes with every unprintable one shown as a blank.
void inquiryText(const LeView& bytes, size_t offset, size_t width, char* out)
{
    for (size_t i = 0; i < width; ++i) {
        const uint8_t c = bytes.u8(offset + i);
        out[i] = c >= 0x20 && c < 0x7F ? static_cast<char>(c) : ' ';
    }
    out[width] = '\0';
}

void printFormatted(const char* format, const char* label, long long value)
{
    char text[128];
    snprintf(text, sizeof text, format, label, value);
    printMessage(MSG_TEXT, text);
}

void printSize(const char* label, unsigned int column, uint64_t blocks, uint16_t sectorSize)
{
    char text[48];
    snprintf(text, sizeof text, "%lld MB", static_cast<long long>(blocksToMb(blocks, sectorSize)));
    printMessage(MSG_TEXT, label);
    printMessage(column, text);
}

// Addresses in pairs, as far as the path count goes but no further than the record's four.
void printSasAddresses(const ZprDriveInfo& drive)
{
    const uint32_t paths = drive.portEntryCount();
    for (uint32_t j = 0; j < paths; j += 2) {
        char text[128];
        snprintf(text, sizeof text, "\n%s %d%s0x%-23llx", "SAS Address", static_cast<int>(j), ":     ",
                 static_cast<unsigned long long>(drive.sasAddress(j)));
        printMessage(MSG_TEXT, text);
        snprintf(text, sizeof text, "%s %d%s0x%llx", "SAS Address", static_cast<int>(j + 1), ":       ",
                 static_cast<unsigned long long>(drive.sasAddress(j + 1)));
        printMessage(MSG_TEXT, text);
    }
}

int percentOf(uint16_t progress)
{
    return static_cast<int>(progress * 100u / 65535u);
}

void printDriveProgress(const ZprDriveInfo& drive)
{
    const uint8_t running = drive.operationsInProgress();
    if ((running & DRIVE_OPERATION_BITS) == 0)
        return;
    char text[160];
    snprintf(text, sizeof text, "\n%-35s :", "Drive Progress Information");
    printMessage(MSG_TEXT, text);
    for (const DriveOperation& op : DRIVE_OPERATIONS) {
        if (((running >> op.bit) & 1u) == 0)
            continue;
        snprintf(text, sizeof text, "%-35s : Progress = %d; Elapsed Seconds = %d\n", op.name,
                 percentOf(drive.progress(op.entry)), static_cast<int>(drive.elapsedSeconds(op.entry)));
        printMessage(MSG_TEXT, text);
    }
}

} // namespace

uint64_t blocksToMb(uint64_t blocks, uint16_t sectorSize)
{
    const uint64_t size = sectorSize == 0 ? BASE_BLOCK_SIZE : sectorSize;
    // blocks x size / 1 MiB without overflow, for every sector size and block count.
    const uint64_t high = blocks >> BYTES_PER_MB_SHIFT;
    const uint64_t low = blocks & ((1ull << BYTES_PER_MB_SHIFT) - 1);
    return high * size + ((low * size) >> BYTES_PER_MB_SHIFT);
}

int AdpAlIInLogCp::printDevices(CpController* cpController)
{
    FirmwareBlock list;
    int status = readFirmwarePdList(cpController, list);
    if (status != 0)
        return status;
    const ZprPdList drives = pdListOf(list);
    printMessage(MSG_TEXT, "\n                              Device Information");
    printMessage(MSG_TEXT, "\n                              ==================");
    printMessage(MSG_NEWLINE);
    const uint32_t count = drives.entryCount();
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t info[ZprDriveInfo::SIZE] = {};
        const ZprPdListEntry entry = drives.entry(i);
        status = sendDcmdWithWord(cpController, DCMD_PD_GET_INFO, entry.deviceId(), info, 0);
        if (status != 0)
            return driveUnreadable(adapterNumberOf(cpController), entry.enclosureId(), entry.slotNumber(), status);
        printDeviceBlock(cpController, info, sizeof info);
    }
    return 0;
}

int AdpAlIInLogCp::printDeviceBlock(CpController* cpController, const uint8_t* info, size_t size)
{
    const ZprDriveInfo drive(info, size);
    const LeView& bytes = drive.view();
    char text[ZprDriveInfo::VENDOR_SPECIFIC_SIZE + 1];
    inquiryText(bytes, ZprDriveInfo::VENDOR, ZprDriveInfo::VENDOR_SIZE, text);
    printMessage(MSG_TEXT, "\nDevice Name:       ");
    printMessage(MSG_COLUMN_25, text);
    inquiryText(bytes, ZprDriveInfo::PRODUCT, ZprDriveInfo::PRODUCT_SIZE, text);
    printMessage(MSG_TEXT, "Product Id:          ");
    printMessage(MSG_TEXT, text);
    inquiryText(bytes, ZprDriveInfo::REVISION, ZprDriveInfo::REVISION_SIZE, text);
    printMessage(MSG_TEXT, "\nRev:               ");
    printMessage(MSG_COLUMN_25, text);
    inquiryText(bytes, ZprDriveInfo::VENDOR_SPECIFIC, ZprDriveInfo::VENDOR_SPECIFIC_SIZE, text);
    printMessage(MSG_TEXT, "Vendor Specific:     ");
    printMessage(MSG_TEXT, text);
    if (drive.scsiDeviceType() != 0) {
        printFormatted("%-s%-25lld", "\nDevice ID:         ", drive.deviceId());
        printFormatted("%s%lld\n", "Sequence Number:     ", drive.sequenceNumber());
        printFormatted("%s%-25lld", "Enclosure's ID:    ", drive.enclosureDeviceId());
        printFormatted("%s%lld", "Enclosure index:     ", drive.enclosureIndex());
        printMessage(MSG_TEXT, "\nDevice Type:       ");
        printMessage(MSG_COLUMN_25, nameOf(drive.scsiDeviceType(), DEVICE_TYPES));
        printFormatted("%s%lld\n", "Path Count:          ", drive.portCount());
        printSasAddresses(drive);
    } else {
        printDiskRows(cpController, info, size);
    }
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    return 0;
}

void AdpAlIInLogCp::printDiskRows(CpController* cpController, const uint8_t* info, size_t size)
{
    const ZprDriveInfo drive(info, size);
    printMessage(MSG_TEXT, "\nDevice Type:       ");
    printMessage(MSG_COLUMN_25, "DISK");
    printMessage(MSG_TEXT, "Device ID:           ");
    printMessage(MSG_DECIMAL, static_cast<int>(drive.deviceId()));
    printSasAddresses(drive);
    printFormatted("%-s%-25lld", "\nMedia Error:       ", drive.mediaErrors());
    printFormatted("%-s%lld", "Other Error:         ", drive.otherErrors());
    printFormatted("%-s%-25lld", "\nPredictiveFail:    ", drive.predictiveFailures());
    const uint16_t state = drive.firmwareState();
    printMessage(MSG_TEXT, "Firmware State:      ");
    if (state == 0)
        printMessage(MSG_TEXT, drive.powerState() == PD_POWER_SPUN_UP ? "Unconfigured(good), Spun Up" : "Unconfigured(good), Spun down");
    else
        printMessage(MSG_TEXT, nameOf(state, FIRMWARE_STATES));
    printMessage(MSG_TEXT, "\nSpeed:             ");
    printMessage(MSG_COLUMN_25, nameOf(drive.linkSpeed(), LINK_SPEEDS));
    printMessage(MSG_TEXT, "DDF State:           ");
    printMessage(MSG_TEXT, nameOf(drive.interfaceType(), INTERFACES));
    ignoreStatus(printDefectCounts(cpController, static_cast<uint8_t>(drive.deviceId() & 0xFF)),
                 "a failed read shows \"---\" in place of a count; the drive's other lines follow all the same");
    const uint16_t sectorSize = drive.logicalSectorSize();
    printSize("\nRaw size:          ", MSG_COLUMN_25, drive.rawSize(), sectorSize);
    printSize("Non-coerced size:    ", MSG_TEXT, drive.nonCoercedSize(), sectorSize);
    printSize("\nCoerced size:      ", MSG_COLUMN_25, drive.coercedSize(), sectorSize);
    printMessage(MSG_TEXT, "Enclosure index:     ");
    printMessage(MSG_DECIMAL, static_cast<int>(drive.enclosureIndex()));
    printFormatted("\n%s%-25lld", "Path Count:        ", drive.portCount());
    printMessage(MSG_TEXT, "Slot Number          ");
    printMessage(MSG_DECIMAL, static_cast<int>(drive.slotNumber()));
    printDriveProgress(drive);
}

int AdpAlIInLogCp::printDefectCounts(CpController* cpController, uint8_t target)
{
    uint8_t reply[ZprDefectListHeader::SIZE] = {};
    int status = sendScsiPassThrough(cpController, target, DP_DIRECTION_READ, ZprDefectListHeader::CDB_PRIMARY,
                                     sizeof ZprDefectListHeader::CDB_PRIMARY, reply, sizeof reply);
    char text[96];
    if (status != 0) {
        snprintf(text, sizeof text, "\n%-19s%-25s%-21s---", "Primary Defect:", "---", "Grown Defect:");
        printMessage(MSG_TEXT, text);
        return status;
    }
    snprintf(text, sizeof text, "\n%-19s%-25u", "Primary Defect:", ZprDefectListHeader::entryCount(reply, sizeof reply));
    printMessage(MSG_TEXT, text);
    std::memset(reply, 0, sizeof reply);
    status = sendScsiPassThrough(cpController, target, DP_DIRECTION_READ, ZprDefectListHeader::CDB_GROWN,
                                 sizeof ZprDefectListHeader::CDB_GROWN, reply, sizeof reply);
    if (status != 0)
        snprintf(text, sizeof text, "%-21s---", "Grown Defect:");
    else
        snprintf(text, sizeof text, "%-21s%-25u", "Grown Defect:", ZprDefectListHeader::entryCount(reply, sizeof reply));
    printMessage(MSG_TEXT, text);
    return status;
}
