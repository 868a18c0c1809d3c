// The 64-byte firmware-interface frame of one request.
//
// Each firmware request owns one frame and writes it once, when it is constructed. The frame
// sits on a 256-byte boundary inside a larger buffer owned by the frame object. All multi-byte
// fields are little-endian. Writes outside the 64 frame bytes or at misaligned offsets are
// dropped silently: the frame builders never produce them, and a stray write must never reach
// past the frame.
#ifndef ZPRFRAME_H
#define ZPRFRAME_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprFrame {
public:
    static const unsigned int FRAME_SIZE = 64;
    static const unsigned int BUFFER_SIZE = 66560;
    static const unsigned int ALIGNMENT = 256;

    ZprFrame();
    virtual ~ZprFrame();

    // False when the buffer could not be allocated; such a frame has no address and ignores writes.
    bool isValid() const { return frame != nullptr; }

    void writeByte(uint8_t offset, uint8_t value);
    void writeWord(uint8_t offset, uint16_t value);
    void writeDword(uint8_t offset, uint32_t value);
    void writeQword(uint8_t offset, uint64_t value);

    // Little-endian reads of the frame bytes (0 for a field that does not lie inside the frame).
    uint8_t readByte(uint8_t offset) const;
    uint16_t readWord(uint8_t offset) const;
    uint32_t readDword(uint8_t offset) const;

    // The 64 frame bytes (null when the buffer could not be allocated).
    uint8_t* address() const { return frame; }

    // Zeroes the 64 frame bytes.
    void clear();

    // Where the frame starts in a buffer beginning at bufferStart: the next multiple of the
    // alignment, or the start itself when it already is one.
    static uintptr_t alignedAddress(uintptr_t bufferStart);

private:
    ZprFrame(const ZprFrame&) = delete;
    ZprFrame& operator=(const ZprFrame&) = delete;

    // The 64 frame bytes as a little-endian view (empty when the buffer could not be allocated).
    LeView bytes() const;

    uint8_t* frame;
    uint8_t* buffer;
};

#endif
