// The controller's 32-bit time stamp, as events and the drive-performance statistics carry it:
// seconds since 1 January 2000 00:00 in the controller's local standard time, or, with the top
// byte 0xFF, seconds since the controller started (the low 24 bits).
#ifndef ZPRTIMESTAMP_H
#define ZPRTIMESTAMP_H

#include <cstdint>

constexpr uint32_t STAMP_SINCE_BOOT_MARK = 0xFF000000;   // top byte 0xFF: counted from the start
constexpr uint32_t STAMP_SINCE_BOOT_SECONDS = 0x00FFFFFF;
// The year the other form counts from (1 January, 00:00).
constexpr int STAMP_EPOCH_YEAR = 2000;

// True when the stamp counts the seconds since the controller started.
constexpr bool isSinceBootStamp(uint32_t stamp)
{
    return (stamp & STAMP_SINCE_BOOT_MARK) == STAMP_SINCE_BOOT_MARK;
}

// The seconds since the controller started, of a stamp of that form.
constexpr uint32_t secondsSinceBoot(uint32_t stamp)
{
    return stamp & STAMP_SINCE_BOOT_SECONDS;
}

#endif
