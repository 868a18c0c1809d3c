// Event commands of the simulated firmware: the event log (its sequence marks, counts and
// batches of 256-byte event records selected by start number and filter word, and the clear)
// and advanced event capture (control, dump and settings).
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_ADP_EVENT_GET_INFO = 0x01040100;
const uint32_t OP_ADP_EVENT_CLEAR = 0x01040200;
const uint32_t OP_ADP_EVENT_GET = 0x01040300;
const uint32_t OP_ADP_EVENT_GET_COUNT = 0x01040400;
const uint32_t OP_ADP_AEC_CONTROL = 0x01180100;
const uint32_t OP_ADP_AEC_DUMP = 0x01180200;
const uint32_t OP_ADP_AEC_GET_SETTINGS = 0x01180300;

const uint32_t EVENT_LOG_INFO_SIZE = 20;
const uint32_t EVENT_COUNT_SIZE = 4;
const uint32_t EVENT_LIST_HEADER = 8;       // the count, then 4 bytes
const uint32_t AEC_DUMP_SIZE = 0x8000;
const uint32_t AEC_SETTINGS_SIZE = 40;
const uint8_t AEC_STARTED = 2;

const uint16_t ALL_LOCALES = 0xFFFF;

// The event record's fields.
const size_t EV_SEQ = 0;
const size_t EV_TIME = 4;
const size_t EV_CODE = 8;
const size_t EV_LOCALE = 12;
const size_t EV_CLASS = 15;
const size_t EV_ARG_TYPE = 16;
const size_t EV_ARGS = 32;
const size_t EV_DESCRIPTION = 128;

// The events from sequence number `start` that the filter word lets through, in sequence
// order. The filter word holds the locale mask in its low 16 bits and the lowest class wanted
// (signed) in its top byte.
std::vector<const Event*> select(const EventLog& log, uint32_t start, uint32_t filter)
{
    const uint16_t locales = static_cast<uint16_t>(filter & 0xFFFF);
    const int8_t lowestClass = static_cast<int8_t>(filter >> 24);
    std::vector<const Event*> out;
    for (const Event& e : log.events)
        if (e.seq >= start && (locales == ALL_LOCALES || (e.locale & locales) != 0) && e.eventClass >= lowestClass)
            out.push_back(&e);
    std::sort(out.begin(), out.end(), [](const Event* a, const Event* b) { return a->seq < b->seq; });
    return out;
}

Bytes eventRecord(const Event& e)
{
    Bytes r(EVENT_RECORD_SIZE, 0);
    put32(r, EV_SEQ, e.seq);
    put32(r, EV_TIME, e.time);
    put32(r, EV_CODE, e.code);
    put16(r, EV_LOCALE, e.locale);
    put8(r, EV_CLASS, static_cast<uint8_t>(e.eventClass));
    put8(r, EV_ARG_TYPE, e.argType);
    putBytes(r, EV_ARGS, Bytes(e.args.begin(), e.args.begin() + std::min(e.args.size(), EVENT_ARGS_SIZE)));
    putText(r, EV_DESCRIPTION, EVENT_DESCRIPTION_LENGTH + 1, e.description);
    return r;
}

// DCMD_ADP_EVENT_GET_INFO: newest, oldest, last clear, last shutdown, this boot.
uint8_t eventGetInfo(SimState&, Controller& c, SimCommand& cmd)
{
    const EventLog& log = c.eventLog;
    Bytes r(EVENT_LOG_INFO_SIZE, 0);
    const uint32_t marks[] = {newestEventSequence(log), log.oldest, log.clear, log.shutdown, log.boot};
    for (size_t i = 0; i < 5; ++i)
        put32(r, 4 * i, marks[i]);
    return fwReply(cmd, r);
}

// DCMD_ADP_EVENT_GET_COUNT: word 0 the start number, word 1 the filter word.
uint8_t eventGetCount(SimState&, Controller& c, SimCommand& cmd)
{
    const size_t count = select(c.eventLog, cmd.mailbox[0], cmd.mailbox[1]).size();
    Bytes r(EVENT_COUNT_SIZE, 0);
    put32(r, 0, count);
    uint8_t status = fwReply(cmd, r);
    return count == 0 ? FW_STATUS_NOT_FOUND : status;
}

// DCMD_ADP_EVENT_GET: as many of the selected events as the buffer holds, after the count.
uint8_t eventGet(SimState&, Controller& c, SimCommand& cmd)
{
    const std::vector<const Event*> events = select(c.eventLog, cmd.mailbox[0], cmd.mailbox[1]);
    const size_t room = cmd.frameLength < EVENT_LIST_HEADER ? 0 : (cmd.frameLength - EVENT_LIST_HEADER) / EVENT_RECORD_SIZE;
    const size_t n = std::min(room, events.size());
    Bytes r(EVENT_LIST_HEADER + n * EVENT_RECORD_SIZE, 0);
    put32(r, 0, n);
    for (size_t i = 0; i < n; ++i)
        putBytes(r, EVENT_LIST_HEADER + i * EVENT_RECORD_SIZE, eventRecord(*events[i]));
    return fwReply(cmd, r);
}

// DCMD_ADP_EVENT_CLEAR: the clear mark moves past the newest event.
uint8_t eventClear(SimState& state, Controller& c, SimCommand&)
{
    c.eventLog.clear = newestEventSequence(c.eventLog) + 1;
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_ADP_AEC_CONTROL: word 0 the action (0 disable, 1 stop, 2 start with word 1, 3 mode in
// word 1, 4 and 5 set and clear the mask in word 2).
uint8_t aecControl(SimState& state, Controller& c, SimCommand& cmd)
{
    EventCapture& capture = c.eventCapture;
    switch (cmd.mailbox[0]) {
    case 0: capture.state = 0; break;
    case 1: capture.state = 1; break;
    case 2: capture.state = 2; capture.startValue = cmd.mailbox[1]; break;
    case 3: capture.mode = static_cast<uint8_t>(cmd.mailbox[1]); break;
    case 4: capture.filterMask |= cmd.mailbox[2]; break;
    case 5: capture.filterMask &= ~cmd.mailbox[2]; break;
    default: cmd.note = "refused=action"; return FW_STATUS_INVALID_ARGUMENT;
    }
    markStateChanged(state);
    return FW_STATUS_OK;
}

// DCMD_ADP_AEC_DUMP (word 0 the segment): refused with status 0x61 while the capture runs;
// otherwise 32 KiB whose first four bytes are the segment's number and the rest zeros.
uint8_t aecDump(SimState&, Controller& c, SimCommand& cmd)
{
    if (c.eventCapture.state == AEC_STARTED)
        return FW_STATUS_AEC_RUNNING;
    Bytes r(AEC_DUMP_SIZE, 0);
    put32(r, 0, cmd.mailbox[0]);
    return fwReply(cmd, r);
}

// DCMD_ADP_AEC_GET_SETTINGS: enabled at 0, started at 1, the mode at 2, the start value at 4,
// the events captured at 8, the segments at 12, the host mask at 16 (the firmware's at 20: 0).
uint8_t aecGetSettings(SimState&, Controller& c, SimCommand& cmd)
{
    const EventCapture& e = c.eventCapture;
    Bytes r(AEC_SETTINGS_SIZE, 0);
    put8(r, 0, e.state != 0 ? 1 : 0);
    put8(r, 1, e.state == AEC_STARTED ? 1 : 0);
    put8(r, 2, e.mode);
    put32(r, 4, e.startValue);
    put32(r, 8, e.captured);
    put32(r, 12, e.segments);
    put32(r, 16, e.filterMask);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_ADP_EVENT_GET_INFO, EVENT_LOG_INFO_SIZE, eventGetInfo),
    fwRead(OP_ADP_EVENT_GET_COUNT, EVENT_COUNT_SIZE, eventGetCount),
    fwRead(OP_ADP_EVENT_GET, EVENT_LIST_HEADER, eventGet),
    fwNoData(OP_ADP_EVENT_CLEAR, eventClear),
    fwNoData(OP_ADP_AEC_CONTROL, aecControl),
    fwRead(OP_ADP_AEC_DUMP, AEC_DUMP_SIZE, aecDump),
    fwRead(OP_ADP_AEC_GET_SETTINGS, AEC_SETTINGS_SIZE, aecGetSettings),
});

} // namespace

uint32_t newestEventSequence(const EventLog& log)
{
    if (log.newest)
        return *log.newest;
    uint32_t newest = 0;
    for (const Event& e : log.events)
        newest = std::max(newest, e.seq);
    return newest;
}

} // namespace sim
