// Where a drive sits (behind an enclosure, the enclosure's position) and what only the drive
// itself can tell, read with SCSI pass-through commands: ATA identify data, the FRU/CRU text
// of its inquiry data, the temperature log page and the firmware page of a SAS-SATA bridge.
#include "RaidManager/Zpr/PdDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "RaidManager/EnclosureIds.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/ZprDriveInfo.h"

namespace {

const uint8_t FRAME_PD_SCSI = 4;
const uint8_t DIRECTION_FROM_DEVICE = 2;
const size_t ATA_IDENTIFY_SIZE = 512;
const size_t INQUIRY_SIZE = 256;
const size_t FRU_CRU_SIZE = 12;
const size_t SENSE_SIZE = 32;

// One pass-through read to the device: its status (0 success).
int readFromDevice(Controller* controller, uint16_t deviceId, const uint8_t* cdb, uint8_t cdbLength, void* data,
                   uint32_t dataLength, uint8_t* sense)
{
    if (controller == nullptr)
        return -1;
    DcdbZprDpParams request(FRAME_PD_SCSI, static_cast<uint8_t>(deviceId & 0xFF), 0, cdbLength, cdb, dataLength, data,
                            DIRECTION_FROM_DEVICE, sense != nullptr ? SENSE_SIZE : 0,
                            reinterpret_cast<uint64_t>(sense), 0, 0);
    return controller->execute(&request);
}

} // namespace

int PdDataZpr::isBehindEnclosure()
{
    if (fetchDriveInfo() != 0)
        return 0;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    return r.enclosureDeviceId() == ENCLOSURE_ID_NONE ? 0 : 1;
}

int PdDataZpr::getEnclosurePosition(uint8_t* position)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    ZprDriveInfo r(driveInfo, ZprDriveInfo::SIZE);
    if (r.enclosureDeviceId() == r.deviceId()) {
        *position = r.view().u8(ZprDriveInfo::ENCLOSURE_POSITION);
        return 0;
    }
    // The enclosure is a device of its own: its record holds the position.
    PdIdZpr* enclosureId = new (noThrowNew) PdIdZpr(0xFF, 0xFF, r.enclosureDeviceId(), r.enclosureDeviceId());
    if (enclosureId == nullptr)
        return -1;
    PdDataZpr enclosure(controller, enclosureId);
    uint8_t ownPosition = 0;
    if (enclosure.fetchDriveInfo() != 0)
        return -1;
    ZprDriveInfo e(enclosure.driveInfo, ZprDriveInfo::SIZE);
    if (e.enclosureDeviceId() != e.deviceId())
        return -1;
    ownPosition = e.view().u8(ZprDriveInfo::ENCLOSURE_POSITION);
    *position = ownPosition;
    return 0;
}

int PdDataZpr::getAtaIdentifyText(char* text, uint8_t* length)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    if (LinuxZprDataProvider::instance() == nullptr)
        return -1;
    static const uint8_t cdb[12] = {0xA1, 0x08, 0x0B, 0, 0, 0, 0, 0, 0, 0xEC, 0, 0};
    uint8_t identify[ATA_IDENTIFY_SIZE];
    memset(identify, 0, sizeof identify);
    status = readFromDevice(controller, pdId->getDeviceId(), cdb, sizeof cdb, identify, sizeof identify, nullptr);
    if (status != 0)
        return status;
    // Serial number, model number, firmware revision; ATA strings hold two characters per word,
    // the second one first.
    static const size_t ranges[][2] = {{20, 40}, {54, 94}, {46, 54}};
    size_t out = 0;
    for (const auto& range : ranges)
        for (size_t i = range[0]; i < range[1]; i += 2) {
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
    static const uint8_t cdb[6] = {0x12, 0, 0, 0, 0xFF, 0};
    uint8_t inquiry[INQUIRY_SIZE];
    memset(inquiry, 0, sizeof inquiry);
    status = readFromDevice(controller, pdId->getDeviceId(), cdb, sizeof cdb, inquiry, sizeof inquiry, nullptr);
    if (status != 0)
        return status;
    if (memcmp(inquiry + 8, "IBM-ESXS", 8) == 0) {
        *found = 1;
        memcpy(text, inquiry + 114, FRU_CRU_SIZE);
    }
    return 0;
}

int PdDataZpr::readTemperaturePage(uint8_t* page)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    static const uint8_t cdb[10] = {0x4D, 0x00, 0x4D, 0, 0, 0, 0, 0x00, 0x20, 0};
    return readFromDevice(controller, pdId->getDeviceId(), cdb, sizeof cdb, page, 32, nullptr);
}

int PdDataZpr::readBridgeFirmwarePage(uint8_t* page, uint16_t deviceId)
{
    static const uint8_t cdb[10] = {0x4D, 0x00, 0x75, 0, 0, 0, 0, 0x00, 0x9E, 0};
    uint8_t sense[SENSE_SIZE];
    memset(sense, 0, sizeof sense);
    return readFromDevice(controller, deviceId, cdb, sizeof cdb, page, 158, sense) & 0xFF;
}
