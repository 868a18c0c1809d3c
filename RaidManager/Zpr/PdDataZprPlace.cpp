// Where a drive sits and what only the drive itself can tell.
//
// An enclosure is a device of the drive list whose record names itself as its enclosure; its
// record tells the connector it hangs on (the first port that is not passive and is cabled).
// A drive in an enclosure answers the enclosure's position and connector through the
// enclosure's record, one hop: an enclosure record that names another device is not followed,
// so two records naming each other cannot lead a query round in circles.
//
// The drive's own data comes from SCSI pass-through reads: ATA identify data, standard inquiry
// data (the FRU/CRU text, an enclosure model's identification), the VPD pages 0x01 and 0xC3,
// and the temperature and bridge-firmware log pages.
#include "RaidManager/Zpr/PdDataZpr.h"

#include <cctype>
#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFrameLayout.h"
#include "RaidManager/Zpr/Records/Drive/ZprScsiPages.h"

namespace {

const uint8_t FRAME_PD_SCSI = 4;
const uint8_t DIRECTION_FROM_DEVICE = 2;

// The enclosure models whose identification pages are read.
const char* const MODEL_VENDOR = "IBM";
const char* const MODEL_PRODUCTS[] = {"EXP2512", "EXP2524"};
// The vendor whose drives carry a FRU/CRU text in their inquiry data.
const char FRU_CRU_VENDOR[] = "IBM-ESXS";

bool isModelProduct(const char* product)
{
    for (const char* model : MODEL_PRODUCTS)
        if (strcmp(product, model) == 0)
            return true;
    return false;
}

}  // namespace

int PdDataZpr::readFromDevice(uint16_t deviceId, const uint8_t* cdb, uint8_t cdbLength, void* data, uint32_t length,
                              uint8_t* sense)
{
    if (controller == nullptr)
        return -1;
    DcdbZprDpParams request(FRAME_PD_SCSI, static_cast<uint8_t>(deviceId & 0xFF), 0, cdbLength, cdb, length, data,
                            DIRECTION_FROM_DEVICE, sense != nullptr ? zprframe::SENSE_SIZE : 0,
                            reinterpret_cast<uint64_t>(sense), 0, 0);
    return controller->execute(&request);
}

int PdDataZpr::getAdapterElement(Adapter** adapter)
{
    if (adapter == nullptr)
        return -1;
    RaidManager* manager = getRaidManager(controller);
    if (manager == nullptr || manager->getAdapter(adapter) != 0) {
        *adapter = nullptr;
        return -1;
    }
    return *adapter != nullptr ? 0 : -1;
}

// ---------------------------------------------------------------------------------------------
// Where the drive sits.

int PdDataZpr::connectorPreconditions(Adapter** adapter)
{
    uint8_t supported = 0;
    if (isBehindEnclosure() != 1 || getRaidManager(controller) == nullptr || getAdapterElement(adapter) != 0 ||
        (*adapter)->isConnectorInfoSupported(&supported) != 0 || supported != 1)
        return -1;
    return fetchDriveInfo();
}

bool PdDataZpr::ownConnector(uint8_t* connector)
{
    if (fetchDriveInfo() != 0)
        return false;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    const uint32_t ports = clampCount(r.view().u8(ZprDriveInfo::PORT_COUNT), ZprDriveInfo::MAX_PORTS);
    const uint8_t passive = r.view().u8(ZprDriveInfo::PORT_FLAGS) & 0x0F;
    for (uint32_t i = 0; i < ports; ++i) {
        const uint8_t cabled = r.view().u8(ZprDriveInfo::CONNECTOR_INDEX + i);
        if ((passive & (1u << i)) == 0 && cabled != NO_CONNECTOR) {
            *connector = cabled;
            return true;
        }
    }
    return false;
}

template <typename Ask>
int PdDataZpr::askEnclosure(Ask ask)
{
    if (fetchDriveInfo() != 0)
        return -1;
    const uint16_t enclosureId = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).enclosureDeviceId();
    RaidManager* manager = getRaidManager(controller);
    if (enclosureId == ENCLOSURE_ID_NONE || manager == nullptr || manager->getRmData() == nullptr)
        return -1;
    PhysicalDevice* enclosure = manager->getRmData()->getPdByDeviceId(enclosureId);
    uint16_t ownId = 0, itsEnclosure = 0;
    if (enclosure == nullptr || enclosure->getDeviceId(&ownId) != 0 ||
        enclosure->getEnclosureDeviceId(&itsEnclosure) != 0 || ownId != enclosureId || itsEnclosure != enclosureId)
        return -1;
    return ask(*enclosure);
}

int PdDataZpr::isBehindEnclosure()
{
    if (fetchDriveInfo() != 0)
        return 0;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    if (r.enclosureDeviceId() == ENCLOSURE_ID_NONE)
        return 0;
    if (r.enclosureDeviceId() == r.deviceId())
        return 1;
    Adapter* adapter = nullptr;
    uint8_t supported = 0;
    if (getAdapterElement(&adapter) != 0 || adapter->isConnectorInfoSupported(&supported) != 0 || supported == 0)
        return 1;
    uint8_t connector = NO_CONNECTOR;
    if (askEnclosure([&connector](PhysicalDevice& e) { return e.getConnectorNumber(&connector); }) != 0)
        return 1;
    uint8_t count = 0;
    if (adapter->getConnectorInfoCount(&count) != 0)
        return 1;
    return connector < count ? 1 : 0;
}

int PdDataZpr::getEnclosurePosition(uint8_t* position)
{
    Adapter* adapter = nullptr;
    int status = connectorPreconditions(&adapter);
    if (status != 0)
        return status;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    if (r.enclosureDeviceId() == r.deviceId()) {
        *position = r.view().u8(ZprDriveInfo::ENCLOSURE_POSITION);
        return 0;
    }
    return askEnclosure([position](PhysicalDevice& e) { return e.getEnclosurePosition(position) == 0 ? 0 : -1; });
}

int PdDataZpr::getConnectorNumber(uint8_t* connector)
{
    Adapter* adapter = nullptr;
    int status = connectorPreconditions(&adapter);
    if (status != 0)
        return status;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    if (r.enclosureDeviceId() == r.deviceId()) {
        // No qualifying port leaves the answer as it was.
        ownConnector(connector);
        return 0;
    }
    return askEnclosure([connector](PhysicalDevice& e) { return e.getConnectorNumber(connector) == 0 ? 0 : -1; });
}

int PdDataZpr::connectorOfPlace(Adapter** adapter, uint8_t* connector)
{
    int status = connectorPreconditions(adapter);
    if (status != 0)
        return status;
    *connector = NO_CONNECTOR;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    if (r.enclosureDeviceId() == r.deviceId()) {
        ownConnector(connector);
        return 0;
    }
    return askEnclosure([connector](PhysicalDevice& e) { return e.getConnectorNumber(connector) == 0 ? 0 : -1; });
}

int PdDataZpr::getConnectorName(string** name)
{
    Adapter* adapter = nullptr;
    uint8_t connector = NO_CONNECTOR;
    int status = connectorOfPlace(&adapter, &connector);
    if (status != 0)
        return status;
    return adapter->getConnectorName(connector, name) == 0 ? 0 : -1;
}

int PdDataZpr::getConnectorLocation(uint8_t* location)
{
    Adapter* adapter = nullptr;
    uint8_t connector = NO_CONNECTOR;
    int status = connectorOfPlace(&adapter, &connector);
    if (status != 0)
        return status;
    return adapter->getConnectorEntryByte(connector, location) == 0 ? 0 : -1;
}

int PdDataZpr::getEnclosureSlotCount(uint16_t* slots)
{
    Adapter* adapter = nullptr;
    uint8_t flag = 0;
    if (getRaidManager(controller) == nullptr || getAdapterElement(&adapter) != 0 ||
        adapter->getInfoFlag5e3Bit0(&flag) != 0 || flag == 0)
        return -1;
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    *slots = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).view().u16(ZprDriveInfo::SLOT_COUNT);
    return 0;
}

int PdDataZpr::hasNoEnclosureProperty()
{
    if (fetchDriveInfo() != 0)
        return 0;
    RaidManager* manager = getRaidManager(controller);
    if (manager == nullptr || manager->getRmData() == nullptr)
        return 0;
    uint8_t property = 0xFF;
    const uint16_t enclosureId = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).enclosureDeviceId();
    return manager->getRmData()->getEnclosureProperty(enclosureId, &property) == 0 && property == 0xFF ? 1 : 0;
}

int PdDataZpr::getPartnerDevice(PhysicalDevice** partner)
{
    if (fetchDriveInfo() != 0)
        return -1;
    const uint16_t partnerId = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).view().u16(ZprDriveInfo::PARTNER_DEVICE_ID);
    RaidManager* manager = getRaidManager(controller);
    if (partnerId == 0xFFFF || manager == nullptr || manager->getRmData() == nullptr || partner == nullptr)
        return -1;
    *partner = manager->getRmData()->getPdByDeviceId(partnerId);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// What the drive itself tells.

int PdDataZpr::getAtaIdentifyData(uint8_t* identify)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    if (identify == nullptr || LinuxZprDataProvider::instance() == nullptr)
        return -1;
    return readFromDevice(pdId->getDeviceId(), ZprAtaIdentify::CDB, sizeof ZprAtaIdentify::CDB, identify,
                          ZprAtaIdentify::SIZE);
}

int PdDataZpr::getAtaIdentifyText(char* text, uint8_t* length)
{
    uint8_t identify[ZprAtaIdentify::SIZE];
    memset(identify, 0, sizeof identify);
    int status = getAtaIdentifyData(identify);
    if (status != 0)
        return status;
    // ATA text fields hold two characters per word, the second one first.
    static const size_t fields[][2] = {{ZprAtaIdentify::SERIAL, ZprAtaIdentify::SERIAL_SIZE},
                                       {ZprAtaIdentify::MODEL, ZprAtaIdentify::MODEL_SIZE},
                                       {ZprAtaIdentify::FIRMWARE, ZprAtaIdentify::FIRMWARE_SIZE}};
    size_t out = 0;
    for (const auto& field : fields)
        for (size_t i = field[0]; i < field[0] + field[1]; i += 2) {
            text[out++] = static_cast<char>(identify[i + 1]);
            text[out++] = static_cast<char>(identify[i]);
        }
    *length = static_cast<uint8_t>(out);
    return 0;
}

int PdDataZpr::getFruCru(uint8_t* found, uint8_t* text)
{
    *found = 0;
    if (LinuxZprDataProvider::instance() == nullptr)
        return -1;
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    uint8_t inquiry[ZprInquiry::SIZE];
    memset(inquiry, 0, sizeof inquiry);
    status = readFromDevice(pdId->getDeviceId(), ZprInquiry::CDB, sizeof ZprInquiry::CDB, inquiry, sizeof inquiry);
    if (status != 0)
        return status;
    if (memcmp(inquiry + ZprInquiry::VENDOR, FRU_CRU_VENDOR, ZprInquiry::VENDOR_SIZE) == 0) {
        *found = 1;
        memcpy(text, inquiry + ZprInquiry::FRU_CRU, ZprInquiry::FRU_CRU_SIZE);
    }
    return 0;
}

int PdDataZpr::readTemperaturePage(uint8_t* page)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    return readFromDevice(pdId->getDeviceId(), ZprTemperaturePage::CDB, sizeof ZprTemperaturePage::CDB, page,
                          ZprTemperaturePage::SIZE);
}

int PdDataZpr::readBridgeFirmwarePage(uint8_t* page, uint16_t deviceId)
{
    uint8_t sense[zprframe::SENSE_SIZE];
    memset(sense, 0, sizeof sense);
    return readFromDevice(deviceId, ZprBridgeFirmwarePage::CDB, sizeof ZprBridgeFirmwarePage::CDB, page,
                          ZprBridgeFirmwarePage::SIZE, sense) &
           0xFF;
}

int PdDataZpr::getEnclosureModelData(uint8_t* isModel, uint8_t* serial, uint8_t* field3, uint8_t* fruPartNumber,
                                     uint8_t* esmSerial, uint8_t* zoningMode)
{
    *isModel = 0;
    memset(zoningMode, 0, ZprVpdPageC3::ZONING_MODE_SIZE);
    // Asked only of a drive that was already queried: this does not read its record.
    if (driveInfo == nullptr || LinuxZprDataProvider::instance() == nullptr)
        return -1;
    const uint16_t deviceId = pdId->getDeviceId();
    uint8_t page[ZprInquiry::SIZE];
    memset(page, 0, sizeof page);
    int status = readFromDevice(deviceId, ZprInquiry::CDB, sizeof ZprInquiry::CDB, page, sizeof page);
    if (status != 0)
        return status;
    char vendor[ZprInquiry::VENDOR_SIZE + 1] = {};
    char product[ZprInquiry::PRODUCT_SIZE + 1] = {};
    memcpy(vendor, page + ZprInquiry::VENDOR, ZprInquiry::VENDOR_SIZE);
    memcpy(product, page + ZprInquiry::PRODUCT, ZprInquiry::PRODUCT_SIZE);
    if (strcmp(trimSpaces(vendor), MODEL_VENDOR) != 0 || !isModelProduct(trimSpaces(product)))
        return 0;
    memcpy(serial, page + ZprInquiry::ENCLOSURE_SERIAL, ZprInquiry::ENCLOSURE_SERIAL_SIZE);

    memset(page, 0, sizeof page);
    status = readFromDevice(deviceId, ZprVpdPage01::CDB, sizeof ZprVpdPage01::CDB, page, sizeof page);
    if (status != 0)
        return status;
    *isModel = 1;
    memcpy(field3, page + ZprVpdPage01::FIELD_5, ZprVpdPage01::FIELD_5_SIZE);
    memcpy(fruPartNumber, page + ZprVpdPage01::FRU_PART_NUMBER, ZprVpdPage01::FRU_PART_NUMBER_SIZE);
    memcpy(esmSerial, page + ZprVpdPage01::ESM_SERIAL, ZprVpdPage01::ESM_SERIAL_SIZE);

    memset(page, 0, sizeof page);
    status = readFromDevice(deviceId, ZprVpdPageC3::CDB, sizeof ZprVpdPageC3::CDB, page, sizeof page);
    if (status != 0)
        return status;
    memcpy(zoningMode, page + ZprVpdPageC3::ZONING_MODE, ZprVpdPageC3::ZONING_MODE_SIZE);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Texts.

char* PdDataZpr::trimTrailingSpaces(char* text)
{
    if (text == nullptr)
        return text;
    size_t n = strlen(text);
    while (n > 0 && isspace(static_cast<unsigned char>(text[n - 1])))
        text[--n] = '\0';
    return text;
}

char* PdDataZpr::trimLeadingSpaces(char* text)
{
    if (text == nullptr)
        return text;
    size_t start = 0;
    while (text[start] != '\0' && isspace(static_cast<unsigned char>(text[start])))
        ++start;
    if (start > 0)
        memmove(text, text + start, strlen(text + start) + 1);
    return text;
}

char* PdDataZpr::trimSpaces(char* text)
{
    return trimLeadingSpaces(trimTrailingSpaces(text));
}
