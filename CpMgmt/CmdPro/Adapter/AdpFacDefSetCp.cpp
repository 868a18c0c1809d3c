#include "CpMgmt/CmdPro/Adapter/AdpFacDefSetCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"

int AdpFacDefSetCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpFacDefSetPo> start(cpController, request, "AdpFacDefSetPo *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();

    int status = sendDcmd(cpController, DCMD_ADP_SET_FACTORY_DEFAULTS, nullptr);
    if (status == 0) {
        printMessage(MSG_FACTORY_DEFAULTS_SET, static_cast<int>(adapterNumber));
        printMessage(MSG_REBOOT_REQUIRED);
    } else {
        printMessage(MSG_FACTORY_DEFAULTS_FAILED, static_cast<int>(adapterNumber));
    }
    return status;
}

namespace {

const CpRegistration<AdpFacDefSetCp> registration;

} // namespace
