#include "CpMgmt/CmdPro/Adapter/AdpSetGetTimeCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerTime.h"

namespace {

int showTime(CpController* cpController, int adapter)
{
    uint8_t record[ZprControllerTime::SIZE] = {};
    int status = sendDcmd(cpController, DCMD_ADP_GET_TIME, record);
    if (status != 0) {
        printMessage(MSG_GET_DATA_FAILED, adapter);
        return status;
    }
    const ZprControllerTime clock(static_cast<const uint8_t*>(record), sizeof record);
    // Month first, as the controller's own console shows it.
    printMessage(MSG_CONTROLLER_TIME, adapter, static_cast<int>(clock.month()), static_cast<int>(clock.day()),
                 static_cast<int>(clock.year()), static_cast<int>(clock.hour()), static_cast<int>(clock.minute()),
                 static_cast<int>(clock.second()));
    return 0;
}

int setTime(CpController* cpController, const AdpTimeParsedObject& request, int adapter)
{
    uint8_t record[ZprControllerTime::SIZE] = {};
    // The parser takes "-AdpSetTime" only with both a date and a time; a request without them
    // is refused here rather than setting the clock to zeros.
    AdpDateTime given = {};
    if (request.getDateTime(&given) != 0) {
        printMessage(MSG_SET_DATA_FAILED, adapter);
        return -1;
    }
    ZprControllerTime(record, sizeof record).set(given.year, given.month, given.day, given.hour, given.minute,
                                                 given.second);
    int status = sendDcmd(cpController, DCMD_ADP_SET_TIME, record);
    if (status != 0) {
        printMessage(MSG_SET_DATA_FAILED, adapter);
        return status;
    }
    printMessage(MSG_CONTROLLER_TIME_SET, adapter);
    return 0;
}

} // namespace

int AdpSetGetTimeCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpTimeParsedObject> start(cpController, request, "AdpTimeParsedObject *");
    if (!start)
        return start.result();
    if (start.request()->getCommandToken() == TOKEN_GETTIME)
        return showTime(cpController, start.number());
    return setTime(cpController, *start.request(), start.number());
}

namespace {

const CpRegistration<AdpSetGetTimeCp> registration;

} // namespace
