#include "RaidManager/Zpr/ZprData.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/Drive/ZprDeviceList.h"
#include "RaidManager/Zpr/Records/Drive/ZprEnclosureList.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "System/OsBoundary.h"

namespace {

// The table of objects. A released object leaves its slot empty; new objects are appended at
// the count, and only once the end is reached are emptied slots taken again.
ZprData* objects[ZprData::MAX_OBJECTS];
uint8_t objectCount = 0;

}  // namespace

ZprData* ZprData::instance(Controller* controller)
{
    for (uint8_t i = 0; i < objectCount; ++i) {
        if (objects[i] != nullptr && objects[i]->controller == controller)
            return objects[i];
    }
    uint8_t slot = objectCount;
    if (slot == MAX_OBJECTS) {
        slot = 0;
        while (slot < MAX_OBJECTS && objects[slot] != nullptr)
            ++slot;
        if (slot == MAX_OBJECTS)
            return nullptr;
    }
    ZprData* made = new (noThrowNew) ZprData(controller);
    if (made == nullptr)
        return nullptr;
    objects[slot] = made;
    if (slot == objectCount)
        ++objectCount;
    return made;
}

int ZprData::release(Controller* controller)
{
    for (uint8_t i = 0; i < objectCount; ++i) {
        if (objects[i] != nullptr && objects[i]->controller == controller) {
            delete objects[i];
            objects[i] = nullptr;
            return 0;
        }
    }
    return -1;
}

uint8_t ZprData::tableCount()
{
    return objectCount;
}

void ZprData::releaseAll()
{
    for (uint8_t i = 0; i < objectCount; ++i) {
        delete objects[i];
        objects[i] = nullptr;
    }
    objectCount = 0;
}

int ZprData::sendCommand(Controller* controller, uint32_t opcode, uint32_t mailbox0, void* data, uint32_t length)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams* request = new (noThrowNew) DcmdZprDpParams(opcode, mailbox0, 0u, 0u, data, length, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

int ZprData::readInTwoPasses(Controller* controller, uint32_t opcode, uint32_t mailbox0, uint32_t first,
                             uint32_t (*sizeOf)(const LeView& head), uint8_t** block)
{
    if (block == nullptr || sizeOf == nullptr || first == 0)
        return -1;
    uint8_t* head = new (noThrowNew) uint8_t[first];
    if (head == nullptr)
        return -1;
    memset(head, 0, first);
    int status = sendCommand(controller, opcode, mailbox0, head, first);
    const uint32_t size = status == 0 ? sizeOf(LeView(static_cast<const uint8_t*>(head), first)) : 0;
    delete[] head;
    if (status != 0 || size == 0)
        return status;
    if (size == BAD_HEAD)
        return -1;
    uint8_t* whole = new (noThrowNew) uint8_t[size];
    if (whole == nullptr)
        return -1;
    memset(whole, 0, size);
    status = sendCommand(controller, opcode, mailbox0, whole, size);
    if (status != 0) {
        delete[] whole;
        return status;
    }
    *block = whole;
    return 0;
}

ZprData::ZprData(Controller* controller) : controller(controller), retiredConfigs(nullptr), arrayIndex(0) {}

ZprData::~ZprData()
{
    ignoreStatus(resetCaches(), "frees the cached records: always 0");
}

void ZprData::freeBlock(Block& block)
{
    delete[] block.bytes;
    block.bytes = nullptr;
    block.size = 0;
}

bool ZprData::allocateBlock(Block& block, uint32_t size)
{
    block.bytes = new (noThrowNew) uint8_t[size != 0 ? size : 1];
    if (block.bytes == nullptr)
        return false;
    memset(block.bytes, 0, size);
    block.size = size;
    return true;
}

int ZprData::resetCaches()
{
    freeBlock(pdList);
    freeBlock(ldList);
    freeBlock(pdQuery);
    freeBlock(config);
    freeBlock(addBuffer);
    while (retiredConfigs != nullptr) {
        Block* next = retiredConfigs->next;
        freeBlock(*retiredConfigs);
        delete retiredConfigs;
        retiredConfigs = next;
    }
    return 0;
}

int ZprData::send(uint32_t opcode, uint32_t mailbox0, void* data, uint32_t length)
{
    return sendCommand(controller, opcode, mailbox0, data, length);
}

int ZprData::readPdList(uint32_t opcode, uint32_t mailbox0, Block& block)
{
    uint8_t first[ZprPdList::FIRST_READ_SIZE];
    memset(first, 0, sizeof first);
    int status = send(opcode, mailbox0, first, sizeof first);
    if (status != 0)
        return status;
    uint32_t size = 0;
    if (!ZprPdList::sizeForCount(ZprPdList(first, sizeof first).count(), &size))
        return -1;
    Block read;
    if (!allocateBlock(read, size))
        return -1;
    status = send(opcode, mailbox0, read.bytes, size);
    if (status != 0) {
        freeBlock(read);
        return status;
    }
    block = read;
    return 0;
}

int ZprData::getPdList(ZprPdList* list)
{
    if (pdList.bytes == nullptr) {
        int status = readPdList(DCMD_PD_GET_LIST, 0, pdList);
        if (status != 0)
            return status;
    }
    *list = ZprPdList(pdList.bytes, pdList.size);
    return 0;
}

int ZprData::queryPdList(ZprPdList* list)
{
    if (pdQuery.bytes == nullptr) {
        int status = readPdList(DCMD_PD_LIST_QUERY, PD_QUERY_TYPE, pdQuery);
        if (status != 0)
            return status;
    }
    *list = ZprPdList(pdQuery.bytes, pdQuery.size);
    return 0;
}

int ZprData::getLdList(ZprLdList* list)
{
    if (ldList.bytes == nullptr) {
        Block read;
        if (!allocateBlock(read, ZprLdList::SIZE))
            return -1;
        int status = send(DCMD_LD_GET_LIST, 0, read.bytes, read.size);
        if (status == 0 && !ZprLdList(read.bytes, read.size).isCountValid())
            status = -1;
        if (status != 0) {
            freeBlock(read);
            return status;
        }
        ldList = read;
    }
    *list = ZprLdList(ldList.bytes, ldList.size);
    return 0;
}

int ZprData::getEnclosureList(uint8_t** list)
{
    Block read;
    if (!allocateBlock(read, ZprEnclosureList::SIZE))
        return -1;
    int status = send(DCMD_ENCL_GET_LIST, 0, read.bytes, read.size);
    if (status == 0 && !ZprEnclosureList(read.bytes, read.size).isCountValid())
        status = -1;
    if (status != 0) {
        freeBlock(read);
        return status;
    }
    *list = read.bytes;
    return 0;
}

int ZprData::readWholeConfig(const ZprConfigBuffer& first, Block& block)
{
    uint64_t size = first.requiredSize();
    if (size <= ZprConfigBuffer::FIRST_READ_SIZE) {
        // The first block holds every record already.
        if (!allocateBlock(block, ZprConfigBuffer::FIRST_READ_SIZE))
            return -1;
        memcpy(block.bytes, first.view().data(), ZprConfigBuffer::FIRST_READ_SIZE);
        return 0;
    }
    if (!allocateBlock(block, static_cast<uint32_t>(size)))
        return -1;
    int status = send(DCMD_CFG_READ, 0, block.bytes, block.size);
    // The configuration may have changed between the two reads: the whole buffer must still
    // hold exactly the records its own header lists.
    if (status == 0 && ZprConfigBuffer(block.bytes, block.size).checkLayout() != ZprConfigBuffer::LAYOUT_OK)
        status = -1;
    if (status != 0)
        freeBlock(block);
    return status;
}

int ZprData::readConfig(ZprConfigBuffer* out, uint8_t reread)
{
    if (config.bytes != nullptr && reread == 0) {
        *out = ZprConfigBuffer(config.bytes, config.size);
        return 0;
    }
    uint8_t first[ZprConfigBuffer::FIRST_READ_SIZE];
    memset(first, 0, sizeof first);
    int status = send(DCMD_CFG_READ, 0, first, sizeof first);
    if (status != 0)
        return status;
    ZprConfigBuffer firstView(first, sizeof first);
    ZprConfigBuffer::Layout layout = firstView.checkLayout();
    // Records beyond the first block are read next; any other fault refuses the buffer.
    if (layout != ZprConfigBuffer::LAYOUT_OK && layout != ZprConfigBuffer::LAYOUT_TRUNCATED)
        return -1;
    Block read;
    status = readWholeConfig(firstView, read);
    if (status != 0)
        return status;
    retireConfig();
    config = read;
    *out = ZprConfigBuffer(config.bytes, config.size);
    return 0;
}

void ZprData::retireConfig()
{
    if (config.bytes == nullptr)
        return;
    Block* kept = new (noThrowNew) Block(config);
    if (kept == nullptr) {
        // Nothing can keep it aside: leaking it is safer than freeing what the model may use.
        config = Block();
        return;
    }
    kept->next = retiredConfigs;
    retiredConfigs = kept;
    config = Block();
}

int ZprData::readLdIdList(uint32_t opcode, uint32_t mailbox0, uint8_t** list, uint32_t* size)
{
    uint8_t first[ZprLdIdList::UNIT];
    memset(first, 0, sizeof first);
    int status = send(opcode, mailbox0, first, sizeof first);
    if (status != 0)
        return status;
    uint32_t count = ZprLdIdList(first, sizeof first).count();
    uint32_t length = 0;
    if (!ZprLdIdList::sizeForCount(count, &length))
        return -1;
    Block read;
    if (!allocateBlock(read, length))
        return -1;
    if (count == 0) {
        memcpy(read.bytes, first, sizeof first);
    } else {
        status = send(opcode, mailbox0, read.bytes, read.size);
        if (status != 0) {
            freeBlock(read);
            return status;
        }
    }
    *list = read.bytes;
    *size = read.size;
    return 0;
}

int ZprData::sendDeviceList(uint32_t count, const uint16_t* deviceIds, uint32_t* firmwareCount)
{
    if (count == 0)
        return 0;
    uint32_t size = 0;
    if (deviceIds == nullptr || !ZprDeviceList::sizeForCount(count, &size))
        return -1;
    Block block;
    if (!allocateBlock(block, size))
        return -1;
    ZprDeviceList list(LeView(block.bytes, block.size));
    list.setSize(block.size);
    list.setCount(count);
    for (uint32_t i = 0; i < count; ++i)
        list.setDeviceId(i, deviceIds[i]);
    int status = send(DCMD_PD_LIST_OPERATION, 0, block.bytes, block.size);
    osBoundary().system(SPIN_UP_PAUSE);
    if (status == 0 && firmwareCount != nullptr)
        *firmwareCount = list.count();
    freeBlock(block);
    return status;
}

int ZprData::findDeviceId(uint16_t enclosureId, uint8_t slot)
{
    ZprPdList list(pdList.bytes, pdList.size);
    for (uint32_t i = 0; i < list.entryCount(); ++i) {
        ZprPdListEntry entry = list.entry(i);
        if (entry.enclosureId() == enclosureId && entry.slotNumber() == slot &&
            entry.deviceType() == ZprPdListEntry::DEVICE_TYPE_DISK)
            return entry.deviceId();
    }
    return -1;
}

int ZprData::findArrayOfDrive(uint16_t enclosureId, uint8_t slot)
{
    int deviceId = findDeviceId(enclosureId, slot);
    if (deviceId < 0 || config.bytes == nullptr)
        return 0;
    ZprConfigBuffer buffer(config.bytes, config.size);
    for (uint32_t a = 0; a < buffer.arrayCount(); ++a) {
        ZprArrayRecord array = buffer.arrayRecord(a);
        for (uint32_t d = 0; d < array.driveEntryCount(); ++d) {
            if (array.drive(d).deviceId() == deviceId) {
                arrayIndex = static_cast<uint16_t>(a);
                return 1;
            }
        }
    }
    return 0;
}
