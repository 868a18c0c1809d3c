#include "RaidManager/Zpr/ArrayDataZpr.h"

#include <cstdio>

#include "DataProvider/DcmdOpcodes.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/ZprData.h"

ArrayDataZpr::ArrayDataZpr(Controller* controller, ArrayIdZpr* id) : ArrayData(controller, id), arrayId(id) {}

ArrayDataZpr::~ArrayDataZpr() {}

string ArrayDataZpr::toString()
{
    char text[32];
    snprintf(text, sizeof text, "Span Reference: 0x%.2x\n", arrayId != nullptr ? arrayId->getArrayRef() : 0);
    return string(text);
}

int ArrayDataZpr::getSize(uint64_t* blocks)
{
    if (!record.isPresent())
        return -1;
    if (blocks != nullptr)
        *blocks = record.sizeBlocks();
    return 0;
}

int ArrayDataZpr::getArrayRef(uint16_t* arrayRef)
{
    if (!record.isPresent())
        return -1;
    if (arrayRef != nullptr)
        *arrayRef = record.arrayRef();
    return 0;
}

int ArrayDataZpr::getMaxVdsPerArray(uint8_t* count)
{
    RaidManager* manager = getRaidManager(controller);
    Adapter* adapter = nullptr;
    if (manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    return adapter->getInfoByte788Or16(count);
}

int ArrayDataZpr::hasNoRecord(uint8_t* answer)
{
    if (answer != nullptr)
        *answer = record.isPresent() ? 0 : 1;
    return 0;
}

int ArrayDataZpr::setSize(uint64_t blocks)
{
    if (!record.isPresent() || !record.setSizeBlocks(blocks))
        return -1;
    return ZprData::sendCommand(controller, DCMD_CFG_SET_ARRAY, 0, record.writableData(), ZprArrayRecord::SIZE);
}
