#include "CpMgmt/CmdPro/VirtualDrive/WriteBackCheck.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/CpFrame.h"
#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Battery/ZprBbuStatus.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"

namespace {

// The battery's status bits that stand in the way of write-back caching.
const unsigned BBU_NEEDS_REPLACEMENT = 10;
const unsigned BBU_CAPACITY_LOW = 11;
const unsigned BBU_LEARN_ACTIVE = 6;
const unsigned BBU_LEARN_REQUESTED = 5;
const unsigned BBU_LEARN_PENDING = 12;
const unsigned BBU_CHARGING = 4;
const unsigned BBU_DISCHARGING = 1;
const uint8_t BBU_TYPE_NONE = 0;
const uint8_t BBU_TYPE_WITHOUT_LEARN = 2;

}  // namespace

int checkWriteBackPossible(CpController* cpController)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    CpModelSteps model(cpController, adapterNumber, CP_NEEDS_MODEL);
    if (!model)
        return model.result();
    RaidManager* manager = model.manager();
    uint8_t bbu[ZprBbuStatus::SIZE] = {};
    if (sendDcmd(cpController, DCMD_BBU_GET_STATUS, bbu) != 0) {
        printMessage(MSG_ADAPTER_TEXT, static_cast<int>(adapterNumber), "Get BBU Status Failed.");
        return -1;
    }
    const ZprBbuStatus battery(bbu, sizeof bbu);
    uint32_t reason = 0;
    if (battery.type() == BBU_TYPE_NONE)
        reason = MSG_NO_BATTERY;
    else if (battery.statusBit(BBU_NEEDS_REPLACEMENT))
        reason = MSG_BATTERY_REPLACE;
    else if (battery.statusBit(BBU_CAPACITY_LOW))
        reason = MSG_BATTERY_LOW;
    else if (battery.type() != BBU_TYPE_WITHOUT_LEARN &&
             (battery.statusBit(BBU_LEARN_ACTIVE) ||
              (battery.statusBit(BBU_LEARN_REQUESTED) && !battery.statusBit(BBU_LEARN_PENDING)) ||
              battery.statusBit(BBU_CHARGING) || battery.statusBit(BBU_DISCHARGING)))
        reason = MSG_LEARN_CYCLE_ACTIVE;
    if (reason != 0) {
        printMessage(reason);
        return -1;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    if (manager->getVds(&vds) != 0 || vds == nullptr)
        return 0;
    for (unsigned i = 0; i < vds->count(); ++i) {
        LdProgressBlock progress;
        VirtualDisk* vd = vds->get(static_cast<unsigned char>(i));
        // A progress block that cannot be read counts as nothing running.
        if (vd != nullptr && vd->getProgress(&progress) == 0 &&
            (progress.running() & LdProgressBlock::RUNNING_RECONSTRUCTION) != 0) {
            printMessage(MSG_RECON_IN_PROGRESS);
            return -1;
        }
    }
    return 0;
}

