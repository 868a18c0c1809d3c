#include "CpMgmt/CmdPro/Config/CfgSaveRestoreCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"

namespace {

// The controller's manager, read afresh: null after the message of the step that failed, with
// the result to end with in `result`.
RaidManager* freshManager(CpController* cpController, int* result)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    RaidManager* manager = takeRaidManager(cpController, adapterNumber);
    if (manager == nullptr) {
        *result = -1;
        return nullptr;
    }
    *result = refreshModel(manager, adapterNumber);
    return *result == 0 ? manager : nullptr;
}

}  // namespace

CommandProcessor* CfgSaveRestoreCp::create(unsigned short kind)
{
    return createCommandProcessor<CfgSaveRestoreCp>(kind);
}

ArrayList<unsigned short>* CfgSaveRestoreCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE};
    return makeCommandIdList(ids, 2);
}

int CfgSaveRestoreCp::process(CpController* cpController, ParsedObject* request)
{
    CfgSaveRestorePo* own = requestAs<CfgSaveRestorePo>(request, adapterNumberOf(cpController), "CfgSaveRestorePo *");
    if (own == nullptr)
        return -1;
    switch (own->getCommandToken()) {
    case TOKEN_ADPCFGSAVE:
        return saveConfig(cpController, own);
    case TOKEN_ADPCFGRESTORE:
        return restoreConfig(cpController, own);
    default:
        return 0;
    }
}

int CfgSaveRestoreCp::saveConfig(CpController* cpController, CfgSaveRestorePo* request)
{
    int result = 0;
    RaidManager* manager = freshManager(cpController, &result);
    if (manager == nullptr)
        return result;
    const string fileName = request->getFileName();
    result = manager->saveConfig(fileName.c_str());
    printMessage(result == 0 ? MSG_CFG_SAVED : MSG_CFG_SAVE_FAILED);
    return result;
}

int CfgSaveRestoreCp::restoreConfig(CpController* cpController, CfgSaveRestorePo* request)
{
    int result = 0;
    RaidManager* manager = freshManager(cpController, &result);
    if (manager == nullptr)
        return result;
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
