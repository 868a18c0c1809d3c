#include "RaidManager/Zpr/AdapterDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"
#include "RaidManager/Zpr/Records/Controller/ZprCcSchedule.h"
#include "RaidManager/Zpr/Records/Sas/ZprConnectorInfo.h"
#include "RaidManager/Zpr/Records/Sas/ZprConnectorModes.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"
#include "RaidManager/Zpr/Records/Event/ZprEventLogInfo.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcDefaults.h"
#include "RaidManager/Zpr/Records/Mfc/ZprMfcOemData.h"
#include "RaidManager/Zpr/Records/Controller/ZprPatrolReadProperties.h"
#include "RaidManager/Zpr/Records/Controller/ZprRuntimeStatus.h"
#include "RaidManager/Zpr/Records/Sas/ZprSasPhyList.h"

namespace {

// How each cached record is read and written (0: it is never written).
struct RecordCommands {
    uint32_t read;
    uint32_t write;
    uint32_t size;
};

const RecordCommands RECORD_COMMANDS[AdapterDataZpr::RECORD_COUNT] = {
    {DCMD_ADP_GET_PROPERTIES, DCMD_ADP_SET_PROPERTIES, ZprControllerProperties::SIZE},
    {DCMD_ADP_EVENT_GET_INFO, 0, ZprEventLogInfo::SIZE},
    {DCMD_ADP_BIOS_GET_DATA, DCMD_ADP_BIOS_SET_DATA, ZprBiosData::SIZE},
    {DCMD_ADP_GET_INFO, 0, ZprControllerInfo::SIZE},
    {DCMD_ADP_MFC_GET_DEFAULTS, 0, ZprMfcDefaults::SIZE},
    {DCMD_ADP_PR_GET_PROPERTIES, DCMD_ADP_PR_SET_PROPERTIES, ZprPatrolReadProperties::SIZE},
    {DCMD_SAS_GET_MUX_MODE, DCMD_SAS_SET_MUX_MODE, ZprConnectorModes::SIZE},
    {DCMD_SAS_GET_CONNECTOR_INFO, 0, ZprConnectorInfo::SIZE},
    {DCMD_ADP_CC_SCHEDULE_GET_PROPERTIES, DCMD_ADP_CC_SCHEDULE_SET_PROPERTIES, ZprCcSchedule::SIZE},
    {DCMD_SAS_GET_PHY_INFO, 0, ZprSasPhyList::SIZE},
};

}  // namespace

AdapterDataZpr::AdapterDataZpr(Controller* controller, RaidElementId* id)
    : AdapterData(controller, id), runtimeStatus(0), propertiesChanged(false), connectorModesChanged(false),
      biosDataChanged(false)
{
    for (uint8_t*& record : records)
        record = nullptr;
}

AdapterDataZpr::~AdapterDataZpr()
{
    for (uint8_t* record : records)
        delete[] record;
}

string AdapterDataZpr::toString()
{
    return string();
}

int AdapterDataZpr::send(uint32_t opcode, uint8_t* buffer, uint32_t length, uint32_t mailbox0)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams* request = new (noThrowNew) DcmdZprDpParams(opcode, mailbox0, 0u, 0u, buffer, length, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

int AdapterDataZpr::loadRecord(Record record)
{
    if (records[record] != nullptr)
        return 0;
    const RecordCommands& commands = RECORD_COMMANDS[record];
    uint8_t* bytes = new (noThrowNew) uint8_t[commands.size]();
    if (bytes == nullptr)
        return -1;
    int status = send(commands.read, bytes, commands.size);
    if (status != 0 && record != PHY_LIST) {
        delete[] bytes;
        return status;
    }
    // A phy list that could not be read stays, zeroed: later queries answer no phys.
    if (status != 0)
        memset(bytes, 0, commands.size);
    records[record] = bytes;
    return status;
}

int AdapterDataZpr::writeRecord(Record record)
{
    if (records[record] == nullptr)
        return -1;
    const RecordCommands& commands = RECORD_COMMANDS[record];
    return send(commands.write, records[record], commands.size);
}

int AdapterDataZpr::commitRecord(Record record, bool& changed)
{
    if (!changed)
        return 0;
    int status = writeRecord(record);
    // Only a record the controller took is clean: after a failure the change is sent again.
    if (status == 0)
        changed = false;
    return status;
}

int AdapterDataZpr::loadProperties()
{
    return loadRecord(PROPERTIES);
}

int AdapterDataZpr::commitProperties()
{
    return commitRecord(PROPERTIES, propertiesChanged);
}

int AdapterDataZpr::loadBiosData()
{
    return loadRecord(BIOS_DATA);
}

int AdapterDataZpr::commitBiosData()
{
    if (biosDataChanged && records[BIOS_DATA] != nullptr)
        ZprBiosData(records[BIOS_DATA], ZprBiosData::SIZE).seal();
    return commitRecord(BIOS_DATA, biosDataChanged);
}

int AdapterDataZpr::loadConnectorModes()
{
    return loadRecord(CONNECTOR_MODES);
}

int AdapterDataZpr::commitConnectorModes()
{
    // Without a record there is nothing to commit, whatever the mark says.
    if (records[CONNECTOR_MODES] == nullptr)
        return -1;
    return commitRecord(CONNECTOR_MODES, connectorModesChanged);
}

int AdapterDataZpr::refreshControllerInfo(uint8_t* securityBit)
{
    delete[] records[CONTROLLER_INFO];
    records[CONTROLLER_INFO] = nullptr;
    int status = loadRecord(CONTROLLER_INFO);
    if (status == 0 && securityBit != nullptr)
        *securityBit = ZprControllerInfo(records[CONTROLLER_INFO], ZprControllerInfo::SIZE).securityBit();
    return status;
}

// ---------------------------------------------------------------------------------------------
// The setters and getters that show the cache at work on the BIOS data and connector modes.

int AdapterDataZpr::isBiosEnabled(uint8_t* enabled)
{
    int status = loadRecord(BIOS_DATA);
    if (status == 0 && enabled != nullptr)
        *enabled = ZprBiosData(records[BIOS_DATA], ZprBiosData::SIZE).biosDisabled() == 0 ? 1 : 0;
    return status;
}

int AdapterDataZpr::setBiosEnabled(uint8_t enabled)
{
    int status = loadRecord(BIOS_DATA);
    if (status == 0) {
        ZprBiosData(records[BIOS_DATA], ZprBiosData::SIZE).setBiosDisabled(enabled != 0 ? 0 : 1);
        biosDataChanged = true;
    }
    return status;
}

int AdapterDataZpr::getMuxConnectorCount(uint8_t* count)
{
    int status = loadRecord(CONNECTOR_MODES);
    if (status == 0 && count != nullptr)
        *count = ZprConnectorModes(records[CONNECTOR_MODES], ZprConnectorModes::SIZE).connectorCount();
    return status;
}

int AdapterDataZpr::getConnectorMode(uint8_t index, uint8_t* mode)
{
    uint8_t count = 0;
    int status = getMuxConnectorCount(&count);
    if (status != 0)
        return status;
    if (index >= count || index >= ZprConnectorModes::MAX_CONNECTORS)
        return -1;
    if (mode != nullptr)
        *mode = ZprConnectorModes(records[CONNECTOR_MODES], ZprConnectorModes::SIZE).mode(index);
    return 0;
}

int AdapterDataZpr::setConnectorMode(uint8_t mode, uint8_t index)
{
    // Only modes that were read can be changed: this does not read the record itself.
    if (records[CONNECTOR_MODES] == nullptr)
        return -1;
    uint8_t count = 0;
    int status = getMuxConnectorCount(&count);
    if (status != 0)
        return status;
    ZprConnectorModes modes(records[CONNECTOR_MODES], ZprConnectorModes::SIZE);
    if (index >= count || index >= ZprConnectorModes::MAX_CONNECTORS || mode == 0 || modes.mode(index) == 0)
        return -1;
    connectorModesChanged = true;
    modes.setMode(index, mode);
    return 0;
}

int AdapterDataZpr::getPhyCount(uint32_t* count)
{
    int status = loadRecord(PHY_LIST);
    if (status == 0 && count != nullptr)
        *count = ZprSasPhyList(records[PHY_LIST], ZprSasPhyList::SIZE).phyCount();
    return status;
}
