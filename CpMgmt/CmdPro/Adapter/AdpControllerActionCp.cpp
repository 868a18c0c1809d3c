#include "CpMgmt/CmdPro/Adapter/AdpControllerActionCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

namespace {

// The argument of the shutdown and restart commands: act now.
const uint8_t ACT_NOW = 1;
// The longest diagnostic that leaves the driver connected.
const uint32_t MAX_DIAG_SECONDS = 180;

}  // namespace

// ---------------------------------------------------------------------------------------------

// The request is not looked at: a flush has nothing to choose.
int AdpCacheFlushCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    if (start.adapter()->flushCache() != 0) {
        printMessage(MSG_CACHE_FLUSH_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    printMessage(MSG_CACHE_FLUSH_DONE, static_cast<int>(adapterNumber));
    return 0;
}

// ---------------------------------------------------------------------------------------------

int AdpCfgClrCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpCfgClrParsedObject> start(cpController, request, "AdpCfgClrParsedObject *", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    const bool force = start.request()->force == 1;
    const int status = start.manager()->clearConfig(force ? 1 : 0);
    if (!force) {
        if (status == STATUS_SSD_CACHE_DATA)
            printMessage(MSG_FORCE_REQUIRED);
        printMessage(MSG_NEWLINE);
    }
    if (status == 0)
        printMessage(MSG_CONFIG_CLEARED, static_cast<int>(adapterNumber));
    else if (status == OS_STEP_FAILED)
        printMessage(MSG_OS_UPDATE_FAILED);
    else
        printMessage(MSG_CONFIG_CLEAR_FAILED, static_cast<int>(adapterNumber));
    return status;
}

// ---------------------------------------------------------------------------------------------

int AdpShutDownCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<AdpShutDownParsedObject>> start(cpController, request, "AdpShutDownParsedObject *");
    if (!start)
        return -1;
    int status = start.adapter()->shutdownController(ACT_NOW);
    printMessage(status == 0 ? MSG_SHUTDOWN_DONE : MSG_SHUTDOWN_FAILED, static_cast<int>(start.number()));
    return status;
}

// ---------------------------------------------------------------------------------------------

AdpRestartCp::AdpRestartCp()
{
    memset(controllerInfo, 0, sizeof controllerInfo);
}

int AdpRestartCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<AdpRestartParsedObject>> start(cpController, request, "AdpRestartParsedObject *");
    if (!start)
        return -1;
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo);
    if (status != 0) {
        memset(controllerInfo, 0, sizeof controllerInfo);
        return start.failed(INFO_READ_NAME, status);
    }
    if (!ZprControllerInfo(controllerInfo, sizeof controllerInfo).onlineFwUpdateSupported()) {
        printMessage(MSG_TEXT, "Adapter Restart is not supported\n");
        return -1;
    }
    return start.adapter()->restartController(ACT_NOW);
}

// ---------------------------------------------------------------------------------------------

int AdpDowngradeCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<AdpDowngradeParsedObject>> start(cpController, request, "DowngradeParsedObject *");
    if (!start)
        return -1;
    int status = start.adapter()->downgradeController();
    printMessage(MSG_TEXT, status == 0 ? "Please shut down your system and ensure that the memory module is "
                                         "disconnected from the controller and reboot the system.\n"
                                       : "Failed to downgrade the controller.\n");
    return status;
}

// ---------------------------------------------------------------------------------------------

int AdpDiagCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpDiagParsedObject> start(cpController, request, "AdpDiagParsedObject");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    const uint32_t seconds = start.request()->getValue();
    if (seconds > MAX_DIAG_SECONDS) {
        printMessage(MSG_DIAG_TOO_LONG, static_cast<int>(adapterNumber));
        printMessage(MSG_DIAG_NOT_STARTED, static_cast<int>(adapterNumber));
        return -1;
    }
    // The model is read only for a length that is let through: nothing is sent for another.
    CpQuietRefresh<CpPlainStart> model(cpController, request);
    if (!model)
        return -1;
    // The seconds go as the long their conversion expects.
    printMessage(MSG_DIAG_RUNNING, static_cast<int>(adapterNumber), static_cast<long>(seconds));
    int status = model.adapter()->runDiagnostic(seconds);
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
