// A span of a virtual drive: one extent on the drives of one array. The element Span and its
// data interface SpanData.
#ifndef SPAN_H
#define SPAN_H

#include <cstdint>

#include "RaidManager/RaidElement.h"

class Array;

class SpanData : public RaidElementData {
public:
    SpanData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~SpanData() override;

    // First block of the span's extent on each drive; 0, or -1 with `block` untouched.
    [[nodiscard]] virtual int getStartBlock(uint64_t* block) = 0;
    // Length of the span's extent on each drive, in blocks; 0, or -1 with `count` untouched.
    [[nodiscard]] virtual int getBlockCount(uint64_t* count) = 0;
};

class Span : public RaidElement {
public:
    Span(SpanData* data, Controller* controller);
    string toString() override;
    ~Span() override;

    // The creator registered under ELEMENT_TYPE_SPAN; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

    // -1 without a data object.
    [[nodiscard]] int getStartBlock(uint64_t* block) { return spanData == nullptr ? -1 : spanData->getStartBlock(block); }
    [[nodiscard]] int getBlockCount(uint64_t* count) { return spanData == nullptr ? -1 : spanData->getBlockCount(count); }

    // The array under the span (not owned); getArray is -1 when none is set.
    [[nodiscard]] int setArray(Array* under);
    [[nodiscard]] int getArray(Array** under);

protected:
    SpanData* spanData;  // the element's data object, seen as its interface
    Array* array;
};

#endif
