// The system summary's enclosure, drive and virtual-drive parts.
#include "CpMgmt/CmdPro/Reports/ShowSummaryCp.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Sas/ZprConnectorInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"

namespace {

// A name by a byte value; values past the table take `other`.
const char* nameOf(const char* const* names, size_t count, unsigned value, const char* other)
{
    return value < count ? names[value] : other;
}

const char* const ENCLOSURE_TYPE_NAMES[] = {"Unknown", "SAFTE", "SES", "SGPIO"};
const char* const CONNECTOR_LOCATION_NAMES[] = {"Unknown", "", "Internal", "External"};
const char* const INTERFACE_NAMES[] = {"Unknown,", "Parallel SCSI,", "SAS,", "SATA,", "FC,"};

const char* enclosureTypeName(uint8_t type)
{
    return nameOf(ENCLOSURE_TYPE_NAMES, sizeof ENCLOSURE_TYPE_NAMES / sizeof ENCLOSURE_TYPE_NAMES[0], type, "Unknown");
}

const char* connectorLocationName(uint8_t location)
{
    return nameOf(CONNECTOR_LOCATION_NAMES, sizeof CONNECTOR_LOCATION_NAMES / sizeof CONNECTOR_LOCATION_NAMES[0],
                  location, "Unknown");
}

struct StateName {
    uint16_t state;
    const char* name;
};
const StateName DRIVE_STATE_NAMES[] = {
    {0, "Unconfigured Good"}, {1, "Unconfigured Bad"}, {16, "Offline"}, {17, "Failed"}, {20, "Rebuild"},
    {24, "Online"},           {32, "Copyback"},        {64, "System"},
};
const unsigned DRIVE_TYPE_GLOBAL_SPARE = 2;
const unsigned DRIVE_TYPE_FOREIGN = 4;

const char* driveStateName(const ZprDriveInfo& info)
{
    if (info.bit(ZprDriveInfo::CONFIG_FLAGS, DRIVE_TYPE_FOREIGN))
        return "Foreign";
    const uint16_t state = info.firmwareState();
    if (state == PD_STATE_HOT_SPARE)
        return info.bit(ZprDriveInfo::CONFIG_FLAGS, DRIVE_TYPE_GLOBAL_SPARE) ? "Global HotSpare" : "Dedicated HotSpare";
    for (const StateName& row : DRIVE_STATE_NAMES)
        if (row.state == state)
            return row.name;
    return "Unknown";
}

// The running drive operation shown, in this order of precedence.
struct OperationName {
    uint32_t bit;
    const char* name;
};
const OperationName DRIVE_OPERATIONS[] = {
    {PdProgressBlock::OP_REBUILD, "Rebuild"},
    {PdProgressBlock::OP_CLEAR, "Clear"},
    {PdProgressBlock::OP_COPYBACK, "Copyback"},
    {PdProgressBlock::OP_PATROL_READ, "Patrol Read"},
};
const OperationName LD_OPERATIONS[] = {
    {0x01, "Consistency Check"},
    {0x02, "Background Initialization"},
    {0x04, "Initialization"},
    {0x08, "Reconstruction"},
};

const char* const LD_STATE_NAMES[] = {"Offline", "Partially Degraded", "Degraded"};

// Inquiry bytes as text, a byte that is not printable shown as a blank.
void inquiryText(const ZprDriveInfo& info, size_t offset, size_t width, char* out)
{
    for (size_t i = 0; i < width; ++i) {
        const uint8_t c = info.view().u8(offset + i);
        out[i] = std::isprint(c) ? static_cast<char>(c) : ' ';
    }
    out[width] = '\0';
}

} // namespace

int ShowSummaryCp::printEnclosures(CpController* cpController, RaidManager* manager, int adapterNumber)
{
    const ZprEnclosureList enclosures(enclosureList, sizeof enclosureList);
    if (enclosures.entryCount() != 0)
        put("\n        Enclosure\n");
    for (uint32_t i = 0; i < enclosures.entryCount(); ++i) {
        const ZprEnclosureEntry entry = enclosures.entry(i);
        if (manager->getPdByDeviceId(entry.deviceId()) == nullptr)
            continue;
        uint8_t record[ZprDriveInfo::SIZE] = {};
        int status = sendDcmdWithWord(cpController, DCMD_PD_GET_INFO, entry.deviceId(), record, 0);
        if (status != 0) {
            printMessage(MSG_ADAPTER_TEXT, adapterNumber, "Failed to get Inquiry data of the Enclosure\n");
            return status;
        }
        char product[ZprDriveInfo::PRODUCT_SIZE + 1];
        inquiryText(ZprDriveInfo(record, sizeof record), ZprDriveInfo::PRODUCT, ZprDriveInfo::PRODUCT_SIZE, product);
        putf("                 Product Id        : %s\n", product);
        putf("                 Type              : %s\n", enclosureTypeName(entry.type()));
        putf("                 Status            : %s\n\n", entry.status() != 0 ? "Faulty" : "OK");
    }
    return 0;
}

void ShowSummaryCp::printConnector(CpController* cpController, PhysicalDevice* drive, const ZprDriveInfo& info,
                                   int* result)
{
    char line[256];
    if (drive->isBehindEnclosure() == 1) {
        string* name = nullptr;
        uint8_t location = 0;
        uint8_t position = 0;
        ignoreStatus(drive->getConnectorName(&name), "an unread name stays null: printed empty");
        ignoreStatus(drive->getConnectorLocation(&location), "an unread location keeps 0");
        ignoreStatus(drive->getEnclosurePosition(&position), "an unread position keeps 0");
        put(name != nullptr ? printableText(name->c_str()).c_str() : "");
        delete name;
        if (toFile())
            snprintf(line, sizeof line, "<%s><Encl Pos %d>", connectorLocationName(location), position);
        else
            snprintf(line, sizeof line, "<%s><Encl Pos %d >", connectorLocationName(location), position);
        put(line);
        return;
    }
    uint8_t connectors[ZprConnectorInfo::SIZE] = {};
    *result = sendDcmd(cpController, DCMD_SAS_GET_CONNECTOR_INFO, connectors);
    if (*result != 0)
        return;
    const ZprConnectorInfo table(connectors, sizeof connectors);
    const uint8_t index = info.connectorIndex(0);
    char name[ZprConnectorInfo::NAME_WIDTH + 1] = {};
    uint8_t location = 0;
    if (index < ZprConnectorInfo::MAX_ENTRIES) {
        table.name(index, name, sizeof name);
        location = table.location(index);
    }
    snprintf(line, sizeof line, toFile() ? "%s<%s> " : "%s<%s>", makePrintable(name),
             connectorLocationName(location));
    put(line);
}

int ShowSummaryCp::printDrive(CpController* cpController, RaidManager* manager, uint16_t deviceId,
                              uint16_t enclosureId, uint8_t slot)
{
    uint8_t record[ZprDriveInfo::SIZE] = {};
    int status = sendDcmdWithWord(cpController, DCMD_PD_GET_INFO, deviceId, record, 0);
    if (status != 0)
        return driveUnreadable(adapterNumber, enclosureId, slot, status);
    const ZprDriveInfo info(record, sizeof record);
    // The model makes an element for any device id it is asked for: none means no memory.
    PhysicalDevice* drive = manager->getPdByDeviceId(info.deviceId());
    if (drive == nullptr) {
        printMessage(MSG_NO_MEMORY, "PD");
        return -1;
    }
    if (info.enclosureDeviceId() == info.deviceId())
        return 0;
    put("                Connector          : ");
    printConnector(cpController, drive, info, &status);
    if (status != 0)
        return status;
    putf(toFile() ? ": Slot %d\n" : ": Slot %d \n", info.slotNumber());
    char text[ZprDriveInfo::PRODUCT_SIZE + 1];
    inquiryText(info, ZprDriveInfo::VENDOR, ZprDriveInfo::VENDOR_SIZE, text);
    putf("                Vendor Id          : %s\n", text);
    inquiryText(info, ZprDriveInfo::PRODUCT, ZprDriveInfo::PRODUCT_SIZE, text);
    putf("                Product Id         : %s\n", text);
    putf("                State              : %s\n", driveStateName(info));
    putf("                Disk Type          : %s%s%s\n",
         nameOf(INTERFACE_NAMES, sizeof INTERFACE_NAMES / sizeof INTERFACE_NAMES[0], info.interfaceType(), "Unknown,"),
         info.bit(ZprDriveInfo::SECURITY_FLAGS, ZprDriveInfo::SEC_FDE_CAPABLE) ? "FDE," : "",
         info.mediaType() != 0 ? "Solid State Device" : "Hard Disk Device");
    char capacity[CAPACITY_TEXT_SIZE];
    formatCapacity(info.coercedSize() / 2, capacity);
    putf("                Capacity           : %s\n", capacity);
    putf("                Power State        : %s\n", info.powerState() == PD_POWER_SPUN_UP ? "Active" : "Spun down");
    uint8_t progress[PdProgressBlock::SIZE] = {};
    if (drive->getProgress(progress) == 0) {
        const uint32_t running = PdProgressBlock(progress, sizeof progress).running();
        for (const OperationName& op : DRIVE_OPERATIONS) {
            if ((running & op.bit) != 0) {
                putf("                Operation In Progress : %s\n", op.name);
                break;
            }
        }
    }
    put("\n");
    return 0;
}

int ShowSummaryCp::printDrives(CpController* cpController, RaidManager* manager)
{
    const ZprPdList drives(pdList, pdListSize);
    if (drives.entryCount() != 0) {
        if (toFile())
            put("        PD \n");
        else
            put("        PD ");
        screenNewline();
    }
    for (uint32_t i = 0; i < drives.entryCount(); ++i) {
        const ZprPdListEntry entry = drives.entry(i);
        int status = printDrive(cpController, manager, entry.deviceId(), entry.enclosureId(), entry.slotNumber());
        if (status != 0)
            return status;
    }
    return 0;
}

void ShowSummaryCp::printLdOperationsAndLevel(const uint8_t* record, size_t size)
{
    const ZprLdInfo info(record, size);
    const ZprLdParameters parameters = info.parameters();
    const uint32_t running = info.runningOperations();
    if ((running & 0x0F) != 0) {
        put("                Operation In Progress : ");
        for (const OperationName& op : LD_OPERATIONS) {
            if ((running & op.bit) != 0) {
                put(op.name);
                if (toFile())
                    put("\n");
            }
        }
        if (!toFile())
            screenNewline();
    }
    put("                RAID Level         : ");
    if (parameters.byteAt(ZprLdParameters::SSD_CACHE) != 0) {
        putEither("Tidewell\n", "Tidewell \n");
        return;
    }
    uint8_t level = parameters.byteAt(ZprLdParameters::PRIMARY_RAID_LEVEL);
    if (level == ZprLdParameters::RAID_LEVEL_MULTI_MIRROR)
        level = 1;
    // A spanned drive's level reads as the level followed by 0: 10, 50, 60.
    const char* format = toFile() ? "%d\n" : "%d ";
    if (parameters.byteAt(ZprLdParameters::SPAN_DEPTH) > 1) {
        putf("%d", level);
        putf(format, 0);
    } else {
        putf(format, level);
    }
    screenNewline();
}

int ShowSummaryCp::printLogicalDrives(CpController* cpController, Adapter* adapter)
{
    const ZprLdList lds(ldList, sizeof ldList);
    if (lds.entryCount() != 0) {
        put("Storage\n\n");
        putEither("       Virtual Drives\n", "       Virtual Drives");
        screenNewline();
    }
    uint8_t snapshots = 0;
    if (adapter->isSnapshotSupported(&snapshots) != 0)
        snapshots = 0;
    for (uint32_t i = 0; i < lds.entryCount(); ++i) {
        uint8_t record[ZprLdInfo::SIZE] = {};
        int status = sendDcmdWithWord(cpController, DCMD_LD_GET_INFO, lds.targetId(i), record, 0);
        if (status != 0)
            return vdUnreadable(adapterNumber, lds.targetId(i), status);
        const ZprLdInfo info(record, sizeof record);
        char name[ZprLdProperties::NAME_SIZE + 1];
        info.properties().name(name, sizeof name);
        const int targetId = info.properties().byteAt(ZprLdProperties::TARGET_ID);
        putf(toFile() ? "                Virtual drive      : Target Id %d,VD name %s\n"
                      : "                Virtual drive      : Target Id %d ,VD name %s\n",
             targetId, makePrintable(name));
        char capacity[CAPACITY_TEXT_SIZE];
        formatCapacity(info.sizeBlocks() / 2, capacity);
        putf("                Size               : %s\n", capacity);
        const uint8_t state = info.parameters().state();
        putf("                State              : %s\n",
             nameOf(LD_STATE_NAMES, sizeof LD_STATE_NAMES / sizeof LD_STATE_NAMES[0], state, "Optimal"));
        printLdOperationsAndLevel(record, sizeof record);
        if (snapshots != 0)
            putf("                Snapshot State     : %s\n", info.snapshotEnabled() != 0 ? "Enabled" : "Disabled");
        put("\n");
    }
    return 0;
}
