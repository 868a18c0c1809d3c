// The block of one key text (a new key, an escrow key, a key to verify): a NUL-terminated text
// at offset 0 of a zero-filled block; sent with DCMD_ADP_LOCK_KEY_SUBCMD_07,
// DCMD_ADP_LOCK_KEY_SET_ESCROW and DCMD_ADP_LOCK_KEY_VERIFY.
#ifndef ZPRKEYTEXTBLOCK_H
#define ZPRKEYTEXTBLOCK_H

#include <cstddef>

class ZprKeyTextBlock {
public:
    static constexpr size_t SIZE = 104;

    static constexpr size_t TEXT = 0;
    static constexpr size_t TEXT_WIDTH = 104;
    // The longest text the block holds with its NUL (as a text's length is counted).
    static constexpr int MAX_LENGTH = static_cast<int>(TEXT_WIDTH) - 1;
};

#endif
