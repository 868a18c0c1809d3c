#include "CpMgmt/CmdPro/ScsiPassThrough.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "RaidManager/Zpr/Records/ZprFrameLayout.h"

int sendScsiPassThrough(CpController* cpController, uint8_t target, uint8_t direction, const uint8_t* cdb,
                        uint8_t cdbLength, void* data, uint32_t length)
{
    if (LinuxZprDataProvider::instance() == nullptr) {
        printMessage(MSG_ZPR_INSTANCE_FAILED, static_cast<int>(adapterNumberOf(cpController)));
        return -1;
    }
    Controller* controller = controllerOf(cpController);
    if (controller == nullptr)
        return -1;
    uint8_t sense[zprframe::SENSE_SIZE];
    memset(sense, 0, sizeof sense);
    DcdbZprDpParams params(ZPR_FRAME_PD_SCSI_IO, target, 0, cdbLength, cdb, length, data, direction, sizeof sense,
                           reinterpret_cast<uintptr_t>(sense), 0, 0);
    return controller->execute(&params);
}
