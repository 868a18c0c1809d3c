// The snapshot commands of VdDataZpr. No command of the system calls them; they send what
// the interface promises, and refuse answers whose counts do not fit.
#include <cstring>

#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/Memory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/VdDataZpr.h"
#include "RaidManager/Zpr/ZprData.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/Config/ZprSnapshotBlock.h"
#include "RaidManager/Zpr/Records/Config/ZprSnapshotSpace.h"
#include "RaidManager/Zpr/Records/Config/ZprSnapshotViewList.h"

namespace {

// Mailbox values of the commands that carry a fixed one.
const uint32_t SNAPSHOT_NAME_WORD0 = 1;
const uint32_t SNAPSHOT_DELETE_WORD1 = 255;

// The snapshot commands whose length is the catalogue's (the caller's length 0).
const uint32_t CATALOGUE_LENGTH = 0;

}  // namespace

int VdDataZpr::snapshotOperation56()
{
    if (isSnapshotEnabled() == 0)
        return 0;
    return sendByReference(DCMD_LD_SNAPSHOT_SUBCMD_02, 0);
}

int VdDataZpr::snapshotOperation65(uint32_t value)
{
    return send(DCMD_LD_SNAPSHOT_SUBCMD_02, value, 0, nullptr, 0);
}

int VdDataZpr::readSnapshotIds(uint8_t** list, uint32_t* size)
{
    ZprData* data = controller != nullptr ? ZprData::instance(controller) : nullptr;
    if (list == nullptr || data == nullptr || vdId == nullptr)
        return -1;
    return data->readLdIdList(DCMD_LD_SNAPSHOT_SUBCMD_0B, targetByte(), list, size);
}

int VdDataZpr::snapshotOperation57(uint32_t* targetIds, uint32_t* count)
{
    if (getLdInfoFlag303() == 0)
        return 0;
    uint8_t* list = nullptr;
    uint32_t size = 0;
    int status = readSnapshotIds(&list, &size);
    if (status != 0)
        return status;
    ZprLdIdList ids(list, size);
    const uint32_t n = ids.entryCount();
    for (uint32_t i = 0; i < n && targetIds != nullptr; ++i)
        targetIds[i] = ids.targetId(i);
    if (count != nullptr)
        *count = n;
    delete[] list;
    return 0;
}

int VdDataZpr::snapshotOperation59(const char* text)
{
    if (isSnapshotEnabled() == 0 || text == nullptr || strlen(text) > ZprSnapshotBlock::NAME_MAX_LENGTH)
        return -1;
    uint8_t block[ZprSnapshotBlock::SIZE];
    memset(block, 0, sizeof block);
    ZprSnapshotBlock b(LeView(block, sizeof block));
    b.view().setU32(ZprSnapshotBlock::REFERENCE, reference());
    b.view().writeBytes(ZprSnapshotBlock::NAME, text, strlen(text) + 1);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_03, SNAPSHOT_NAME_WORD0, 0, block, sizeof block);
}

int VdDataZpr::snapshotOperation60(const char* text, const uint8_t* value16, uint8_t value8, uint32_t value32,
                                   uint64_t value64)
{
    uint8_t block[ZprSnapshotBlock::SIZE];
    memset(block, 0, sizeof block);
    ZprSnapshotBlock b(LeView(block, sizeof block));
    b.view().setU32(ZprSnapshotBlock::REFERENCE, reference());
    b.view().setU64(ZprSnapshotBlock::VALUE64, value64);
    if (value16 != nullptr)
        b.view().writeBytes(ZprSnapshotBlock::VALUE16, value16, ZprSnapshotBlock::VALUE16_SIZE);
    b.view().setU64(ZprSnapshotBlock::VALUE32, value32);
    if (text != nullptr && text[0] != '\0')
        b.view().writeBytes(ZprSnapshotBlock::TEXT, text, strnlen(text, ZprSnapshotBlock::TEXT_SIZE));
    b.view().setU8(ZprSnapshotBlock::VALUE8, value8);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_05, reference(), 0, block, CATALOGUE_LENGTH);
}

int VdDataZpr::snapshotOperation72(const uint8_t* block)
{
    if (block == nullptr)
        return -1;
    uint8_t copy[ZprSnapshotBlock::SIZE];
    memcpy(copy, block, sizeof copy);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_05, reference(), 0, copy, CATALOGUE_LENGTH);
}

int VdDataZpr::snapshotOperation68(uint64_t value64, uint8_t value8, uint8_t flag)
{
    uint8_t block[ZprSnapshotSpace::SIZE];
    memset(block, 0, sizeof block);
    LeView b(block, sizeof block);
    b.setU64(ZprSnapshotSpace::VALUE64, value64);
    b.setU8(ZprSnapshotSpace::VALUE8, value8);
    b.setU8(ZprSnapshotSpace::FLAG, flag == 1 ? 1 : 0);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_01, reference(), 0, block, CATALOGUE_LENGTH);
}

int VdDataZpr::snapshotOperation69(uint64_t value)
{
    uint8_t bytes[8];
    LeView(bytes, sizeof bytes).setU64(0, value);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_07, reference(), 0, bytes, CATALOGUE_LENGTH);
}

int VdDataZpr::snapshotOperation70(uint32_t value32, uint64_t value64)
{
    uint8_t bytes[8];
    LeView(bytes, sizeof bytes).setU64(0, value64);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_04, reference(), value32, bytes, CATALOGUE_LENGTH);
}

int VdDataZpr::snapshotOperation71(uint64_t value)
{
    uint8_t bytes[8];
    LeView(bytes, sizeof bytes).setU64(0, value);
    return send(DCMD_LD_SNAPSHOT_SUBCMD_06, reference(), 0, bytes, CATALOGUE_LENGTH);
}

int VdDataZpr::snapshotOperation73(uint8_t** list)
{
    if (list == nullptr)
        return -1;
    uint8_t* read = nullptr;
    uint32_t size = 0;
    int status = readSnapshotIds(&read, &size);
    if (status != 0)
        return status;
    if (ZprLdIdList(read, size).count() == 0) {
        delete[] read;
        return 0;
    }
    *list = read;
    return 0;
}

int VdDataZpr::snapshotOperation74(uint8_t** list)
{
    if (list == nullptr || vdId == nullptr)
        return -1;
    return ZprData::readInTwoPasses(controller, DCMD_LD_SNAPSHOT_SUBCMD_0C, targetByte(),
                                    ZprSnapshotViewList::FIRST_READ,
                                    [](const LeView& head) {
                                        const uint32_t count = head.u32(ZprSnapshotViewList::COUNT);
                                        if (count == 0)
                                            return 0u;
                                        return count > ZprSnapshotViewList::MAX_ENTRIES
                                                   ? ZprData::BAD_HEAD
                                                   : ZprSnapshotViewList::sizeForCount(count);
                                    },
                                    list);
}

int VdDataZpr::snapshotOperation75()
{
    return send(DCMD_LD_SNAPSHOT_SUBCMD_0D, reference(), SNAPSHOT_DELETE_WORD1, nullptr, 0);
}
