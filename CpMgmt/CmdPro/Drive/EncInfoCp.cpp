#include "CpMgmt/CmdPro/Drive/EncInfoCp.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/apstring.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/Drive/ZprScsiPages.h"

namespace {

const char* const UNAVAILABLE = "Unavailable";
const char* const ENCLOSURE_TYPES[] = {"Unknown", "SAFTE", "SES", "SGPIO"};

// An inquiry line of -EncInfo: its label and the bytes of the inquiry data it shows.
struct InquiryLine {
    const char* label;
    size_t from;
    size_t count;
};
const InquiryLine INQUIRY_LINES[] = {
    {"        Vendor Identification     : ", 8, 8},
    {"        Product Identification    : ", 16, 16},
    {"        Product Revision Level    : ", 32, 4},
    {"        Vendor Specific           : ", 36, 20},
};
const size_t INQUIRY_LINE_SIZE = 96;

// `count` bytes as text, each byte that is not printable shown as a blank.
void printableText(const uint8_t* bytes, size_t count, char* out)
{
    for (size_t i = 0; i < count; ++i)
        out[i] = isprint(bytes[i]) ? static_cast<char>(bytes[i]) : ' ';
    out[count] = '\0';
}

void showField(const char* label, const uint8_t* bytes, size_t count)
{
    char value[16];
    printableText(bytes, count < sizeof value ? count : sizeof value - 1, value);
    printMessage(MSG_TEXT, label);
    printMessage(MSG_TEXT, value);
    printMessage(MSG_NEWLINE);
}

}  // namespace

// What the walk over the enclosure list carries.
struct EncInfoCp::Walk {
    CpController* cpController;
    uint8_t adapterNumber;
    bool information;          // -EncInfo; else -EncStatus
    RaidManager* manager;
    Adapter* adapter;
    bool connectorInfo;        // the controller has connector names
    uint8_t* driveInfo;        // ZprDriveInfo::SIZE bytes
    int shown;                 // -EncStatus: enclosures whose status was shown
};

int EncInfoCp::sendDcmd(CpController* cpController, uint32_t opcode, uint32_t value, void* buffer)
{
    if (opcode == DCMD_PD_GET_INFO)
        value &= 0xFFFF;
    return sendDcmdWithWord(cpController, opcode, value, buffer, 0);
}

int EncInfoCp::showIdentification(PhysicalDevice* device)
{
    uint8_t valid = 0;
    uint8_t serial[ZprInquiry::ENCLOSURE_SERIAL_SIZE] = {};
    uint8_t field3[ZprVpdPage01::FIELD_5_SIZE] = {};
    uint8_t fru[ZprVpdPage01::FRU_PART_NUMBER_SIZE] = {};
    uint8_t esm[ZprVpdPage01::ESM_SERIAL_SIZE] = {};
    uint8_t zoning[ZprVpdPageC3::ZONING_MODE_SIZE] = {};
    const int status = device->getEnclosureModelData(&valid, serial, field3, fru, esm, zoning);
    if (valid != 0 && status == 0) {
        showField("    FRU Part Number               : ", fru, sizeof fru);
        showField("    Enclosure Serial Number       : ", serial, sizeof serial);
        showField("    ESM Serial Number             : ", esm, sizeof esm);
        showField("    Enclosure Zoning Mode         : ", zoning, sizeof zoning);
    } else {
        printMessage(MSG_TEXT, "    FRU Part Number               : N/A\n");
        printMessage(MSG_TEXT, "    Enclosure Serial Number       : N/A \n");
        printMessage(MSG_TEXT, "    ESM Serial Number             : N/A \n");
        printMessage(MSG_TEXT, "    Enclosure Zoning Mode         : N/A \n");
    }
    return status;
}

int EncInfoCp::showInquiry(Walk& walk, uint16_t deviceId)
{
    memset(walk.driveInfo, 0, ZprDriveInfo::SIZE);
    const int status = sendDcmd(walk.cpController, DCMD_PD_GET_INFO, deviceId, walk.driveInfo);
    if (status != 0) {
        printMessage(MSG_ADAPTER_TEXT, static_cast<int>(walk.adapterNumber),
                     "Failed to get Inquiry data of the Enclosure\n");
        return status;
    }
    const LeView inquiry = LeView(walk.driveInfo, ZprDriveInfo::SIZE).sub(ZprDriveInfo::INQUIRY,
                                                                         ZprDriveInfo::INQUIRY_SIZE);
    printMessage(MSG_TEXT, "    Inquiry data                  :\n");
    for (const InquiryLine& line : INQUIRY_LINES) {
        char built[INQUIRY_LINE_SIZE];
        const size_t labelLength = strlen(line.label);
        memcpy(built, line.label, labelLength);
        uint8_t bytes[INQUIRY_LINE_SIZE] = {};
        inquiry.readBytes(line.from, bytes, line.count);
        printableText(bytes, line.count, built + labelLength);
        printMessage(MSG_TEXT, built);
        printMessage(MSG_NEWLINE);
    }
    printMessage(MSG_TEXT, "\n\n");
    return 0;
}

int EncInfoCp::showInformation(Walk& walk, const ZprEnclosureEntry& entry, uint32_t index, PhysicalDevice* device)
{
    uint16_t partnerId = 0;
    const int partnerStatus = device->getEnclosureSlotCount(&partnerId);

    char position[8];
    snprintf(position, sizeof position, "%d", static_cast<int>(entry.position()));
    string* connectorName = nullptr;
    if (walk.connectorInfo && walk.adapter->getConnectorName(entry.property(), &connectorName) != 0) {
        delete connectorName;
        connectorName = nullptr;
    }
    std::unique_ptr<string> ownedName(connectorName);
    const LeView& e = entry.view();
    printMessage(MSG_ENCLOSURE_BLOCK, static_cast<int>(index), static_cast<int>(entry.deviceId()),
                 e.u8(ZprEnclosureEntry::SLOTS), e.u8(ZprEnclosureEntry::POWER_SUPPLIES),
                 e.u8(ZprEnclosureEntry::FANS), e.u8(ZprEnclosureEntry::TEMPERATURE_SENSORS),
                 e.u8(ZprEnclosureEntry::ALARMS), e.u8(ZprEnclosureEntry::SIM_MODULES), entry.driveCount(),
                 entry.status() != 0 ? "Fault" : "Normal", walk.connectorInfo ? position : UNAVAILABLE,
                 ownedName ? printableText(ownedName->c_str()).c_str() : UNAVAILABLE);
    printMessage(MSG_TEXT, "    Enclosure type                : ");
    printMessage(MSG_TEXT, entry.type() < sizeof ENCLOSURE_TYPES / sizeof ENCLOSURE_TYPES[0]
                               ? ENCLOSURE_TYPES[entry.type()]
                               : ENCLOSURE_TYPES[0]);
    printMessage(MSG_NEWLINE);

    // The partner's id comes with the slot count: shown when that read and the identification
    // read worked (a failed read is not shown as an id).
    const int identificationStatus = showIdentification(device);
    if (identificationStatus == 0 && partnerStatus == 0)
        printMessage(MSG_ENCLOSURE_PARTNER_ID, static_cast<int>(partnerId));
    else
        printMessage(MSG_ENCLOSURE_PARTNER_TEXT, UNAVAILABLE);
    return showInquiry(walk, entry.deviceId());
}

int EncInfoCp::showEnclosure(Walk& walk, const ZprEnclosureEntry& entry, uint32_t index)
{
    PhysicalDevice* device = walk.manager->getPdByDeviceId(entry.deviceId());
    if (device == nullptr)
        return 0;
    if (walk.information) {
        const int status = showInformation(walk, entry, index, device);
        if (status != 0)
            return status;
    }
    if (entry.property() == NO_CONNECTOR)
        return 0;
    if (walk.information) {
        std::unique_ptr<EnclStatusExRecord> record(new (std::nothrow) EnclStatusExRecord());
        if (!record)
            return -1;
        const int status = GetEnclStatusExFunc(nullptr, walk.adapterNumber, entry.deviceId(),
                                               EnclStatusExRecord::SIZE, record.get(), walk.cpController);
        if (status != 0)
            return status;
        printEnclStatusEx(*record);
        return 0;
    }
    std::unique_ptr<EnclStatusRecord> record(new (std::nothrow) EnclStatusRecord());
    if (!record)
        return -1;
    const int status = GetEnclStatusFunc(nullptr, walk.adapterNumber, entry.deviceId(), EnclStatusRecord::SIZE,
                                         record.get(), walk.cpController);
    if (status != 0)
        return status;
    printMessage(MSG_TEXT, "Enclosure ");
    printMessage(MSG_DECIMAL, walk.shown++);
    printEnclStatus(*record);
    return 0;
}

int EncInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<EncInfoParsedObject> start(cpController, request, "EncInfoParsedObject *", CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    Walk walk = {cpController, adapterNumber, request->getCommandToken() == TOKEN_ENCINFO, start.manager(),
                 start.adapter(), false, nullptr, 0};
    uint8_t supported = 0;
    if (walk.adapter->isConnectorInfoSupported(&supported) != 0) {
        printMessage(MSG_ADAPTER_COMM_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    walk.connectorInfo = supported != 0;
    uint8_t connectors = 0;
    if (walk.connectorInfo && walk.adapter->getConnectorInfoCount(&connectors) != 0) {
        printMessage(MSG_ADAPTER_COMM_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }

    std::unique_ptr<uint8_t[]> list(new (std::nothrow) uint8_t[ZprEnclosureList::SIZE]());
    if (!list) {
        printMessage(MSG_NO_MEMORY, "Enclosure list");
        return -1;
    }
    std::unique_ptr<uint8_t[]> driveInfo(new (std::nothrow) uint8_t[ZprDriveInfo::SIZE]());
    if (!driveInfo) {
        printMessage(MSG_NO_MEMORY, "Enclosure Pd Info");
        return -1;
    }
    walk.driveInfo = driveInfo.get();
    if (sendDcmd(cpController, DCMD_ENCL_GET_LIST, 0, list.get()) != 0) {
        printMessage(MSG_ENCLOSURE_LIST_FAILED);
        return -1;
    }
    const ZprEnclosureList enclosures(list.get(), ZprEnclosureList::SIZE);
    if (walk.information)
        printMessage(MSG_ENCLOSURE_COUNT, static_cast<int>(adapterNumber), static_cast<int>(enclosures.count()));
    const uint32_t count = enclosures.entryCount();
    for (uint32_t i = 0; i < count; ++i) {
        const int status = showEnclosure(walk, enclosures.entry(i), i);
        if (status != 0)
            return status;
    }
    return 0;
}

namespace {
const CpRegistration<EncInfoCp> registration;
}  // namespace
