#include "CpMgmt/CmdPro/Adapter/AdpControllerActionCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

// The argument of the shutdown and restart commands: act now.
const uint8_t ACT_NOW = 1;
// The configuration change succeeded, the operating system's view of it did not.
const int STATUS_OS_STEP_FAILED = -2;
// The longest diagnostic that leaves the driver connected.
const uint32_t MAX_DIAG_SECONDS = 180;

// The controller's adapter element after the RAID manager was taken (and, with `refresh`, the
// model read again); null after the step's standard message.
Adapter* adapterOf(CpController* cpController, uint8_t adapterNumber, bool refresh, RaidManager** manager = nullptr)
{
    RaidManager* rm = takeRaidManager(cpController, adapterNumber);
    if (manager != nullptr)
        *manager = rm;
    if (rm == nullptr)
        return nullptr;
    if (refresh)
        ignoreStatus(rm->refresh(), "a failed read leaves the adapter absent, which the next step reports");
    return takeAdapter(rm, adapterNumber);
}

uint8_t requestNumber(CpController* cpController, ParsedObject* request)
{
    return request != nullptr ? request->getAdapterNumber() : adapterNumberOf(cpController);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

CommandProcessor* AdpCacheFlushCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpCacheFlushCp>(kind);
}

ArrayList<unsigned short>* AdpCacheFlushCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPCACHEFLUSH};
    return makeCommandIdList(ids, 1);
}

// The request is not looked at: a flush has nothing to choose.
int AdpCacheFlushCp::process(CpController* cpController, ParsedObject*)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    Adapter* adapter = adapterOf(cpController, adapterNumber, false);
    if (adapter == nullptr)
        return -1;
    if (adapter->flushCache() != 0) {
        printMessage(MSG_CACHE_FLUSH_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    printMessage(MSG_CACHE_FLUSH_DONE, static_cast<int>(adapterNumber));
    return 0;
}

// ---------------------------------------------------------------------------------------------

CommandProcessor* AdpCfgClrCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpCfgClrCp>(kind);
}

ArrayList<unsigned short>* AdpCfgClrCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPCFGCLR};
    return makeCommandIdList(ids, 1);
}

int AdpCfgClrCp::process(CpController* cpController, ParsedObject* request)
{
    const uint8_t adapterNumber = requestNumber(cpController, request);
    AdpCfgClrParsedObject* clear = requestAs<AdpCfgClrParsedObject>(request, adapterNumber, "AdpCfgClrParsedObject *");
    if (clear == nullptr)
        return -1;
    RaidManager* manager = takeRaidManager(cpController, adapterNumber);
    if (manager == nullptr)
        return -1;
    const bool force = clear->force == 1;
    const int status = manager->clearConfig(force ? 1 : 0);
    if (!force) {
        if (status == STATUS_SSD_CACHE_DATA)
            printMessage(MSG_FORCE_REQUIRED);
        printMessage(MSG_NEWLINE);
    }
    if (status == 0)
        printMessage(MSG_CONFIG_CLEARED, static_cast<int>(adapterNumber));
    else if (status == STATUS_OS_STEP_FAILED)
        printMessage(MSG_OS_UPDATE_FAILED);
    else
        printMessage(MSG_CONFIG_CLEAR_FAILED, static_cast<int>(adapterNumber));
    return status;
}

// ---------------------------------------------------------------------------------------------

CommandProcessor* AdpShutDownCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpShutDownCp>(kind);
}

ArrayList<unsigned short>* AdpShutDownCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPSHUTDOWN};
    return makeCommandIdList(ids, 1);
}

int AdpShutDownCp::process(CpController* cpController, ParsedObject* request)
{
    const uint8_t adapterNumber = requestNumber(cpController, request);
    if (requestAs<AdpShutDownParsedObject>(request, adapterNumber, "AdpShutDownParsedObject *") == nullptr)
        return -1;
    Adapter* adapter = adapterOf(cpController, adapterNumber, true);
    if (adapter == nullptr)
        return -1;
    int status = adapter->shutdownController(ACT_NOW);
    printMessage(status == 0 ? MSG_SHUTDOWN_DONE : MSG_SHUTDOWN_FAILED, static_cast<int>(adapterNumber));
    return status;
}

// ---------------------------------------------------------------------------------------------

CommandProcessor* AdpRestartCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpRestartCp>(kind);
}

ArrayList<unsigned short>* AdpRestartCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPRESTART};
    return makeCommandIdList(ids, 1);
}

AdpRestartCp::AdpRestartCp()
{
    memset(controllerInfo, 0, sizeof controllerInfo);
}

int AdpRestartCp::process(CpController* cpController, ParsedObject* request)
{
    const uint8_t adapterNumber = requestNumber(cpController, request);
    if (requestAs<AdpRestartParsedObject>(request, adapterNumber, "AdpRestartParsedObject *") == nullptr)
        return -1;
    Adapter* adapter = adapterOf(cpController, adapterNumber, true);
    if (adapter == nullptr)
        return -1;
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo);
    if (status != 0) {
        memset(controllerInfo, 0, sizeof controllerInfo);
        printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), "AdpAll information");
        return status;
    }
    if (!ZprControllerInfo(controllerInfo, sizeof controllerInfo).onlineFwUpdateSupported()) {
        printMessage(MSG_TEXT, "Adapter Restart is not supported\n");
        return -1;
    }
    return adapter->restartController(ACT_NOW);
}

// ---------------------------------------------------------------------------------------------

CommandProcessor* AdpDowngradeCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpDowngradeCp>(kind);
}

ArrayList<unsigned short>* AdpDowngradeCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPDOWNGRADE};
    return makeCommandIdList(ids, 1);
}

int AdpDowngradeCp::process(CpController* cpController, ParsedObject* request)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    if (requestAs<AdpDowngradeParsedObject>(request, adapterNumber, "DowngradeParsedObject *") == nullptr)
        return -1;
    Adapter* adapter = adapterOf(cpController, adapterNumber, true, &raidManager);
    if (adapter == nullptr)
        return -1;
    int status = adapter->downgradeController();
    printMessage(MSG_TEXT, status == 0 ? "Please shut down your system and ensure that the memory module is "
                                         "disconnected from the controller and reboot the system.\n"
                                       : "Failed to downgrade the controller.\n");
    return status;
}

// ---------------------------------------------------------------------------------------------

CommandProcessor* AdpDiagCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpDiagCp>(kind);
}

ArrayList<unsigned short>* AdpDiagCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPDIAG};
    return makeCommandIdList(ids, 1);
}

int AdpDiagCp::process(CpController* cpController, ParsedObject* request)
{
    const uint8_t adapterNumber = adapterNumberOf(cpController);
    AdpDiagParsedObject* diag = requestAs<AdpDiagParsedObject>(request, adapterNumber, "AdpDiagParsedObject");
    if (diag == nullptr)
        return -1;
    const uint32_t seconds = diag->getValue();
    if (seconds > MAX_DIAG_SECONDS) {
        printMessage(MSG_DIAG_TOO_LONG, static_cast<int>(adapterNumber));
        printMessage(MSG_DIAG_NOT_STARTED, static_cast<int>(adapterNumber));
        return -1;
    }
    Adapter* adapter = adapterOf(cpController, adapterNumber, true);
    if (adapter == nullptr)
        return -1;
    // The seconds go as the long their conversion expects.
    printMessage(MSG_DIAG_RUNNING, static_cast<int>(adapterNumber), static_cast<long>(seconds));
    int status = adapter->runDiagnostic(seconds);
    printMessage(status == 0 ? MSG_DIAG_COMPLETED : MSG_DIAG_FAILED, static_cast<int>(adapterNumber));
    return status;
}

namespace {

const CpRegistration<AdpCacheFlushCp> cacheFlushRegistration;
const CpRegistration<AdpCfgClrCp> cfgClrRegistration;
const CpRegistration<AdpShutDownCp> shutDownRegistration;
const CpRegistration<AdpRestartCp> restartRegistration;
const CpRegistration<AdpDowngradeCp> downgradeRegistration;
const CpRegistration<AdpDiagCp> diagRegistration;

}  // namespace
