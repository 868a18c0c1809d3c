#include "DataProvider/ZprFrame.h"

#include <cstring>

#include "PavUtil/Memory.h"

ZprFrame::ZprFrame()
    : frame(nullptr), buffer(new (noThrowNew) uint8_t[BUFFER_SIZE])
{
    if (buffer) {
        uintptr_t start = reinterpret_cast<uintptr_t>(buffer);
        frame = buffer + (alignedAddress(start) - start);
        clear();
    }
}

ZprFrame::~ZprFrame()
{
    delete[] buffer;
}

uintptr_t ZprFrame::alignedAddress(uintptr_t bufferStart)
{
    return (bufferStart + (ALIGNMENT - 1)) & ~static_cast<uintptr_t>(ALIGNMENT - 1);
}

void ZprFrame::clear()
{
    if (frame) {
        memset(frame, 0, FRAME_SIZE);
    }
}

LeView ZprFrame::bytes() const
{
    return LeView(frame, FRAME_SIZE);
}

// Only naturally aligned fields are written (a stray write is dropped, see the header).
void ZprFrame::writeByte(uint8_t offset, uint8_t value)
{
    bytes().setU8(offset, value);
}

void ZprFrame::writeWord(uint8_t offset, uint16_t value)
{
    if (offset % 2 == 0) {
        bytes().setU16(offset, value);
    }
}

void ZprFrame::writeDword(uint8_t offset, uint32_t value)
{
    if (offset % 4 == 0) {
        bytes().setU32(offset, value);
    }
}

void ZprFrame::writeQword(uint8_t offset, uint64_t value)
{
    if (offset % 8 == 0) {
        bytes().setU64(offset, value);
    }
}

uint8_t ZprFrame::readByte(uint8_t offset) const
{
    return bytes().u8(offset);
}

uint16_t ZprFrame::readWord(uint8_t offset) const
{
    return bytes().u16(offset);
}

uint32_t ZprFrame::readDword(uint8_t offset) const
{
    return bytes().u32(offset);
}
