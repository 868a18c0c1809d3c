// The SAS side of the adapter data: the connector information, the phys of the phy list and
// the phy-control requests (error counters, the length probe, and the block, list and write
// forms). Each phy-control request is a buffer of its own, released on every path; buffers
// handed to the caller are the caller's to release with delete[].
#include "RaidManager/Zpr/AdapterDataZpr.h"

#include <cstring>
#include <memory>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/Sas/ZprConnectorInfo.h"
#include "RaidManager/Zpr/Records/Sas/ZprPhyControlRequest.h"
#include "RaidManager/Zpr/Records/Sas/ZprPhyErrorCounters.h"
#include "RaidManager/Zpr/Records/Sas/ZprSasPhyList.h"

namespace {

typedef std::unique_ptr<uint8_t[]> Buffer;

// A zero-filled buffer of `size` bytes (null when memory is short).
Buffer zeroed(size_t size)
{
    return Buffer(new (noThrowNew) uint8_t[size]());
}

// The first header bytes of the block, list and write forms.
void startRequest(ZprPhyControlRequest& request, uint8_t alternative)
{
    request.view().setU8(ZprPhyControlRequest::KIND,
                         alternative != 0 ? ZprPhyControlRequest::KIND_ALTERNATIVE : ZprPhyControlRequest::KIND_PLAIN);
    request.view().setU8(ZprPhyControlRequest::INDEXING, 1);
}

// A new copy of `size` bytes, handed to a caller.
uint8_t* copyOut(const uint8_t* from, size_t size)
{
    uint8_t* out = new (noThrowNew) uint8_t[size];
    if (out != nullptr)
        memcpy(out, from, size);
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Connector information.

int AdapterDataZpr::getConnectorInfoCount(uint8_t* count)
{
    int status = loadRecord(CONNECTOR_INFO);
    if (status == 0 && count != nullptr)
        *count = ZprConnectorInfo(records[CONNECTOR_INFO], ZprConnectorInfo::SIZE).entryCount();
    return status;
}

int AdapterDataZpr::getConnectorEntryByte(uint8_t index, uint8_t* location)
{
    uint8_t count = 0;
    int status = getConnectorInfoCount(&count);
    if (status != 0)
        return status;
    if (index >= count)
        return -1;
    if (location != nullptr)
        *location = ZprConnectorInfo(records[CONNECTOR_INFO], ZprConnectorInfo::SIZE).location(index);
    return 0;
}

int AdapterDataZpr::getConnectorName(uint8_t index, string** name)
{
    uint8_t count = 0;
    int status = getConnectorInfoCount(&count);
    if (status != 0)
        return status;
    if (name == nullptr)
        return -1;
    *name = nullptr;
    if (index >= count)
        return -1;
    char text[ZprConnectorInfo::NAME_WIDTH + 1];
    ZprConnectorInfo(records[CONNECTOR_INFO], ZprConnectorInfo::SIZE).name(index, text, sizeof text);
    *name = new (noThrowNew) string(text);
    return *name != nullptr ? 0 : -1;
}

// ---------------------------------------------------------------------------------------------
// Phys.

int AdapterDataZpr::getPhyInfo(uint8_t index, uint8_t* disabled)
{
    // The list has room for 16 phys: a later index would read past it.
    if (index >= ZprSasPhyList::MAX_ENTRIES)
        return -1;
    int status = loadRecord(PHY_LIST);
    if (status == 0 && disabled != nullptr)
        *disabled = ZprSasPhyList(records[PHY_LIST], ZprSasPhyList::SIZE).isDisabled(index) ? 1 : 0;
    return status;
}

int AdapterDataZpr::getPhyEntry(uint8_t index, uint8_t* entry)
{
    if (entry == nullptr || index >= ZprSasPhyList::MAX_ENTRIES)
        return -1;
    int status = loadRecord(PHY_LIST);
    if (status == 0)
        ZprSasPhyList(records[PHY_LIST], ZprSasPhyList::SIZE)
            .view()
            .readBytes(ZprSasPhyList::entryAt(index), entry, ZprSasPhyList::ENTRY_SIZE);
    return status;
}

// ---------------------------------------------------------------------------------------------
// Phy-control requests.

int AdapterDataZpr::sendPhyControl(uint8_t* request, uint32_t length)
{
    if (LinuxZprDataProvider::instance(0) == nullptr || controller == nullptr)
        return -1;
    DcmdZprDpParams* command =
        new (noThrowNew) DcmdZprDpParams(DCMD_SAS_PHY_CONTROL, 0u, 0u, 0u, request, length, 0, 0);
    if (command == nullptr)
        return -1;
    int status = controller->execute(command);
    delete command;
    return status;
}

int AdapterDataZpr::readPhyErrorCounters(uint8_t phy, uint8_t* counters, bool flat)
{
    if (counters == nullptr)
        return -1;
    uint32_t count = 0;
    int status = getPhyCount(&count);
    if (status != 0)
        return status;
    if (count == 0 || phy > count - 1)
        return -1;
    Buffer request = zeroed(ZprPhyControlRequest::ERROR_COUNTERS_SIZE);
    if (!request)
        return -1;
    ZprPhyControlRequest r(request.get(), ZprPhyControlRequest::ERROR_COUNTERS_SIZE);
    LeView& v = r.view();
    v.setU8(ZprPhyControlRequest::KIND, ZprPhyControlRequest::KIND_PLAIN);
    v.setU16(ZprPhyControlRequest::RESPONSE_LENGTH, ZprPhyControlRequest::ERROR_COUNTERS_LENGTH);
    uint32_t number = phy;
    if (flat) {
        v.setU8(ZprPhyControlRequest::INDEXING, 1);
    } else if (number >= ZprPhyControlRequest::PHYS_PER_GROUP) {
        // Phys of the upper group are numbered from 0 within it.
        v.setU8(ZprPhyControlRequest::UPPER_GROUP, 1);
        number -= ZprPhyControlRequest::PHYS_PER_GROUP;
    }
    r.setFields(ZprPhyControlRequest::ERROR_COUNTERS_OPERATION, ZprPhyControlRequest::ERROR_COUNTERS_FUNCTION,
                ZprPhyControlRequest::ERROR_COUNTERS_SELECTOR, number);
    status = sendPhyControl(request.get(), ZprPhyControlRequest::ERROR_COUNTERS_SIZE);
    if (status == 0)
        v.readBytes(ZprPhyControlRequest::PAYLOAD, counters, ZprPhyErrorCounters::SIZE);
    return status;
}

int AdapterDataZpr::getPhyErrorCounters(uint8_t phy, uint8_t* counters)
{
    return readPhyErrorCounters(phy, counters, false);
}

int AdapterDataZpr::getPhyErrorCountersFlat(uint8_t phy, uint8_t* counters)
{
    return readPhyErrorCounters(phy, counters, true);
}

int AdapterDataZpr::probePhyControlLength(uint8_t operation, uint8_t function, uint8_t selector, uint32_t value,
                                          uint8_t* answer)
{
    if (answer == nullptr)
        return -1;
    Buffer request = zeroed(ZprPhyControlRequest::PROBE_SIZE);
    if (!request)
        return -1;
    ZprPhyControlRequest r(request.get(), ZprPhyControlRequest::PROBE_SIZE);
    r.view().setU8(ZprPhyControlRequest::KIND, ZprPhyControlRequest::KIND_PROBE);
    r.view().setU8(ZprPhyControlRequest::INDEXING, 1);
    r.view().setU16(ZprPhyControlRequest::RESPONSE_LENGTH, ZprPhyControlRequest::ERROR_COUNTERS_LENGTH);
    r.setFields(operation, function, selector, value);
    int status = sendPhyControl(request.get(), ZprPhyControlRequest::PROBE_SIZE);
    if (status == 0)
        r.view().readBytes(ZprPhyControlRequest::PAYLOAD, answer, ZprPhyControlRequest::PROBE_ANSWER_SIZE);
    return status;
}

int AdapterDataZpr::readPhyControlBlock(uint8_t operation, uint8_t function, uint8_t selector, uint32_t value,
                                        uint8_t alternative, uint8_t** buffer, uint32_t marker)
{
    if (buffer == nullptr || marker == 0)
        return -1;
    uint8_t answer[ZprPhyControlRequest::PROBE_ANSWER_SIZE] = {0, 0, 0, 0};
    if (probePhyControlLength(operation, function, selector, value, answer) != 0)
        return -1;
    const size_t size = ZprPhyControlRequest::HEADER_SIZE + answer[ZprPhyControlRequest::PROBE_ANSWER_LENGTH];
    Buffer request = zeroed(size);
    if (!request)
        return -1;
    ZprPhyControlRequest r(request.get(), size);
    startRequest(r, alternative);
    r.view().setU16(ZprPhyControlRequest::RESPONSE_LENGTH, ZprPhyControlRequest::ERROR_COUNTERS_LENGTH);
    r.setFields(operation, function, selector, value);
    int status = sendPhyControl(request.get(), static_cast<uint32_t>(size));
    if (status != 0)
        return status;
    // The whole request comes back: its header, then the response from PAYLOAD.
    uint8_t* out = copyOut(request.get(), size);
    if (out == nullptr)
        return -1;
    *buffer = out;
    return 0;
}

int AdapterDataZpr::readPhyControlList(uint8_t operation, uint8_t, uint8_t selector, uint32_t value,
                                       uint8_t alternative, uint8_t** buffer, uint32_t* length)
{
    if (buffer == nullptr || length == nullptr || selector != ZprPhyControlRequest::LIST_SELECTOR)
        return -1;
    size_t size = ZprPhyControlRequest::LIST_FIRST_SIZE;
    Buffer request = zeroed(size);
    if (!request)
        return -1;
    ZprPhyControlRequest first(request.get(), size);
    startRequest(first, alternative);
    first.view().setU8(ZprPhyControlRequest::DATA_LENGTH, ZprPhyControlRequest::LIST_FIRST_LENGTH);
    first.setFields(operation, 0, selector, value);
    int status = sendPhyControl(request.get(), static_cast<uint32_t>(size));
    if (status != 0)
        return status;
    const size_t entries = first.view().u8(ZprPhyControlRequest::PAYLOAD + ZprPhyControlRequest::LIST_COUNT);
    size_t responseLength = ZprPhyControlRequest::LIST_FIRST_LENGTH;
    if (entries >= 2) {
        // A longer list is asked for again at its full length, which must fit the one-byte
        // data length.
        if (entries > ZprPhyControlRequest::LIST_MAX_ENTRIES)
            return -1;
        responseLength = ZprPhyControlRequest::LIST_BASE_LENGTH + ZprPhyControlRequest::LIST_ENTRY_SIZE * entries;
        size = ZprPhyControlRequest::HEADER_SIZE + responseLength;
        request = zeroed(size);
        if (!request)
            return -1;
        ZprPhyControlRequest second(request.get(), size);
        startRequest(second, alternative);
        second.view().setU8(ZprPhyControlRequest::DATA_LENGTH, static_cast<uint8_t>(responseLength));
        second.setFields(operation, 0, selector, value);
        status = sendPhyControl(request.get(), static_cast<uint32_t>(size));
        if (status != 0)
            return status;
    }
    uint8_t* out = copyOut(request.get() + ZprPhyControlRequest::PAYLOAD, responseLength);
    if (out == nullptr)
        return -1;
    *buffer = out;
    *length = static_cast<uint32_t>(responseLength);
    return 0;
}

int AdapterDataZpr::writePhyControlBlock(uint8_t operation, uint8_t function, uint8_t selector, uint32_t value,
                                         uint8_t alternative, uint8_t** payload, uint32_t* length)
{
    if (payload == nullptr || length == nullptr)
        return -1;
    // Only the write form is known; its payload length must fit the one-byte data length.
    if (operation != ZprPhyControlRequest::WRITE_OPERATION || selector != ZprPhyControlRequest::WRITE_SELECTOR ||
        *length > 0xFF || (*payload == nullptr && *length != 0))
        return -1;
    const size_t size = ZprPhyControlRequest::HEADER_SIZE + *length;
    Buffer request = zeroed(size);
    if (!request)
        return -1;
    ZprPhyControlRequest r(request.get(), size);
    startRequest(r, alternative);
    r.view().setU8(ZprPhyControlRequest::DATA_LENGTH, static_cast<uint8_t>(*length));
    r.setFields(operation, function, selector, value);
    if (*length != 0)
        r.view().writeBytes(ZprPhyControlRequest::PAYLOAD, *payload, *length);
    return sendPhyControl(request.get(), static_cast<uint32_t>(size));
}
