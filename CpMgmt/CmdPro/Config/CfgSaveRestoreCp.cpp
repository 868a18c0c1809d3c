#include "CpMgmt/CmdPro/Config/CfgSaveRestoreCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"

int CfgSaveRestoreCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<CfgSaveRestorePo> start(cpController, request, "CfgSaveRestorePo *", CP_NEEDS_REFRESHED_MODEL);
    if (!start)
        return start.result();
    switch (start.request()->getCommandToken()) {
    case TOKEN_ADPCFGSAVE:
        return saveConfig(start.manager(), start.request());
    case TOKEN_ADPCFGRESTORE:
        return restoreConfig(start.manager(), start.request());
    default:
        return 0;
    }
}

int CfgSaveRestoreCp::saveConfig(RaidManager* manager, CfgSaveRestorePo* request)
{
    const string fileName = request->getFileName();
    const int result = manager->saveConfig(fileName.c_str());
    printMessage(result == 0 ? MSG_CFG_SAVED : MSG_CFG_SAVE_FAILED);
    return result;
}

int CfgSaveRestoreCp::restoreConfig(RaidManager* manager, CfgSaveRestorePo* request)
{
    const string fileName = request->getFileName();
    if (manager->restoreConfig(fileName.c_str()) != 0) {
        printMessage(MSG_CFG_RESTORE_FAILED);
        return -1;
    }
    printMessage(MSG_CFG_RESTORED);
    return 0;
}

namespace {

const CpRegistration<CfgSaveRestoreCp> registration;

}  // namespace
