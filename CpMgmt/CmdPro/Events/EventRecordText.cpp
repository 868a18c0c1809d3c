#include "CpMgmt/CmdPro/Events/EventRecordText.h"

#include <cstdlib>
#include <cstring>

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Zpr/Records/Event/ZprEventRecord.h"
#include "RaidManager/Zpr/Records/ZprTimeStamp.h"

namespace {

typedef ZprEventRecord R;

const size_t CDB_BYTES = 16;
const size_t SENSE_BYTES = 64;
const size_t CDB_AT = 40;
const size_t SENSE_AT = 56;
// The spare event: type bits at 40, the array count at 43, 16-bit array numbers from 44 to
// the end of the argument area.
const size_t SPARE_BITS = 40;
const size_t SPARE_ARRAY_COUNT = 43;
const size_t SPARE_ARRAYS = 44;
const size_t SPARE_MAX_ARRAYS = (R::ARGS_END - SPARE_ARRAYS) / 2;

// The record's fields as the conversions of their texts take them.
struct Fields {
    const uint8_t* record;
    LeView v;

    int d8(size_t at) const { return v.u8(at); }
    int d16(size_t at) const { return v.u16(at); }
    int d32(size_t at) const { return static_cast<int>(v.u32(at)); }
    unsigned x16(size_t at) const { return v.u16(at); }
    long l32(size_t at) const { return static_cast<long>(v.u32(at)); }
    unsigned long ul32(size_t at) const { return v.u32(at); }
    unsigned long ul64(size_t at) const { return static_cast<unsigned long>(v.u64(at)); }
    unsigned long long ull64(size_t at) const { return v.u64(at); }
    // A text of the record, up to its NUL and never beyond the record, with every control byte
    // shown as '?': the firmware's texts reach the console and the event files.
    string text(size_t at) const
    {
        return printableText(reinterpret_cast<const char*>(record + at), at < R::SIZE ? R::SIZE - at : 0);
    }
};

// Each write answers 0 or -1; a chain stops at the first failure.
inline bool failed(int written)
{
    return written != 0;
}

int drive(FileHandle* f, const Fields& r, size_t at)
{
    return writeDriveReference(r.record + at, f);
}

int ld(FileHandle* f, const Fields& r, size_t at)
{
    return writeLdReference(r.record + at, f);
}

int bytesAsHex(FileHandle* f, const Fields& r, size_t at, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (failed(printMessageToFile(f, MSG_HEX16, static_cast<unsigned>(r.v.u8(at + i)))))
            return -1;
    return 0;
}

int ldProperties(FileHandle* f, const Fields& r, size_t at)
{
    return printMessageToFile(f, MSG_EVENT_LD_PROPS, r.d8(at + R::LD_PROPS_ACCESS), r.d8(at + R::LD_PROPS_CURRENT_CACHE),
                              r.d8(at + R::LD_PROPS_DEFAULT_CACHE), r.d8(at + R::LD_PROPS_DISK_CACHE),
                              r.text(at + R::LD_PROPS_NAME).c_str(), r.d8(at + R::LD_PROPS_NO_BGI));
}

int timeLine(FileHandle* f, uint32_t stamp)
{
    struct tm local;
    if (!eventLocalTime(stamp, &local))
        return 0;
    char text[64];
    return printMessageToFile(f, MSG_EVENT_TIME, asctime_r(&local, text));
}

// ---------------------------------------------------------------------------------------------
// The arguments, one writer per argument type.

typedef int (*ArgWriter)(FileHandle*, const Fields&);

int argsNone(FileHandle* f, const Fields&) { return printMessageToFile(f, MSG_EVENT_NO_ARGS); }
int argsNothing(FileHandle*, const Fields&) { return 0; }
int argsOther(FileHandle* f, const Fields&) { return printMessageToFile(f, MSG_EVENT_NONE); }

// Every CDB and sense byte, whatever the lengths say.
int argsCdbSense(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_CDB, r.d8(36))) ||
                   failed(bytesAsHex(f, r, CDB_AT, CDB_BYTES)) || failed(printMessageToFile(f, MSG_EVENT_SENSE, r.d8(37))) ||
                   failed(bytesAsHex(f, r, SENSE_AT, SENSE_BYTES))
               ? -1
               : 0;
}

int argsLd(FileHandle* f, const Fields& r) { return ld(f, r, 32); }
int argsLdCount(FileHandle* f, const Fields& r)
{
    return failed(printMessageToFile(f, MSG_EVENT_LD_COUNT, r.d32(36))) || failed(ld(f, r, 32)) ? -1 : 0;
}
int argsLbaLd(FileHandle* f, const Fields& r)
{
    return failed(printMessageToFile(f, MSG_EVENT_LBA, r.ull64(32))) || failed(ld(f, r, 40)) ? -1 : 0;
}
int argsOwners(FileHandle* f, const Fields& r)
{
    return failed(printMessageToFile(f, MSG_EVENT_OWNERS, r.d32(36), r.d32(40))) || failed(ld(f, r, 32)) ? -1 : 0;
}
int argsVdPdLba(FileHandle* f, const Fields& r)
{
    return failed(printMessageToFile(f, MSG_EVENT_VD_LBA, r.ull64(32))) ||
                   failed(printMessageToFile(f, MSG_EVENT_PD_LBA, r.ull64(40))) || failed(ld(f, r, 48)) ||
                   failed(drive(f, r, 52))
               ? -1
               : 0;
}
int argsLdState(FileHandle* f, const Fields& r)
{
    return failed(ld(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_STATES, r.d32(36), r.d32(40))) ? -1 : 0;
}
int argsLdStrip(FileHandle* f, const Fields& r)
{
    return failed(ld(f, r, 40)) || failed(printMessageToFile(f, MSG_EVENT_STRIP, r.ull64(32))) ? -1 : 0;
}
int argsDrive(FileHandle* f, const Fields& r) { return drive(f, r, 32); }
int argsDriveError(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_ERROR, r.d32(36))) ? -1 : 0;
}
int argsDriveLba(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 40)) || failed(printMessageToFile(f, MSG_EVENT_LBA, r.ull64(32))) ? -1 : 0;
}
int argsDriveLdLba(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 40)) || failed(ld(f, r, 44)) || failed(printMessageToFile(f, MSG_EVENT_LBA, r.ull64(32)))
               ? -1
               : 0;
}
int argsDriveState(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_STATES, r.d32(36), r.d32(40))) ? -1 : 0;
}
int argsPciIds(FileHandle* f, const Fields& r)
{
    return printMessageToFile(f, MSG_EVENT_PCI_IDS, r.x16(32), r.x16(34), r.x16(36), r.x16(38));
}
int argsRate(FileHandle* f, const Fields& r) { return printMessageToFile(f, MSG_EVENT_RATE, r.d32(32)); }
int argsString(FileHandle* f, const Fields& r) { return printMessageToFile(f, MSG_EVENT_STRING, r.text(32).c_str()); }
int argsElapsed(FileHandle* f, const Fields& r)
{
    return failed(printMessageToFile(f, MSG_EVENT_ELAPSED, r.d32(36))) || failed(timeLine(f, r.v.u32(32))) ? -1 : 0;
}
int argsRegisters(FileHandle* f, const Fields& r)
{
    return printMessageToFile(f, MSG_EVENT_REGISTERS, r.v.u32(32), r.v.u32(36), r.text(40).c_str());
}
int argsLdProperties(FileHandle* f, const Fields& r)
{
    return failed(ld(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_LD_PROPS_BEFORE)) ||
                   failed(ldProperties(f, r, 40)) || failed(printMessageToFile(f, MSG_EVENT_LD_PROPS_AFTER)) ||
                   failed(ldProperties(f, r, 72))
               ? -1
               : 0;
}

// The array list ends with the argument area: at most SPARE_MAX_ARRAYS numbers are read.
int argsSpare(FileHandle* f, const Fields& r)
{
    const uint8_t bits = r.v.u8(SPARE_BITS);
    if (failed(drive(f, r, 32)) ||
        failed(printMessageToFile(f, MSG_EVENT_SPARE, (bits & 1) ? "Dedicated" : "", (bits & 2) ? "Revertible" : "",
                                  (bits & 4) ? "Enclosure Affinity" : "")))
        return -1;
    size_t count = r.v.u8(SPARE_ARRAY_COUNT);
    if (count > SPARE_MAX_ARRAYS)
        count = SPARE_MAX_ARRAYS;
    for (size_t i = 0; i < count; ++i)
        if (failed(printMessageToFile(f, MSG_DECIMAL, r.d16(SPARE_ARRAYS + 2 * i))))
            return -1;
    return printMessageToFile(f, MSG_NEWLINE);
}
int argsIndex(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_INDEX, r.l32(36))) ? -1 : 0;
}
int argsDiagPass(FileHandle* f, const Fields& r)
{
    return printMessageToFile(f, MSG_EVENT_DIAG_PASS, r.l32(32), r.text(36).c_str());
}
int argsDiagFailure(FileHandle* f, const Fields& r)
{
    return printMessageToFile(f, MSG_EVENT_DIAG_FAILURE, r.l32(32), r.l32(36), r.d8(40), r.d8(41), r.text(44).c_str());
}
int argsRemapped(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 48)) || failed(printMessageToFile(f, MSG_EVENT_REMAPPED, r.ul64(32), r.ul64(40))) ? -1 : 0;
}
int argsPortPhy(FileHandle* f, const Fields& r)
{
    return printMessageToFile(f, MSG_EVENT_PORT_PHY, r.ul32(32), r.ul32(36));
}
int argsArrayRow(FileHandle* f, const Fields& r)
{
    return failed(drive(f, r, 32)) || failed(printMessageToFile(f, MSG_EVENT_ARRAY_ROW, r.ul32(36), r.ul32(40))) ? -1
                                                                                                                : 0;
}
int argsSasDevice(FileHandle* f, const Fields& r)
{
    return failed(printMessageToFile(f, MSG_EVENT_SAS_DEVICE, r.d16(32), r.d16(34), r.d8(36), r.d8(37), r.ull64(40))) ||
                   failed(printMessageToFile(f, MSG_EVENT_SAS_ADDRESS_2, r.ull64(48)))
               ? -1
               : 0;
}
int argsRedundantPath(FileHandle* f, const Fields& r)
{
    return printMessageToFile(f, MSG_EVENT_REDUNDANT_PATH, r.d32(36));
}

// By argument type; a type beyond the table has no arguments to show ("None").
const ArgWriter ARG_WRITERS[] = {
    argsNone,         argsCdbSense,   argsLd,           argsLdCount,    argsLbaLd,      argsOwners,
    argsVdPdLba,      argsOther,      argsLdState,      argsLdStrip,    argsDrive,      argsDriveError,
    argsDriveLba,     argsDriveLdLba, argsNothing,      argsDriveState, argsPciIds,     argsRate,
    argsString,       argsElapsed,    argsRegisters,    argsLdProperties, argsSpare,    argsIndex,
    argsDiagPass,     argsDiagFailure, argsRemapped,    argsPortPhy,    argsArrayRow,   argsSasDevice,
    argsOther,        argsOther,      argsOther,        argsOther,      argsRedundantPath,
};

// The event's time: 0 written, -1 the write failed, 1 no local time can be formed (the event's
// text ends there).
int eventTime(FileHandle* f, uint32_t stamp)
{
    if (isSinceBootStamp(stamp))
        return printMessageToFile(f, MSG_EVENT_SINCE_REBOOT, static_cast<int>(secondsSinceBoot(stamp)));
    struct tm local;
    if (!eventLocalTime(stamp, &local))
        return 1;
    char text[64];
    return printMessageToFile(f, MSG_EVENT_TIME, asctime_r(&local, text));
}

time_t startOf2000(int isDst)
{
    struct tm start;
    memset(&start, 0, sizeof start);
    start.tm_year = 100;
    start.tm_mday = 1;
    start.tm_isdst = isDst;
    return mktime(&start);
}

}  // namespace

long eventDstOffset()
{
    return labs(static_cast<long>(startOf2000(1) - startOf2000(0)));
}

bool eventLocalTime(uint32_t stamp, struct tm* local)
{
    const time_t base = startOf2000(0);
    time_t t = base + static_cast<time_t>(stamp);
    if (localtime_r(&t, local) == nullptr)
        return false;
    if (local->tm_isdst > 0) {
        t = base + static_cast<time_t>(stamp) - eventDstOffset();
        if (localtime_r(&t, local) == nullptr)
            return false;
    }
    return true;
}

int writeDriveReference(const uint8_t* reference, FileHandle* out)
{
    LeView v(reference, 4);
    return printMessageToFile(out, MSG_EVENT_DRIVE_REF, static_cast<int>(v.u16(R::DRIVE_DEVICE_ID)),
                              static_cast<int>(v.u8(R::DRIVE_ENCLOSURE_INDEX)), static_cast<int>(v.u8(R::DRIVE_SLOT)));
}

int writeLdReference(const uint8_t* reference, FileHandle* out)
{
    return printMessageToFile(out, MSG_EVENT_LD_REF, static_cast<int>(LeView(reference, 2).u16(0)));
}

int decodeEvent(const uint8_t* record, FileHandle* out)
{
    const ZprEventRecord event(record);
    const Fields fields = {record, event.view()};
    if (failed(printMessageToFile(out, MSG_EVENT_SEQ, event.seqNum())))
        return -1;
    const int time = eventTime(out, event.timeStamp());
    if (time != 0)
        return time < 0 ? -1 : 0;
    if (failed(printMessageToFile(out, MSG_EVENT_CODE_CLASS_LOCALE, event.code(), static_cast<int>(event.eventClass()),
                                  static_cast<unsigned>(event.locale()))) ||
        failed(printMessageToFile(out, MSG_EVENT_DESCRIPTION, fields.text(R::DESCRIPTION).c_str())) ||
        failed(printMessageToFile(out, MSG_EVENT_DATA_HEADING)))
        return -1;
    const size_t type = event.argType();
    const ArgWriter write = type < sizeof ARG_WRITERS / sizeof ARG_WRITERS[0] ? ARG_WRITERS[type] : argsOther;
    return write(out, fields);
}
