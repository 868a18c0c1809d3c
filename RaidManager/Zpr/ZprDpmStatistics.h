// The drive performance-monitor statistics read with DCMD_DPM_GET_STATISTICS (mailbox bytes
// 0-3 the drive's device reference, 4-7 the statistics type): opaque blocks whose length
// depends on the form of the read. Their fields belong to the performance-monitor display.
#ifndef ZPRDPMSTATISTICS_H
#define ZPRDPMSTATISTICS_H

#include <cstddef>
#include <cstdint>

class ZprDpmStatistics {
public:
    static constexpr size_t STATISTICS_SIZE = 56;        // the plain read, any type
    static constexpr size_t EXTENDED_SIZE = 400;         // the extended read of type 2
    static constexpr size_t EXTENDED_SHORT_SIZE = 40;    // the extended read of any other type
    static constexpr size_t COUNTERS_SIZE = 152;         // the counters, type 3

    static constexpr uint32_t TYPE_EXTENDED_LONG = 2;
    static constexpr uint32_t TYPE_COUNTERS = 3;
};

#endif
