#include "CpMgmt/CmdPro/Config/ObjNumberCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/ParsedObject.h"
#include "Parser/TokenIds.h"
#include "RaidManager/RaidManager.h"

namespace {

// A count that could not be read ends with the read's status, as any failed read does: with
// its firmware description it is not taken for a count (-1 when the read gave no status).
int readFailure(int status)
{
    return status != 0 ? status : -1;
}

} // namespace

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
        if (int status = manager->getVdCount(&count)) {
            printMessage(MSG_VD_COUNT_FAILED, static_cast<int>(adapterNumber));
            return readFailure(status);
        }
        printMessage(MSG_VD_NUMBER_CONFIGURED, static_cast<int>(adapterNumber), static_cast<int>(count));
        return count;
    }
    if (command == TOKEN_PDNUMBER) {
        uint16_t count = 0;
        if (int status = manager->countDiskPds(&count)) {
            printMessage(MSG_PD_COUNT_FAILED, static_cast<int>(adapterNumber));
            return readFailure(status);
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
