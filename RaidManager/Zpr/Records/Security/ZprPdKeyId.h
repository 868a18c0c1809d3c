// The security key id of one drive, read with DCMD_ADP_LOCK_KEY_GET_PD_KEY_ID (mailbox bytes 0-1
// the device id): a text of at most 256 bytes, ended by a NUL when shorter.
#ifndef ZPRPDKEYID_H
#define ZPRPDKEYID_H

#include <cstddef>

class ZprPdKeyId {
public:
    static constexpr size_t SIZE = 256;
};

#endif
