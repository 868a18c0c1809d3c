#include "CpMgmt/CmdPro/VirtualDrive/LdPowerPolicyCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

namespace {

// The value of the policy word; `bothMaximum` when the controller has both maximum levels.
uint8_t policyValue(unsigned short word, bool bothMaximum)
{
    switch (word) {
    case TOKEN_AUTO:
        return 1;
    case TOKEN_MAX:
        return bothMaximum ? POWER_SAVE_MAXIMUM : POWER_SAVE_MAXIMUM_WITHOUT_CACHING;
    case TOKEN_DONOTCACHE:
        return POWER_SAVE_MAXIMUM_WITHOUT_CACHING;
    case TOKEN_NONE:
        return 254;
    default:
        return 0;
    }
}

// The controller's checks before any drive: -1 after the refusal's text.
int checkController(CpController* cpController, unsigned short word, bool* bothMaximum, uint8_t* options)
{
    uint8_t info[ZprControllerInfo::SIZE] = {};
    // A controller whose information cannot be read is taken as one without the features.
    sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    ZprControllerInfo controller(info, sizeof info);
    if (controller.flag(ZprControllerInfo::LD_FEATURES, ZprControllerInfo::LD_POWER_SAVING_BIT) == 0) {
        printMessage(MSG_TEXT, "Adapter does not support Power savings on logical drives.\n");
        return -1;
    }
    uint8_t defaults[ZprMfcDefaults::SIZE] = {};
    if (sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults) != 0) {
        printMessage(MSG_TEXT, "\nFailed to read MFC default data from adapter\n");
        return -1;
    }
    *options = ZprMfcDefaults(defaults, sizeof defaults).byteAt(ZprMfcDefaults::POWER_SAVING_OPTIONS);
    if (*options != ZprMfcDefaults::POWER_SAVING_UNSET && ((*options >> ZprMfcDefaults::NOT_PER_DRIVE_BIT) & 1u) != 0) {
        printMessage(MSG_TEXT, "Power savings level cannot be set on per logical drive basis.\n");
        return -1;
    }
    *bothMaximum = controller.flag(ZprControllerInfo::LD_FEATURES, ZprControllerInfo::MAXIMUM_WITHOUT_CACHING_BIT) != 0;
    if (!*bothMaximum && word == TOKEN_DONOTCACHE) {
        printMessage(MSG_TEXT, "Invalid power savings level input.\n");
        return -1;
    }
    return 0;
}

} // namespace

int LdPowerPolicyCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdPowerPolicyParsedObject> start(cpController, request, "LdPowerPolicyParsedObject", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    const int a = static_cast<int>(adapterNumber);
    LdPowerPolicyParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    bool bothMaximum = false;
    uint8_t options = 0;
    if (checkController(cpController, own->getPowerSavePolicy(), &bothMaximum, &options) != 0)
        return -1;
    uint8_t vdCount = 0;
    if (const int counted = manager->getVdCount(&vdCount))
        return start.failed("LD", counted);
    const bool all = selectsAllVds(own);
    const unsigned n = all ? vdCount : own->getLdCount();
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, a);
        return -1;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    int result = 0;
    for (unsigned i = 0; i < n; ++i) {
        uint8_t targetId = 0;
        int failure = 0;
        if (!walkTargetId(own, vds, all, i, manager, adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            continue;
        }
        // A drive the configuration holds whose lookup fails is unknown, not absent: the
        // lookup's status (a read's) ends the command.
        VdLookup lookup;
        if (const int looked = lookup.lookUp(manager, targetId)) {
            printMessage(MSG_GET_FAILED, "VD object");
            return looked;
        }
        VirtualDisk* vd = lookup.get();
        if (vd->beginUpdate() != 0) {
            printMessage(MSG_TEXT, "\nbeginUpdate() failed on Vd object\n");
            return -1;
        }
        uint8_t value = policyValue(own->getPowerSavePolicy(), bothMaximum);
        // Defaults that are not set count as refusing both maximum levels.
        if (((options >> ZprMfcDefaults::NO_MAXIMUM_BIT) & 1u) != 0 &&
            (value == POWER_SAVE_MAXIMUM || value == POWER_SAVE_MAXIMUM_WITHOUT_CACHING)) {
            printMessage(MSG_TEXT, "Maximum power saving on logical drives is not allowed\n");
            return -1;
        }
        if (vd->setPowerSavingsPolicy(value) != 0) {
            printMessage(MSG_LDPROP_SET_FAILED, a);
            return -1;
        }
        result = vd->endUpdate();
        if (result == 0)
            printMessage(MSG_LDPROP_SET_SUCCESS, "LdPowerPolicy", a, static_cast<int>(targetId),
                         static_cast<int>(targetId));
        else
            printMessage(MSG_LDPROP_SET_ERROR, "LdPowerPolicy", a, static_cast<int>(targetId));
    }
    return result;
}

namespace {

const CpRegistration<LdPowerPolicyCp> registration;

} // namespace
