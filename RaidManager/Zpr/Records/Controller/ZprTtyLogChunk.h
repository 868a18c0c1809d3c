// One piece of the firmware's terminal log, read with DCMD_ADP_TTY_LOG_GET at the byte offset
// given in mailbox word 0: a word the reader does not use, the number of log characters in this
// piece, then the characters. The reader keeps a larger zero-filled buffer (BUFFER_SIZE) so
// that the text always ends with a NUL, however full the piece is.
#ifndef ZPRTTYLOGCHUNK_H
#define ZPRTTYLOGCHUNK_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprTtyLogChunk {
public:
    static constexpr size_t SIZE = 1024;         // what the firmware answers
    static constexpr size_t BUFFER_SIZE = 1028;  // what the reader zero-fills before each read

    static constexpr size_t COUNT = 4;   // 32-bit: characters in this piece
    static constexpr size_t TEXT = 8;
    // The most characters one piece holds; a count above it is not believed.
    static constexpr uint32_t MAX_TEXT = SIZE - TEXT;
    // A piece with more characters than this was full: the log goes on after it.
    static constexpr uint32_t FULL_ABOVE = 1015;
    // The most text a controller's terminal log holds; a log that claims to go on past it is
    // not read further.
    static constexpr uint32_t MAX_LOG_SIZE = 1024 * 1024;

    ZprTtyLogChunk(const uint8_t* record, size_t size) : bytes(record, size) {}

    uint32_t count() const { return bytes.u32(COUNT); }
    // The text from TEXT to the first NUL (the zero-filled buffer guarantees one).
    const char* text() const
    {
        return bytes.contains(TEXT, 1) ? reinterpret_cast<const char*>(bytes.data() + TEXT) : "";
    }

private:
    LeView bytes;
};

// The battery mode of the terminal log's history, one byte read with
// DCMD_ADP_TTY_LOG_BBU_MODE_GET: 0 off, 1 on, 2 off for this boot only.
class ZprTtyLogBbuMode {
public:
    static constexpr size_t SIZE = 1;
    static constexpr size_t MODE = 0;

    ZprTtyLogBbuMode(const uint8_t* record, size_t size) : bytes(record, size) {}
    uint8_t mode() const { return bytes.u8(MODE); }

private:
    LeView bytes;
};

#endif
