// An array's data for the model tests, as the configuration reader gives it: a record or
// none, a size, a number; the sizes written are kept.
#ifndef TESTARRAYDATA_H
#define TESTARRAYDATA_H

#include <vector>

#include "RaidManager/Array.h"
#include "RaidManager/RaidElementId.h"

class TestArrayData : public ArrayData {
public:
    explicit TestArrayData(uint16_t ref, bool record = true, const char* text = "")
        : ArrayData(nullptr, new ArrayIdZpr(ref)), ref(ref), record(record), text(text)
    {
    }
    string toString() override { return string(text); }
    int getSize(uint64_t* blocks) override { *blocks = 1000; return 0; }
    int getArrayRef(uint16_t* out) override { *out = ref; return 0; }
    int getMaxVdsPerArray(uint8_t* count) override { *count = 16; return 0; }
    int hasNoRecord(uint8_t* answer) override { *answer = record ? 0 : 1; return 0; }
    int setSize(uint64_t blocks) override { written.push_back(blocks); return 0; }

    uint16_t ref;
    bool record;
    const char* text;
    std::vector<uint64_t> written;
};

#endif
