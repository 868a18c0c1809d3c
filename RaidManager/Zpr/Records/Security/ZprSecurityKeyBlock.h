// The block of DCMD_ADP_LOCK_KEY_CREATE: the security key, its pass phrase and its key id, each
// a NUL-terminated text in a zero-filled field.
#ifndef ZPRSECURITYKEYBLOCK_H
#define ZPRSECURITYKEYBLOCK_H

#include <cstddef>

class ZprSecurityKeyBlock {
public:
    static constexpr size_t SIZE = 364;

    static constexpr size_t KEY = 0;
    static constexpr size_t KEY_WIDTH = 36;
    static constexpr size_t PASS_PHRASE = 36;
    static constexpr size_t PASS_PHRASE_WIDTH = 72;
    static constexpr size_t KEY_ID = 108;
    static constexpr size_t KEY_ID_WIDTH = 256;
};

#endif
