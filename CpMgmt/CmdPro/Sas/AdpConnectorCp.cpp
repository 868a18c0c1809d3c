#include "CpMgmt/CmdPro/Sas/AdpConnectorCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"

namespace {

// The connector number of the request that stands for every connector.
const unsigned char EVERY_CONNECTOR = 255;

// Mode codes and their texts, by the request's mode word.
struct ModeRow {
    unsigned short token;
    uint8_t code;
    const char* text;
};
const ModeRow MODES[] = {
    {TOKEN_MUXINTERNAL, 1, "Internal"},
    {TOKEN_MUXEXTERNAL, 2, "External"},
    {TOKEN_MUXAUTO, 3, "Auto"},
};

const char* modeText(uint8_t code)
{
    for (const ModeRow& row : MODES)
        if (row.code == code)
            return row.text;
    return "";
}

uint8_t modeCode(unsigned short token)
{
    for (const ModeRow& row : MODES)
        if (row.token == token)
            return row.code;
    return 0;
}

// The connectors a request names: every one of `count`, or those listed.
template <typename Step>
int forEachConnector(MuxModeParsedObject* request, uint8_t count, Step step)
{
    const bool every = request->getMux(0) == EVERY_CONNECTOR;
    const unsigned n = every ? count : request->getMuxCount();
    for (unsigned i = 0; i < n; ++i) {
        int status = step(every ? static_cast<uint8_t>(i) : request->getMux(static_cast<unsigned char>(i)));
        if (status != 0)
            return status;
    }
    return 0;
}

}  // namespace

int MuxModeCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<MuxModeParsedObject>> start(cpController, request, "MuxModeParsedObject");
    if (!start)
        return start.result();
    const int adapter = start.number();
    MuxModeParsedObject* own = start.request();
    Adapter* element = start.adapter();
    uint8_t count = 0;
    int status = element->getMuxConnectorCount(&count);
    if (status != 0) {
        printMessage(MSG_CONNECTOR_OPERATION_FAILED, adapter);
        return status;
    }
    if (count == 0) {
        printMessage(MSG_NO_CONNECTOR, adapter);
        return -1;
    }
    printMessage(MSG_CONNECTOR_COUNT, adapter, static_cast<int>(count));
    if (own->getCommandToken() == TOKEN_MUXGETMODE)
        return showModes(element, own, count, adapter);
    return setModes(element, own, count, adapter);
}

int MuxModeCp::showModes(Adapter* adapter, MuxModeParsedObject* request, uint8_t count, int adapterNumber)
{
    return forEachConnector(request, count, [&](uint8_t connector) {
        uint8_t mode = 0;
        int status = adapter->getConnectorMode(connector, &mode);
        if (status != 0) {
            printMessage(MSG_GET_CONNECTOR_MODE_FAILED, adapterNumber);
            return status;
        }
        printMessage(MSG_CONNECTOR_MODE, adapterNumber, static_cast<int>(connector), modeText(mode));
        return 0;
    });
}

int MuxModeCp::setModes(Adapter* adapter, MuxModeParsedObject* request, uint8_t count, int adapterNumber)
{
    int status = adapter->loadConnectorModes();
    if (status != 0) {
        printMessage(MSG_CONNECTOR_OPERATION_FAILED, adapterNumber);
        return status;
    }
    const uint8_t mode = modeCode(request->getMode());
    status = forEachConnector(request, count, [&](uint8_t connector) {
        int set = adapter->setConnectorMode(mode, connector);
        if (set != 0)
            printMessage(MSG_SET_CONNECTOR_MODE_FAILED, adapterNumber);
        return set;
    });
    if (status != 0)
        return status;
    status = adapter->commitConnectorModes();
    if (status != 0) {
        printMessage(MSG_CONNECTOR_OPERATION_FAILED, adapterNumber);
        return status;
    }
    printMessage(MSG_SET_CONNECTOR_MODE_DONE, adapterNumber);
    printMessage(MSG_REBOOT_REQUIRED);
    return 0;
}

// ---------------------------------------------------------------------------------------------

int PdMappingCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PdMappingParsedObject> start(cpController, request, "PdMappingParsedObject *");
    if (!start)
        return start.result();
    const int adapter = start.number();
    PdMappingParsedObject* own = start.request();
    uint8_t defaults[ZprMfcDefaults::SIZE];
    memset(defaults, 0, sizeof defaults);
    if (sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, defaults) != 0) {
        printMessage(MSG_GET_DATA_FAILED, adapter);
        return -1;
    }
    LeView record(defaults, sizeof defaults);
    if (own->getAction() == TOKEN_DISPLAY) {
        printMessage(MSG_DIRECT_PD_MAPPING, adapter,
                     record.u8(ZprMfcDefaults::DIRECT_PD_MAPPING) != 0 ? "Enabled" : "Disabled");
        return 0;
    }
    // The whole block is written back, also when the setting does not change.
    record.setU8(ZprMfcDefaults::DIRECT_PD_MAPPING, own->getAction() == TOKEN_ENABLE ? 1 : 0);
    if (sendDcmd(cpController, DCMD_ADP_MFC_SET_DEFAULTS, defaults) != 0) {
        printMessage(MSG_SET_DATA_FAILED, adapter);
        return -1;
    }
    printMessage(MSG_DIRECT_PD_MAPPING_SET, adapter);
    printMessage(MSG_CHANGE_NEEDS_REBOOT);
    return 0;
}

namespace {

const CpRegistration<MuxModeCp> muxMode;
const CpRegistration<PdMappingCp> pdMapping;

}  // namespace
