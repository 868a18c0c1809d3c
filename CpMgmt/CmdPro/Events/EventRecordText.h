// One controller event written as text into the event-log output file: sequence number, time,
// code, class and locale, the controller's description, then the event's arguments laid out by
// their argument type. The program interprets no event code itself.
#ifndef EVENTRECORDTEXT_H
#define EVENTRECORDTEXT_H

#include <cstdint>
#include <ctime>

class FileHandle;

// Writes the 256-byte event `record` to `out`: 0, or -1 as soon as a write fails (the rest of
// the event is then not written).
int decodeEvent(const uint8_t* record, FileHandle* out);

// A drive reference (device id, enclosure index, slot) and a logical-drive reference (its
// first 16 bits the target id), each one message; 0, or -1 when the write fails.
int writeDriveReference(const uint8_t* reference, FileHandle* out);
int writeLdReference(const uint8_t* reference, FileHandle* out);

// The length of the local daylight-saving shift in seconds: the difference between 1 January
// 2000 00:00 taken as summer time and taken as standard time.
long eventDstOffset();

// The controller's time stamp (seconds since 1 January 2000 in the controller's local standard
// time) as the local time it stood for: one daylight-saving shift is taken off a result that
// falls in summer time. False when no local time can be formed.
bool eventLocalTime(uint32_t stamp, struct tm* local);

#endif
