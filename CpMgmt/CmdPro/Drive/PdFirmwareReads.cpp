#include "CpMgmt/CmdPro/Drive/PdFirmwareReads.h"

#include <cstring>
#include <new>

#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "DataProvider/DcmdOpcodes.h"

namespace {

bool allocate(FirmwareBlock& block, uint32_t size)
{
    block.bytes.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
    if (!block.bytes)
        return false;
    memset(block.bytes.get(), 0, size == 0 ? 1 : size);
    block.size = size;
    return true;
}

int readBlock(CpController* cpController, uint32_t opcode, uint32_t size, FirmwareBlock& block)
{
    if (!allocate(block, size))
        return -1;
    return sendDcmdWithWord(cpController, opcode, 0, block.bytes.get(), size);
}

}  // namespace

int readFirmwarePdList(CpController* cpController, FirmwareBlock& list)
{
    FirmwareBlock first;
    int status = readBlock(cpController, DCMD_PD_GET_LIST, ZprPdList::FIRST_READ_SIZE, first);
    if (status != 0)
        return status;
    uint32_t size = 0;
    if (!ZprPdList::sizeForCount(pdListOf(first).count(), &size))
        return -1;
    return readBlock(cpController, DCMD_PD_GET_LIST, size, list);
}

int readFirmwareConfig(CpController* cpController, ConfigSecondRead second, FirmwareBlock& config)
{
    int status = readBlock(cpController, DCMD_CFG_READ, ZprConfigBuffer::FIRST_READ_SIZE, config);
    if (status != 0)
        return status;
    const ZprConfigBuffer first = configOf(config);
    if ((second == ConfigSecondRead::WhenArraysAbove1 && first.arrayCount() <= 1) ||
        (second == ConfigSecondRead::WhenLdsConfigured && first.ldCount() == 0))
        return 0;
    // The counts are 16 bits each, so the size always fits the 32-bit length of a command.
    const uint64_t size = first.requiredSize();
    FirmwareBlock whole;
    status = readBlock(cpController, DCMD_CFG_READ, static_cast<uint32_t>(size), whole);
    if (status == 0)
        config = std::move(whole);
    return status;
}

ZprPdList pdListOf(const FirmwareBlock& list)
{
    return ZprPdList(list.bytes.get(), list.bytes ? list.size : 0);
}

ZprConfigBuffer configOf(const FirmwareBlock& config)
{
    return ZprConfigBuffer(static_cast<const uint8_t*>(config.bytes.get()), config.bytes ? config.size : 0);
}

uint32_t arraysRead(const FirmwareBlock& config)
{
    const ZprConfigBuffer buffer = configOf(config);
    return clampCount(buffer.arrayCount(), buffer.view().room(ZprConfigBuffer::ARRAYS, ZprArrayRecord::SIZE));
}

bool findListedDevice(const ZprPdList& list, uint16_t enclosureId, uint8_t slot, bool disksOnly, uint16_t* deviceId)
{
    const uint32_t count = list.entryCount();
    for (uint32_t i = 0; i < count; ++i) {
        const ZprPdListEntry entry = list.entry(i);
        if (entry.enclosureId() != enclosureId || entry.slotNumber() != slot)
            continue;
        if (disksOnly && entry.deviceType() != ZprPdListEntry::DEVICE_TYPE_DISK)
            continue;
        *deviceId = entry.deviceId();
        return true;
    }
    return false;
}
