// The three text blocks of a drive: identity, state and security. Each is built whole from the
// cached drive information record, the controller's answers and the drive's own pass-through
// reads, and returned as one string that the processors print at once. A failed query never
// drops the block: it drops or changes only the line that depends on it.
#include "RaidManager/Zpr/PdDataZpr.h"

#include <cstdio>
#include <cstring>

#include "Output/VoMessage.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/DiskGroup.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"

namespace {

typedef ZprDriveInfo Info;

const uint8_t SCSI_TYPE_TAPE = 1;
const size_t WWN_AREA_SIZE = 2 * Info::DEVICE_ID_DATA_SIZE;
const unsigned WWN_TYPE_SCSI_NAME = 8;
const size_t ATA_TEXT_SIZE = 68;
const size_t FRU_CRU_SIZE = 12;
const size_t TEMPERATURE_PAGE_SIZE = 32;
const size_t TEMPERATURE_PAGE_VALUE = 9;
const size_t BRIDGE_PAGE_SIZE = 158;

// The interface and speed words by code 1 to 4; any other code reads "Unknown".
const char* const INTERFACE_WORDS[] = {"Parallel SCSI", "SAS", "SATA", "FC"};
const char* const SPEED_WORDS[] = {"1.5Gb/s", "3.0Gb/s", "6.0Gb/s", "12.0Gb/s"};
const char* const UNKNOWN_WORD = "Unknown";
const char* const NOT_AVAILABLE = "N/A";

const char* codeWord(const char* const (&words)[4], unsigned code)
{
    return code >= 1 && code <= 4 ? words[code - 1] : UNKNOWN_WORD;
}

struct StateText {
    uint16_t state;
    const char* spunUp;      // the text itself for a state without power forms
    const char* spunDown;    // null: the state has one text
    const char* transition;
};

const StateText STATE_TEXTS[] = {
    {0x00, "Unconfigured(good), Spun Up", "Unconfigured(good), Spun down", "Unconfigured(good), Transition"},
    {0x01, "Unconfigured(bad)", nullptr, nullptr},
    {0x02, "Hotspare, Spun Up", "Hotspare, Spun down", "Hotspare, Transition"},
    {0x10, "Offline", nullptr, nullptr},
    {0x11, "Failed", nullptr, nullptr},
    {0x14, "Rebuild", nullptr, nullptr},
    {0x18, "Online, Spun Up", "Online, Spun down", "Online, Transition"},
    {0x20, "Copyback", nullptr, nullptr},
    {0x40, "JBOD", nullptr, nullptr},
    {0x80, "UnConfigured - shielded", nullptr, nullptr},
    {0x82, "Hot Spare - shielded", nullptr, nullptr},
    {0x90, "Configured - shielded", nullptr, nullptr},
};

const char* stateText(uint16_t state, uint8_t power)
{
    for (const StateText& row : STATE_TEXTS) {
        if (row.state != state)
            continue;
        if (row.spunDown == nullptr || power == PD_POWER_SPUN_UP)
            return row.spunUp;
        return power == PD_POWER_TRANSITION ? row.transition : row.spunDown;
    }
    return UNKNOWN_WORD;
}

const char* const PI_TEXTS[] = {"No PI",          "PI with type 1", "PI with type 2", "PI with type 3",
                                "PI with type 4", "PI with type 5", "PI with type 6", "PI with type 7"};

const char* yesNo(bool yes)
{
    return yes ? "Yes" : "No";
}

bool isPrintable(uint8_t c)
{
    return c >= 0x20 && c < 0x7F;
}

// `count` bytes, each one that is not printable shown as a blank.
void appendPrintable(string& out, const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out += static_cast<char>(isPrintable(bytes[i]) ? bytes[i] : ' ');
}

// `count` bytes as they are, up to the first NUL (a text ends there), but never a control byte:
// the drive's own text must not drive the terminal.
void appendRaw(string& out, const uint8_t* bytes, size_t count)
{
    out += printableText(reinterpret_cast<const char*>(bytes), count);
}

// The controller's adapter element, or null (its answers then count as 0).
Adapter* adapterOf(Controller* controller)
{
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0)
        return nullptr;
    return adapter;
}

// The adapter's answer to a yes/no question; 0 without adapter or answer.
template <typename Ask>
uint8_t adapterFlag(Adapter* adapter, Ask ask)
{
    uint8_t flag = 0;
    if (adapter == nullptr || ask(adapter, &flag) != 0)
        return 0;
    return flag;
}

// A size line: the label with the capacity text of the sector count, then the count in hex.
void appendSizeLine(string& out, unsigned int label, uint64_t sectors, uint16_t sectorSize)
{
    unsigned long long kb = sectorSize == 0 || sectorSize == 512
                                ? sectors >> 1
                                : static_cast<unsigned long long>(sectorSize >> 10) * sectors;
    char capacity[CAPACITY_TEXT_SIZE];
    formatCapacity(kb, capacity);
    appendMessage(out, label, capacity);
    appendMessage(out, MSG_PD_SECTOR_COUNT, static_cast<unsigned long long>(sectors));
}

} // namespace

string PdDataZpr::toString()
{
    string text;
    if (fetchDriveInfo() != 0)
        return text;
    Info r(driveInfo, Info::SIZE);
    if (r.scsiDeviceType() == SCSI_TYPE_TAPE) {
        appendMessage(text, MSG_PD_DEVICE_ID, static_cast<int>(r.deviceId()));
        appendMessage(text, MSG_PD_INQUIRY_DATA);
        appendPrintable(text, driveInfo + Info::INQUIRY + 8, 48);
        appendMessage(text, MSG_NEWLINE);
        appendMessage(text, MSG_PD_TAPE_TYPE);
        appendMessage(text, MSG_PD_INTERFACE_TYPE, codeWord(INTERFACE_WORDS, r.interfaceCode()));
        appendMessage(text, MSG_PD_LINK_SPEED, codeWord(SPEED_WORDS, r.linkSpeed()));
        return text;
    }
    if (r.enclosureDeviceId() == ENCLOSURE_ID_NONE)
        appendMessage(text, MSG_PD_ENCLOSURE_ID_TEXT, NOT_AVAILABLE);
    else
        appendMessage(text, MSG_PD_ENCLOSURE_ID, static_cast<int>(r.enclosureDeviceId()));
    appendMessage(text, MSG_PD_SLOT_NUMBER, static_cast<int>(r.slotNumber()));
    uint8_t group = 0;
    uint8_t span = 0;
    uint8_t arm = 0;
    if (findDrivePosition(&group, &span, &arm) == 0)
        appendMessage(text, MSG_PD_POSITION, static_cast<int>(group), static_cast<int>(span), static_cast<int>(arm));
    uint8_t position = r.view().u8(Info::ENCLOSURE_POSITION);
    if (isBehindEnclosure() == 1 && getEnclosurePosition(&position) != 0)
        position = 0;
    if (position != 0)
        appendMessage(text, MSG_PD_ENCLOSURE_POSITION, static_cast<int>(position));
    else
        appendMessage(text, MSG_PD_ENCLOSURE_POSITION_TEXT, NOT_AVAILABLE);
    appendMessage(text, MSG_PD_DEVICE_ID, static_cast<int>(r.deviceId()));
    char wwn[WWN_TEXT_SIZE];
    ignoreStatus(formatWwn(wwn), "an unread WWN is printed empty");
    appendMessage(text, MSG_PD_WWN, wwn);
    appendMessage(text, MSG_PD_SEQUENCE_NUMBER, static_cast<int>(r.sequenceNumber()));
    appendMessage(text, MSG_PD_MEDIA_ERRORS, static_cast<unsigned long>(r.mediaErrors()));
    appendMessage(text, MSG_PD_OTHER_ERRORS, static_cast<unsigned long>(r.otherErrors()));
    appendMessage(text, MSG_PD_PREDICTIVE_FAILURES, static_cast<unsigned long>(r.predictiveFailures()));
    appendMessage(text, MSG_PD_LAST_PREDICTIVE_SEQ, static_cast<unsigned long>(r.lastPredictiveFailureSeq()));
    appendMessage(text, MSG_PD_TYPE, codeWord(INTERFACE_WORDS, r.interfaceType()));
    return text;
}

int PdDataZpr::formatWwn(char* out)
{
    if (out == nullptr)
        return -1;
    out[0] = '\0';
    if (fetchDriveInfo() != 0)
        return -1;
    uint8_t area[WWN_AREA_SIZE];
    memcpy(area, driveInfo + Info::DEVICE_ID_DATA, Info::DEVICE_ID_DATA_SIZE);
    memcpy(area + Info::DEVICE_ID_DATA_SIZE, driveInfo + Info::DEVICE_ID_DATA_2, Info::DEVICE_ID_DATA_SIZE);
    uint8_t code = driveInfo[Info::INTERFACE_CODE];
    if (code == INTERFACE_SATA) {
        for (size_t i = 0; i < 8; ++i)
            snprintf(out + 2 * i, 3, "%02x", area[8 + i]);
        return 0;
    }
    if (code != INTERFACE_SAS)
        return 0;
    // Identification descriptors: a 4-byte header (identifier type in the low nibble of byte
    // 1, identifier length in byte 3), then the identifier. A SCSI name string is copied from
    // its fifth byte on; a later one replaces an earlier one. A descriptor too short to hold
    // a name, or one that would reach past the area, is never copied from.
    size_t remaining = area[3];
    size_t at = 4;
    while (remaining > 0 && at + 4 <= WWN_AREA_SIZE) {
        size_t length = area[at + 3];
        size_t end = at + 4 + length;
        if ((area[at + 1] & 0x0F) == WWN_TYPE_SCSI_NAME && length >= 5 && end <= WWN_AREA_SIZE) {
            size_t copied = length - 4 < WWN_TEXT_SIZE - 1 ? length - 4 : WWN_TEXT_SIZE - 1;
            memcpy(out, area + at + 8, copied);
            out[copied] = '\0';
        }
        if (length + 4 >= remaining)
            break;
        remaining -= length + 4;
        at = end;
    }
    return 0;
}

int PdDataZpr::findDrivePosition(uint8_t* group, uint8_t* span, uint8_t* arm)
{
    uint16_t ownId = 0;
    if (getDeviceId(&ownId) != 0)
        return 255;
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    ArrayList<DiskGroup*>* groups = nullptr;
    if (manager == nullptr)
        return 255;
    int status = manager->getDiskGroups(&groups);
    if (status != 0)
        return status & 0xFF;
    for (unsigned char g = 0; groups != nullptr && g < groups->count(); ++g) {
        ArrayList<Array*>* arrays = nullptr;
        if (groups->get(g) == nullptr || (status = groups->get(g)->getArrays(&arrays)) != 0)
            return status != 0 ? status & 0xFF : 255;
        for (unsigned char a = 0; a < arrays->count(); ++a) {
            ArrayList<PhysicalDevice*>* drives = nullptr;
            if (arrays->get(a) == nullptr)
                return 255;
            if ((status = arrays->get(a)->getPdList(&drives)) != 0)
                return status & 0xFF;
            for (unsigned char d = 0; d < drives->count(); ++d) {
                uint16_t id = 0;
                if (drives->get(d) != nullptr && drives->get(d)->getDeviceId(&id) == 0 && id == ownId) {
                    *group = g;
                    *span = a;
                    *arm = d;
                    return 0;
                }
            }
        }
    }
    return 255;
}

string PdDataZpr::formatStateDetails()
{
    string text;
    if (fetchDriveInfo() != 0)
        return text;
    Info r(driveInfo, Info::SIZE);
    if (r.scsiDeviceType() == SCSI_TYPE_TAPE)
        return text;
    Adapter* adapter = adapterOf(controller);
    uint16_t sectorSize = r.logicalSectorSize();
    appendSizeLine(text, MSG_PD_RAW_SIZE, r.rawSize(), sectorSize);
    appendSizeLine(text, MSG_PD_NON_COERCED_SIZE, r.nonCoercedSize(), sectorSize);
    appendSizeLine(text, MSG_PD_COERCED_SIZE, r.coercedSize(), sectorSize);
    appendMessage(text, MSG_PD_SECTOR_SIZE);
    appendMessage(text, MSG_PD_SIZE_VALUE, static_cast<int>(sectorSize));
    if (adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->getInfoFlag7a6Bit1(f); }) != 0) {
        appendMessage(text, MSG_PD_LOGICAL_SECTOR_SIZE);
        appendMessage(text, MSG_PD_SIZE_VALUE, static_cast<int>(sectorSize));
        appendMessage(text, MSG_PD_PHYSICAL_SECTOR_SIZE);
        appendMessage(text, MSG_PD_SIZE_VALUE, static_cast<int>(sectorSize) << (r.physicalSectorExponent() & 31));
    }
    uint16_t state = foreignState != FOREIGN_STATE_NONE ? foreignState : r.firmwareState();
    string label;
    appendMessage(label, MSG_PD_FIRMWARE_STATE);
    appendMessage(text, MSG_PD_LABELLED_TEXT, label.c_str(), stateText(state, r.powerState()));
    if (adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->isEmergencySpareSupported(f); }) != 0 &&
        foreignState == FOREIGN_STATE_NONE && r.bit(Info::CONFIG_FLAGS, Info::CONFIG_SPARE)) {
        appendMessage(text, MSG_PD_COMMISSIONED_SPARE, yesNo(r.bit(Info::PROTECTION, Info::PI_COMMISSIONED_SPARE)));
        appendMessage(text, MSG_PD_EMERGENCY_SPARE, yesNo(r.bit(Info::SPARE_FLAGS, Info::SPARE_EMERGENCY)));
    }
    appendMessage(text, MSG_PD_FIRMWARE_LEVEL);
    appendRaw(text, driveInfo + Info::REVISION, Info::REVISION_SIZE);
    appendStateTail(text, adapter);
    return text;
}

// The state block from the shield counter on: diagnostics date, SAS addresses, connected ports,
// inquiry data and the FRU/CRU text.
void PdDataZpr::appendStateTail(string& text, Adapter* adapter)
{
    Info r(driveInfo, Info::SIZE);
    string label;
    appendMessage(label, MSG_PD_SHIELD_COUNTER_LABEL);
    appendMessage(text, MSG_PD_SHIELD_COUNTER, label.c_str(), static_cast<int>(r.shieldCounter()));
    label = string();
    if (r.diagnosticsDatePart(0) != 0) {
        appendMessage(label, MSG_PD_DIAGNOSTICS_DATE_LABEL);
        appendMessage(text, MSG_PD_DIAGNOSTICS_DATE, label.c_str(), static_cast<int>(r.diagnosticsDatePart(0)), "-",
                      static_cast<int>(r.diagnosticsDatePart(1)), "-", static_cast<int>(r.diagnosticsYear()), " ",
                      static_cast<int>(r.diagnosticsDatePart(2)), ":", static_cast<int>(r.diagnosticsDatePart(3)), ":",
                      static_cast<int>(r.diagnosticsDatePart(4)));
    } else {
        appendMessage(label, MSG_PD_DIAGNOSTICS_NONE_LABEL);
        appendMessage(text, MSG_PD_DIAGNOSTICS_NONE, label.c_str(), NOT_AVAILABLE);
    }
    uint32_t ports = r.portEntryCount();
    for (uint32_t i = 0; i < ports; ++i)
        appendMessage(text, MSG_PD_SAS_ADDRESS, static_cast<int>(i), static_cast<unsigned long long>(r.sasAddress(i)));
    uint8_t pathMode = 0;
    if (adapter != nullptr && adapter->getInfoFlag5e2Bit2(&pathMode) == 0) {
        appendMessage(text, MSG_PD_CONNECTED_PORTS);
        uint8_t connected = r.connectedPorts();
        if (pathMode == 0) {
            for (int bit = 0; bit < 8; ++bit)
                if ((connected >> bit) & 1u)
                    appendMessage(text, MSG_DECIMAL, bit);
        } else {
            if (r.sasAddress(0) != 0)
                appendMessage(text, MSG_PD_PATH0, connected & 0x0F);
            if (r.sasAddress(1) != 0)
                appendMessage(text, MSG_PD_PATH1, connected >> 4);
        }
        appendMessage(text, MSG_NEWLINE);
    }
    appendInquiryText(text);
}

// "Inquiry Data: " with the drive's identification, and the FRU/CRU line when it has one.
void PdDataZpr::appendInquiryText(string& text)
{
    appendMessage(text, MSG_PD_INQUIRY_DATA);
    uint8_t fruFound = 0;
    uint8_t fru[FRU_CRU_SIZE];
    memset(fru, 0, sizeof fru);
    bool shown = false;
    uint8_t type = 0;
    ignoreStatus(getInterfaceType(&type), "an unread type keeps 0: neither SATA nor SAS");
    if (type == INTERFACE_SATA) {
        char ata[ATA_TEXT_SIZE + 1];
        uint8_t length = 0;
        memset(ata, 0, sizeof ata);
        if (getAtaIdentifyText(ata, &length) == 0) {
            appendPrintable(text, reinterpret_cast<const uint8_t*>(ata), ATA_TEXT_SIZE);
            shown = true;
            // The model number (characters 20-59) of an IBM drive carries its FRU text.
            if (memcmp(ata + 20 + 36, "IBM", 3) == 0) {
                memcpy(fru, ata + 20 + 20, 8);
                fruFound = 1;
            }
        }
    } else if (type == INTERFACE_SAS) {
        ignoreStatus(getFruCru(&fruFound, fru), "an unread FRU stays not found");
    }
    if (!shown)
        appendPrintable(text, driveInfo + Info::INQUIRY + 8, 48);
    if (fruFound != 0) {
        appendMessage(text, MSG_NEWLINE);
        appendMessage(text, MSG_PD_FRU_CRU);
        appendPrintable(text, fru, FRU_CRU_SIZE);
    }
}

string PdDataZpr::formatSecurityDetails()
{
    string text;
    if (fetchDriveInfo() != 0)
        return text;
    Info r(driveInfo, Info::SIZE);
    if (r.scsiDeviceType() == SCSI_TYPE_TAPE)
        return text;
    appendMessage(text, MSG_PD_FDE_CAPABLE, r.bit(Info::SECURITY_FLAGS, Info::SEC_FDE_CAPABLE) ? "Capable" : "Not Capable");
    appendMessage(text, MSG_PD_FDE_ENABLE, r.bit(Info::SECURITY_FLAGS, Info::SEC_ENABLED) ? "Enable" : "Disable");
    appendMessage(text, MSG_PD_SECURED, r.bit(Info::SECURITY_FLAGS, Info::SEC_SECURED) ? "Secured" : "Unsecured");
    appendMessage(text, MSG_PD_LOCKED, r.bit(Info::SECURITY_FLAGS, Info::SEC_LOCKED) ? "Locked" : "Unlocked");
    appendMessage(text, MSG_PD_EKM_ATTENTION, yesNo(r.bit(Info::SECURITY_FLAGS, Info::SEC_EKM_ATTENTION)));
    appendMessage(text, MSG_PD_FOREIGN_STATE);
    if (foreignState == FOREIGN_STATE_NONE && r.isForeign()) {
        appendMessage(text, MSG_PD_FOREIGN);
        appendMessage(text, MSG_PD_FOREIGN_SECURE, r.bit(Info::SECURITY_FLAGS, Info::SEC_FOREIGN_LOCKED)
                                                       ? "Drive is secured by a foreign lock key"
                                                       : "Drive is not secured by a foreign lock key");
    } else {
        appendMessage(text, MSG_PD_FOREIGN_NONE);
    }
    appendMessage(text, MSG_PD_DEVICE_SPEED, codeWord(SPEED_WORDS, r.deviceSpeed()));
    appendMessage(text, MSG_PD_LINK_SPEED, codeWord(SPEED_WORDS, r.linkSpeed()));
    appendMessage(text, MSG_PD_MEDIA_TYPE, r.mediaType() != 0 ? "Solid State Device" : "Hard Disk Device");
    if (r.unsupported() != 0)
        appendMessage(text, MSG_PD_NOT_SUPPORTED);
    else if (r.notCertified() != 0)
        appendMessage(text, MSG_PD_NOT_CERTIFIED);
    appendTemperature(text);
    if (r.bit(Info::PROTECTION, Info::PI_ELIGIBLE)) {
        appendMessage(text, MSG_PD_PI_ELIGIBLE);
        appendMessage(text, MSG_PD_PI_LBA_BYTES, static_cast<unsigned>(r.logicalSectorSize()));
    } else {
        appendMessage(text, MSG_PD_PI_NOT_ELIGIBLE);
    }
    appendMessage(text, r.bit(Info::PROTECTION, Info::PI_FORMATTED) ? MSG_PD_PI_FORMATTED : MSG_PD_PI_NOT_FORMATTED);
    appendMessage(text, MSG_PD_PI_TYPE, PI_TEXTS[r.piType()]);
    appendSecurityTail(text);
    return text;
}

// The temperature from the record when the controller keeps it there, else from the drive's
// temperature log page, which is read only from a spun-up drive.
void PdDataZpr::appendTemperature(string& text)
{
    Info r(driveInfo, Info::SIZE);
    Adapter* adapter = adapterOf(controller);
    uint8_t celsius = r.temperature();
    bool inRecord = adapterFlag(adapter, [](Adapter* a, uint8_t* f) { return a->getInfoFlag5edBit3(f); }) == 1 &&
                    celsius != 0 && celsius != 0xFF;
    if (!inRecord) {
        celsius = 0;
        if (r.powerState() == PD_POWER_SPUN_UP) {
            uint8_t page[TEMPERATURE_PAGE_SIZE];
            memset(page, 0, sizeof page);
            ignoreStatus(readTemperaturePage(page), "an unread page keeps 0: no temperature is printed");
            celsius = page[TEMPERATURE_PAGE_VALUE];
        }
    }
    if (celsius == 0) {
        appendMessage(text, MSG_PD_TEMPERATURE_NONE);
        return;
    }
    float fahrenheit = static_cast<float>(1.8 * celsius) + 32.0f;
    appendMessage(text, MSG_PD_TEMPERATURE, static_cast<int>(celsius), static_cast<double>(fahrenheit));
}

// The security block from the port lines on: ports, S.M.A.R.T alert, bridge data, wide port.
void PdDataZpr::appendSecurityTail(string& text)
{
    Info r(driveInfo, Info::SIZE);
    uint8_t passive = r.portFlags() & 0x0F;
    uint32_t ports = r.portEntryCount();
    for (uint32_t i = 0; i < ports; ++i) {
        appendMessage(text, MSG_PD_PORT, static_cast<int>(i));
        bool isPassive = ((passive >> i) & 1u) != 0;
        uint8_t speed = isPassive || (i == 1 && passive == 0) ? r.secondLinkSpeed() : r.linkSpeed();
        appendMessage(text, MSG_PD_PORT_STATUS, isPassive ? "Passive" : "Active");
        appendMessage(text, MSG_PD_PORT_LINK_SPEED);
        appendMessage(text, MSG_PD_SPEED_WORD, codeWord(SPEED_WORDS, speed));
    }
    appendMessage(text, MSG_PD_SMART_ALERT, yesNo(r.predictiveFailures() != 0));
    if (r.hasBridge()) {
        appendMessage(text, MSG_PD_BRIDGE_VENDOR);
        appendPrintable(text, driveInfo + Info::BRIDGE_VENDOR, 8);
        appendMessage(text, MSG_PD_BRIDGE_PRODUCT);
        appendPrintable(text, driveInfo + Info::BRIDGE_PRODUCT, 8);
        appendMessage(text, MSG_PD_BRIDGE_REVISION);
        appendPrintable(text, driveInfo + Info::BRIDGE_REVISION, Info::BRIDGE_REVISION_SIZE);
        uint8_t page[BRIDGE_PAGE_SIZE];
        memset(page, 0, sizeof page);
        if (readBridgeFirmwarePage(page, r.deviceId()) == 0) {
            appendMessage(text, MSG_PD_BRIDGE_FW_VERSION);
            appendRaw(text, page + 126, 12);
            appendMessage(text, MSG_PD_BRIDGE_BOOTLOADER);
            appendRaw(text, page + 138, 12);
            appendMessage(text, MSG_PD_BRIDGE_CFG_VERSION);
            appendRaw(text, page + 150, 8);
        }
    }
    if (r.isWidePortCapable())
        appendMessage(text, MSG_PD_WIDE_PORT);
    appendMessage(text, MSG_PD_BLOCK_END);
}
