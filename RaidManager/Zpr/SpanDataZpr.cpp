#include "RaidManager/Zpr/SpanDataZpr.h"

SpanDataZpr::~SpanDataZpr() {}

int SpanDataZpr::getStartBlock(uint64_t* block)
{
    if (!record.isPresent() || block == nullptr)
        return -1;
    *block = record.startBlock();
    return 0;
}

int SpanDataZpr::getBlockCount(uint64_t* count)
{
    if (!record.isPresent() || count == nullptr)
        return -1;
    *count = record.blockCount();
    return 0;
}
