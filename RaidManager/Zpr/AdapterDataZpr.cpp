#include "RaidManager/Zpr/AdapterDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/ZprControllerInfo.h"
#include "RaidManager/Zpr/ZprMfcOemData.h"

namespace {

// The cached controller-information block as its record.
ZprControllerInfo infoOf(const uint8_t* controllerInfo)
{
    return ZprControllerInfo(controllerInfo, ZprControllerInfo::SIZE);
}

}  // namespace

AdapterDataZpr::AdapterDataZpr(Controller* controller, RaidElementId* id)
    : AdapterData(controller, id), controllerInfo(nullptr)
{
}

AdapterDataZpr::~AdapterDataZpr()
{
    delete[] controllerInfo;
}

string AdapterDataZpr::toString()
{
    return string();
}

int AdapterDataZpr::readRecord(uint32_t opcode, uint8_t* buffer, uint32_t length)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams* request =
        new (noThrowNew) DcmdZprDpParams(opcode, 0u, 0u, 0u, buffer, length, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

int AdapterDataZpr::loadControllerInfo()
{
    if (controllerInfo != nullptr)
        return 0;
    uint8_t* record = new (noThrowNew) uint8_t[ZprControllerInfo::SIZE];
    if (record == nullptr)
        return -1;
    memset(record, 0, ZprControllerInfo::SIZE);
    int status = readRecord(DCMD_ADP_GET_INFO, record, ZprControllerInfo::SIZE);
    if (status != 0) {
        delete[] record;
        return status;
    }
    controllerInfo = record;
    return 0;
}

int AdapterDataZpr::getMaxVirtualDrives(uint8_t* count)
{
    int status = loadControllerInfo();
    if (status == 0 && count != nullptr)
        *count = infoOf(controllerInfo).maxVirtualDrives();
    return status;
}

int AdapterDataZpr::getOemId(int32_t* oemId)
{
    if (LinuxZprDataProvider::instance(0) == nullptr || controller == nullptr)
        return -1;
    uint8_t answer[ZprMfcOemData::SIZE];
    memset(answer, 0, sizeof answer);
    DcmdZprDpPrvParams* request =
        new (noThrowNew) DcmdZprDpPrvParams(DCMD_ADP_MFC_GET_OEM_DATA, 0u, 0u, 0u, answer, sizeof answer, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    if (status == 0 && oemId != nullptr)
        *oemId = static_cast<int32_t>(ZprMfcOemData(answer, sizeof answer).oemId());
    return status;
}

int AdapterDataZpr::checkApplicationCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                                  uint16_t* applicationLevel)
{
    int status = loadControllerInfo();
    if (status != 0)
        return status;
    uint16_t level = infoOf(controllerInfo).firmwareForwardCompatLevel();
    if (firmwareLevel != nullptr)
        *firmwareLevel = level;
    if (applicationLevel != nullptr)
        *applicationLevel = APPLICATION_FORWARD_COMPAT_LEVEL;
    if (updateNeeded != nullptr)
        *updateNeeded = level > APPLICATION_FORWARD_COMPAT_LEVEL ? 1 : 0;
    return 0;
}

int AdapterDataZpr::checkFirmwareCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                               uint16_t* applicationLevel)
{
    int status = loadControllerInfo();
    if (status != 0)
        return status;
    uint16_t level = infoOf(controllerInfo).firmwareBackwardCompatLevel();
    if (firmwareLevel != nullptr)
        *firmwareLevel = level;
    if (applicationLevel != nullptr)
        *applicationLevel = APPLICATION_BACKWARD_COMPAT_LEVEL;
    if (updateNeeded != nullptr)
        *updateNeeded = level < APPLICATION_BACKWARD_COMPAT_LEVEL ? 1 : 0;
    return 0;
}

int AdapterDataZpr::refreshControllerInfo(uint8_t* securityBit)
{
    delete[] controllerInfo;
    controllerInfo = nullptr;
    int status = loadControllerInfo();
    if (status == 0 && securityBit != nullptr)
        *securityBit = infoOf(controllerInfo).securityBit();
    return status;
}
