// The foreign configurations of RmDataZpr: configurations that drives moved in from another
// controller carry. The controller counts them, hands each out (or all of them together) in
// the layout of the configuration buffer, as stored or as an import would make it, imports
// them and clears them one at a time.
#include <cstring>

#include "ControllerMgmt/LinExpLd.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Array.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RmCfg.h"
#include "RaidManager/RmStatus.h"
#include "RaidManager/Zpr/RmDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/Config/ZprForeignScan.h"

namespace {

// 1 when an array of the list holds a drive with the device id.
bool arraysHoldDrive(ArrayList<Array*>* arrays, uint16_t deviceId)
{
    for (unsigned char a = 0; arrays != nullptr && a < arrays->count(); ++a) {
        ArrayList<PhysicalDevice*>* pds = nullptr;
        if (arrays->get(a) == nullptr || arrays->get(a)->getPdList(&pds) != 0 || pds == nullptr)
            continue;
        for (unsigned char i = 0; i < pds->count(); ++i) {
            uint16_t id = 0;
            if (pds->get(i) != nullptr && pds->get(i)->getDeviceId(&id) == 0 && id == deviceId)
                return true;
        }
    }
    return false;
}

}  // namespace

int RmDataZpr::exposeNewLds()
{
    const uint8_t adapterNumber = controllerId != nullptr ? controllerId->getNumber() : 0;
    return LinExpLd::instance(adapterNumber)->expose(controller, 0, EXPOSE_ADD_NEW) != 0 ? OS_STEP_FAILED : 0;
}

int RmDataZpr::scanForeignConfigs()
{
    uint8_t* block = new (noThrowNew) uint8_t[ZprForeignScan::SIZE];
    if (block == nullptr)
        return -1;
    memset(block, 0, ZprForeignScan::SIZE);
    const int status = ZprData::sendCommand(controller, DCMD_CFG_FOREIGN_SCAN, 0, block, ZprForeignScan::SIZE);
    const uint32_t count = ZprForeignScan(block, ZprForeignScan::SIZE).count();
    delete[] block;
    if (status != 0)
        return -1;
    return static_cast<int>(count);
}

int64_t RmDataZpr::foreignConfigSize(const ZprConfigBuffer& head)
{
    const uint32_t arrays = head.arrayCount();
    const uint32_t lds = head.ldCount();
    const uint32_t spares = head.spareCount();
    // A configuration larger than the model can hold is refused before anything is allocated.
    if (arrays > MAX_LIST_ITEMS || lds > MAX_LIST_ITEMS || spares > MAX_LIST_ITEMS)
        return -1;
    if (lds == 0 && spares == 0)
        return 0;
    uint64_t size = lds != 0 ? ZprConfigBuffer::sizeFor(arrays, lds, spares)
                             : spares * ZprSpareRecord::SIZE + ZprConfigBuffer::FIRST_READ_SIZE - ZprSpareRecord::SIZE;
    // A configuration of spares only whose dedicated spares name more than one array would not
    // fit in that: the read takes what its records need.
    if (ZprConfigBuffer::sizeFor(arrays, lds, spares) > size)
        size = ZprConfigBuffer::sizeFor(arrays, lds, spares);
    return static_cast<int64_t>(size);
}

int RmDataZpr::previewForeignConfig(RmCfg** config, uint8_t index, uint8_t preview)
{
    if (config == nullptr)
        return -1;
    const uint32_t opcode = preview != 0 ? DCMD_CFG_FOREIGN_PREVIEW : DCMD_CFG_FOREIGN_GET_CONFIG;
    uint8_t first[ZprConfigBuffer::FIRST_READ_SIZE];
    memset(first, 0, sizeof first);
    int status = ZprData::sendCommand(controller, opcode, index, first, sizeof first);
    if (status != 0)
        return status;
    const int64_t size = foreignConfigSize(ZprConfigBuffer(static_cast<const uint8_t*>(first), sizeof first));
    if (size <= 0)
        return static_cast<int>(size);
    uint8_t* buffer = new (noThrowNew) uint8_t[size];
    if (buffer == nullptr)
        return -1;
    memset(buffer, 0, size);
    status = ZprData::sendCommand(controller, opcode, index, buffer, static_cast<uint32_t>(size));
    RmCfg* read = nullptr;
    if (status == 0)
        status = parseConfig(ZprConfigBuffer(buffer, static_cast<size_t>(size)), &read, 1);
    if (status != 0) {
        delete[] buffer;
        return status;
    }
    read->setForeign(1);
    read->setForeignBuffer(buffer);
    *config = read;
    return 0;
}

int RmDataZpr::importForeignConfig(uint8_t index)
{
    const int status = ZprData::sendCommand(controller, DCMD_CFG_FOREIGN_IMPORT, index, nullptr, 0);
    if (status != 0)
        return status;
    return exposeNewLds();
}

int RmDataZpr::clearForeignConfigs(uint8_t index)
{
    // A failed scan (-1) refuses every index too.
    if (static_cast<int>(index) >= scanForeignConfigs())
        return -1;
    return ZprData::sendCommand(controller, DCMD_CFG_FOREIGN_CLEAR, index, nullptr, 0);
}

int RmDataZpr::getForeignPdsOutsidePreview(ArrayList<PhysicalDevice*>* list)
{
    if (list == nullptr || ensureDriveCache() != 0)
        return -1;
    RmCfg* preview = nullptr;
    const int status = previewForeignConfig(&preview, ALL_FOREIGN_CONFIGS, 1);
    if (status != 0)
        return status;
    ArrayList<Array*>* arrays = preview != nullptr ? preview->getArrays() : nullptr;
    // Without arrays to compare with, no drive is reported. The preview may have added
    // elements for drives it names; they are passed over like any drive that is not foreign.
    const bool anyArray = arrays != nullptr && arrays->count() > 0;
    for (unsigned char i = 0; anyArray && driveCache != nullptr && i < driveCache->count(); ++i) {
        PhysicalDevice* pd = driveCache->get(i);
        uint16_t id = 0;
        if (pd == nullptr || pd->isForeignConfig() != 1 || pd->isForeignImportable() != 1 || pd->getDeviceId(&id) != 0)
            continue;
        if (!arraysHoldDrive(arrays, id))
            list->add(pd);
    }
    delete preview;
    return 0;
}
