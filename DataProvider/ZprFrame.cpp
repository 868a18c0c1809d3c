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

void ZprFrame::store(uint8_t offset, uint64_t value, unsigned int width)
{
    if (!frame || offset % width != 0 || offset > FRAME_SIZE - 1) {
        return;
    }
    // A naturally aligned field that starts inside the frame also ends inside it (the frame
    // size is a multiple of every width).
    for (unsigned int i = 0; i < width; ++i) {
        frame[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void ZprFrame::writeByte(uint8_t offset, uint8_t value)
{
    store(offset, value, 1);
}

void ZprFrame::writeWord(uint8_t offset, uint16_t value)
{
    store(offset, value, 2);
}

void ZprFrame::writeDword(uint8_t offset, uint32_t value)
{
    store(offset, value, 4);
}

void ZprFrame::writeQword(uint8_t offset, uint64_t value)
{
    store(offset, value, 8);
}

uint64_t ZprFrame::load(uint8_t offset, unsigned int width) const
{
    if (!frame || offset + width > FRAME_SIZE) {
        return 0;
    }
    uint64_t value = 0;
    for (unsigned int i = 0; i < width; ++i) {
        value |= static_cast<uint64_t>(frame[offset + i]) << (8 * i);
    }
    return value;
}

uint8_t ZprFrame::readByte(uint8_t offset) const
{
    return static_cast<uint8_t>(load(offset, 1));
}

uint16_t ZprFrame::readWord(uint8_t offset) const
{
    return static_cast<uint16_t>(load(offset, 2));
}

uint32_t ZprFrame::readDword(uint8_t offset) const
{
    return static_cast<uint32_t>(load(offset, 4));
}
