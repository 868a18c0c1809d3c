#include "CpMgmt/CmdPro/Config/ObjNumberCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/ParsedObject.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"

int ObjNumberCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    RaidManager* manager = start.manager();
    unsigned short command = request != nullptr ? request->getCommandToken() : 0;
    if (command == TOKEN_LDNUMBER) {
        uint8_t count = 0;
        if (manager->getVdCount(&count) != 0) {
            printMessage(MSG_VD_COUNT_FAILED, static_cast<int>(adapterNumber));
            return -1;
        }
        printMessage(MSG_VD_NUMBER_CONFIGURED, static_cast<int>(adapterNumber), static_cast<int>(count));
        return count;
    }
    if (command == TOKEN_PDNUMBER) {
        uint16_t count = 0;
        if (manager->countDiskPds(&count) != 0) {
            printMessage(MSG_PD_COUNT_FAILED, static_cast<int>(adapterNumber));
            return -1;
        }
        printMessage(MSG_PD_NUMBER, static_cast<int>(adapterNumber), static_cast<int>(count));
        return count;
    }
    printMessage(MSG_TEXT, "ObjNumberCp called incorrectly...");
    return 0;
}

namespace {

const CpRegistration<ObjNumberCp> registration(CpTraits().countResult());

} // namespace
