#include "CpMgmt/CmdPro/Adapter/AdpFacDefSetCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"

CommandProcessor* AdpFacDefSetCp::create(unsigned short kind)
{
    return createCommandProcessor<AdpFacDefSetCp>(kind);
}

ArrayList<unsigned short>* AdpFacDefSetCp::commandIds()
{
    static const unsigned short ids[] = {TOKEN_ADPFACDEFSET};
    return makeCommandIdList(ids, 1);
}

int AdpFacDefSetCp::process(CpController* cpController, ParsedObject* request)
{
    uint8_t adapterNumber = request != nullptr ? request->getAdapterNumber() : adapterNumberOf(cpController);
    if (requestAs<AdpFacDefSetPo>(request, adapterNumber, "AdpFacDefSetPo *") == nullptr)
        return -1;

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
