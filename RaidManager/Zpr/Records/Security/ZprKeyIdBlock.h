// The block of a key id: a NUL-terminated text at offset 0; read with DCMD_ADP_LOCK_KEY_GET_ID
// and DCMD_ADP_LOCK_KEY_GET_PD_KEY_ID, written with DCMD_ADP_LOCK_KEY_SET_PD_KEY_ID. Bytes after
// the NUL are not significant.
#ifndef ZPRKEYIDBLOCK_H
#define ZPRKEYIDBLOCK_H

#include <cstddef>

class ZprKeyIdBlock {
public:
    static constexpr size_t SIZE = 256;

    static constexpr size_t TEXT = 0;
    static constexpr size_t TEXT_WIDTH = 256;
    // The longest key id: it may fill its field without a NUL (so may the key id field of
    // ZprSecurityKeyBlock, as wide). As a text's length is counted.
    static constexpr int MAX_LENGTH = static_cast<int>(TEXT_WIDTH);
};

#endif
