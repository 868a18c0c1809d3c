// The adapter operations that each send one controller command and hand back its status and
// data without caching anything: the event log, advanced event capture, the drive performance
// monitor, the controller actions, the preserved cache and the SSD-cache associations. Only the
// event-log information stays with the adapter data object between calls.
#include "RaidManager/Zpr/AdapterDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/Controller/ZprDiagnosticResult.h"
#include "RaidManager/Zpr/Records/Controller/ZprDpmConfiguration.h"
#include "RaidManager/Zpr/Records/Event/ZprEventCaptureData.h"
#include "RaidManager/Zpr/Records/Event/ZprEventCaptureSettings.h"
#include "RaidManager/Zpr/Records/Event/ZprEventCount.h"
#include "RaidManager/Zpr/Records/Event/ZprEventLogInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdIdList.h"
#include "RaidManager/Zpr/Records/Controller/ZprPreservedCacheList.h"

namespace {

// The actions of the event-capture control command (mailbox word 0).
enum EventCaptureAction : uint32_t {
    CAPTURE_DISABLE = 0,
    CAPTURE_STOP = 1,
    CAPTURE_START = 2,
    CAPTURE_SET_MODE = 3,
    CAPTURE_SET_FILTER = 4,
    CAPTURE_CLEAR_FILTER = 5,
};

// The performance-monitor modes the controller takes: off, on, and on with a value.
const uint8_t DPM_MODE_WITH_VALUE = 2;

const uint32_t CACHE_FLUSH_CONTROLLER_AND_DRIVES = 3;
const uint32_t EVENT_CAPTURE_STATUS_NO_DATA = 3;
const uint32_t PRESERVED_CACHE_DISCARD = 1;

}  // namespace

int AdapterDataZpr::sendWithMailbox(uint32_t opcode, const uint32_t (&mailbox)[3], uint8_t* buffer,
                                    uint32_t length, uint32_t* mailboxAfter)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams request(opcode, mailbox[0], mailbox[1], mailbox[2], buffer, length, 0, 0);
    int status = controller->execute(&request);
    if (mailboxAfter != nullptr) {
        mailboxAfter[0] = request.getMailbox0();
        mailboxAfter[1] = request.getMailbox1();
        mailboxAfter[2] = request.getMailbox2();
    }
    return status;
}

// ---------------------------------------------------------------------------------------------
// The event log.

int AdapterDataZpr::getEventLogInfo(const uint8_t** record)
{
    uint8_t*& info = records[EVENT_LOG_INFO];
    if (info == nullptr)
        info = new (noThrowNew) uint8_t[ZprEventLogInfo::SIZE];
    if (info == nullptr)
        return -1;
    memset(info, 0, ZprEventLogInfo::SIZE);
    int status = send(DCMD_ADP_EVENT_GET_INFO, info, ZprEventLogInfo::SIZE);
    if (status != 0) {
        delete[] info;
        info = nullptr;
        return status;
    }
    if (record != nullptr)
        *record = info;
    return 0;
}

int AdapterDataZpr::getEventCount(uint8_t* count, uint32_t sequence, uint32_t filter)
{
    const uint32_t mailbox[3] = {sequence, filter, 0};
    return sendWithMailbox(DCMD_ADP_EVENT_GET_COUNT, mailbox, count, ZprEventCount::SIZE);
}

int AdapterDataZpr::getEvents(uint32_t sequence, uint8_t* buffer, uint32_t length, uint32_t filter)
{
    const uint32_t mailbox[3] = {sequence, filter, 0};
    return sendWithMailbox(DCMD_ADP_EVENT_GET, mailbox, buffer, length);
}

int AdapterDataZpr::clearEventLog()
{
    return send(DCMD_ADP_EVENT_CLEAR, nullptr, 0);
}

// ---------------------------------------------------------------------------------------------
// Advanced event capture.

int AdapterDataZpr::controlEventCapture(uint32_t action, uint32_t word1, uint32_t word2, uint32_t* mailboxAfter)
{
    const uint32_t mailbox[3] = {action, word1, word2};
    return sendWithMailbox(DCMD_ADP_AEC_CONTROL, mailbox, nullptr, 0, mailboxAfter);
}

int AdapterDataZpr::disableEventCapture()
{
    return controlEventCapture(CAPTURE_DISABLE, 0, 0);
}

int AdapterDataZpr::stopEventCapture()
{
    return controlEventCapture(CAPTURE_STOP, 0, 0);
}

int AdapterDataZpr::startEventCapture(uint32_t value)
{
    return controlEventCapture(CAPTURE_START, value, 0);
}

int AdapterDataZpr::setEventCaptureMode(uint8_t mode)
{
    return controlEventCapture(CAPTURE_SET_MODE, mode, 0);
}

// The mask that the controller hands back in word 2 must be the one sent. The transport hands
// back the request as it was built, so with it the comparison always holds.
int AdapterDataZpr::setEventCaptureFilter(uint32_t mask, uint8_t selector)
{
    uint32_t after[3] = {0, 0, 0};
    int status = controlEventCapture(CAPTURE_SET_FILTER, selector, mask, after);
    return status == 0 && after[2] != mask ? -1 : status;
}

int AdapterDataZpr::clearEventCaptureFilter(uint32_t mask, uint8_t selector)
{
    uint32_t after[3] = {0, 0, 0};
    int status = controlEventCapture(CAPTURE_CLEAR_FILTER, selector, mask, after);
    return status == 0 && after[2] != mask ? -1 : status;
}

// The size handed out is the request's word 1 after the command (the word sent, with a
// transport that does not hand the controller's mailbox back); it is written for every status
// but "no data".
int AdapterDataZpr::getEventCaptureData(uint8_t* buffer, uint8_t selector, uint32_t* size)
{
    const uint32_t mailbox[3] = {selector, 0, 0};
    uint32_t after[3] = {0, 0, 0};
    int status = sendWithMailbox(DCMD_ADP_AEC_DUMP, mailbox, buffer, ZprEventCaptureData::SIZE, after);
    if (status != static_cast<int>(EVENT_CAPTURE_STATUS_NO_DATA) && size != nullptr)
        *size = after[1];
    return status;
}

int AdapterDataZpr::getEventCaptureSettings(uint8_t* settings)
{
    if (settings != nullptr)
        memset(settings, 0, ZprEventCaptureSettings::SIZE);
    return send(DCMD_ADP_AEC_GET_SETTINGS, settings, ZprEventCaptureSettings::SIZE);
}

// ---------------------------------------------------------------------------------------------
// The drive performance monitor.

int AdapterDataZpr::getDpmConfiguration(uint8_t* configuration, uint8_t* block)
{
    uint8_t local[ZprDpmConfiguration::SIZE] = {};
    int status = send(DCMD_DPM_GET_CONFIG, local, sizeof local);
    if (status != 0)
        return status;
    if (configuration != nullptr)
        *configuration = ZprDpmConfiguration(local, sizeof local).configuration();
    if (block != nullptr)
        memcpy(block, local, sizeof local);
    return 0;
}

int AdapterDataZpr::setDpmConfiguration(uint8_t mode, uint8_t value)
{
    if (mode > DPM_MODE_WITH_VALUE)
        return 0;
    const uint32_t mailbox[3] = {mode, mode == DPM_MODE_WITH_VALUE ? value : 0u, 0};
    return sendWithMailbox(DCMD_DPM_SET_CONFIG, mailbox, nullptr, 0);
}

// ---------------------------------------------------------------------------------------------
// Controller actions.

int AdapterDataZpr::flushCache()
{
    const uint32_t mailbox[3] = {CACHE_FLUSH_CONTROLLER_AND_DRIVES, 0, 0};
    return sendWithMailbox(DCMD_ADP_CACHE_FLUSH, mailbox, nullptr, 0);
}

int AdapterDataZpr::setFactoryDefaults()
{
    return send(DCMD_ADP_SET_FACTORY_DEFAULTS, nullptr, 0);
}

// Shutdown and restart are one command: the argument goes in mailbox byte 0 for a shutdown and
// in byte 1 for a restart.
int AdapterDataZpr::shutdownController(uint8_t argument)
{
    const uint32_t mailbox[3] = {argument, 0, 0};
    return sendWithMailbox(DCMD_ADP_SHUTDOWN, mailbox, nullptr, 0);
}

int AdapterDataZpr::restartController(uint8_t argument)
{
    const uint32_t mailbox[3] = {static_cast<uint32_t>(argument) << 8, 0, 0};
    return sendWithMailbox(DCMD_ADP_SHUTDOWN, mailbox, nullptr, 0);
}

int AdapterDataZpr::downgradeController()
{
    return send(DCMD_ADP_DOWNGRADE, nullptr, 0);
}

int AdapterDataZpr::sendDiagnosticCommand2()
{
    if (LinuxZprDataProvider::instance(0) == nullptr)
        return -1;
    return send(DCMD_ADP_DIAG_SUBCMD_02, nullptr, 0);
}

// The command returns when the controller has run its diagnostic for `seconds`.
int AdapterDataZpr::runDiagnostic(uint32_t seconds)
{
    uint8_t* result = new (noThrowNew) uint8_t[ZprDiagnosticResult::SIZE];
    if (result == nullptr)
        return -1;
    const uint32_t mailbox[3] = {seconds, 0, 0};
    int status = sendWithMailbox(DCMD_ADP_DIAG_START, mailbox, result, ZprDiagnosticResult::SIZE);
    delete[] result;
    return status;
}

// ---------------------------------------------------------------------------------------------
// The preserved cache and the SSD-cache associations.

int AdapterDataZpr::getPinnedCacheVirtualDrives(uint8_t* list)
{
    return send(DCMD_LD_GET_PRESERVED_CACHE_LIST, list, ZprPreservedCacheList::SIZE);
}

int AdapterDataZpr::discardPinnedCache(uint8_t targetId)
{
    const uint32_t mailbox[3] = {targetId | (PRESERVED_CACHE_DISCARD << 8), 0, 0};
    return sendWithMailbox(DCMD_LD_DISCARD_PRESERVED_CACHE, mailbox, nullptr, 0);
}

// Hands out a new buffer that the caller owns: the first unit alone when no drive is associated,
// else the whole list read again. A count larger than any list can be is refused (-1).
int AdapterDataZpr::getSsdCacheVirtualDrives(uint8_t** list, uint8_t selector)
{
    const uint32_t mailbox[3] = {selector, 0, 0};
    uint8_t header[ZprLdIdList::UNIT] = {};
    int status = sendWithMailbox(DCMD_LD_TIDEWELL_GET_ASSOCIATIONS, mailbox, header, sizeof header);
    if (status != 0)
        return status;
    const uint32_t count = ZprLdIdList(header, sizeof header).count();
    uint32_t size = 0;
    if (!ZprLdIdList::sizeForCount(count, &size))
        return -1;
    uint8_t* out = new (noThrowNew) uint8_t[size]();
    if (out == nullptr)
        return -1;
    if (count == 0) {
        memcpy(out, header, sizeof header);
    } else {
        status = sendWithMailbox(DCMD_LD_TIDEWELL_GET_ASSOCIATIONS, mailbox, out, size);
        if (status != 0) {
            delete[] out;
            return status;
        }
        // The list may have grown between the reads: the block handed out never claims more
        // entries than it was read with, so that its count can bound a walk.
        LeView view(out, size);
        if (view.u32(ZprListHeader::COUNT) > count)
            view.setU32(ZprListHeader::COUNT, count);
    }
    if (list != nullptr)
        *list = out;
    else
        delete[] out;
    return 0;
}

// The block's first word is its length in bytes. A length shorter than that word is refused
// (255, nothing sent): the command would otherwise take the opcode's own length from a block
// that may not have it. The status is answered as one byte (a transport failure of -1 is 255).
int AdapterDataZpr::setSsdCacheAssociation(uint8_t* block)
{
    const uint32_t lengthWord = sizeof(uint32_t);   // the length word itself
    if (block == nullptr)
        return 0xFF;
    const uint32_t length = ZprListHeader(LeView(static_cast<const uint8_t*>(block), lengthWord)).size();
    if (length < lengthWord)
        return 0xFF;
    const uint32_t mailbox[3] = {ASSOCIATIONS_WRITE_ALL, 0, 0};
    return static_cast<uint8_t>(sendWithMailbox(DCMD_LD_TIDEWELL_SET_ASSOCIATIONS, mailbox, block, length));
}
