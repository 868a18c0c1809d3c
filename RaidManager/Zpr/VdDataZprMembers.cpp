// What the text block of a virtual drive asks beyond its own records: the SSD-cache association
// list, and the sector layout of its member drives.
#include "RaidManager/Zpr/VdDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/Memory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/ZprLdIdList.h"

namespace {

int readAssociations(Controller* controller, uint8_t targetId, uint8_t* data, uint32_t length)
{
    DcmdZprDpParams request(DCMD_LD_TIDEWELL_GET_ASSOCIATIONS, targetId, 0u, 0u, data, length, 0, 0);
    return controller->execute(&request);
}

} // namespace

int VdDataZpr::getTidewellAssociations(uint8_t** list)
{
    if (list == nullptr || controller == nullptr || vdId == nullptr)
        return -1;
    uint8_t targetId = static_cast<uint8_t>(vdId->getTargetId() & 0xFF);
    uint8_t header[ZprLdIdList::UNIT];
    memset(header, 0, sizeof header);
    int status = readAssociations(controller, targetId, header, sizeof header);
    if (status != 0)
        return status;
    uint32_t size = 0;
    if (!ZprLdIdList::sizeForCount(ZprLdIdList(header, sizeof header).count(), &size))
        return -1;
    uint8_t* buffer = new (noThrowNew) uint8_t[size];
    if (buffer == nullptr)
        return -1;
    memset(buffer, 0, size);
    if (size == sizeof header) {
        memcpy(buffer, header, sizeof header);
    } else if ((status = readAssociations(controller, targetId, buffer, size)) != 0) {
        delete[] buffer;
        return status;
    }
    *list = buffer;
    return 0;
}

int VdDataZpr::getMemberSectorSize(uint16_t* bytes)
{
    *bytes = 0;
    return 0;
}

int VdDataZpr::getMemberPhysicalSectorExponent(uint16_t* exponent)
{
    *exponent = 0;
    return 0;
}
