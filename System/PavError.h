// The process-wide last-error word.
//
// The transport stores the outcome of every firmware command here, and the entry point takes it
// once at the end of the run to form the firmware error description and the exit code. This spares
// every layer in between from passing the firmware status along.
//
// Encoding of the values the system writes (bits 16-23 tell the kind):
//   0x0201xxxx  a firmware command completed; bits 0-15 hold the firmware status (0 = success)
//   0x0202xxxx  the driver's ioctl failed; the word is the ioctl's return value ORed with 0x02020000
//   other       no firmware status (0 after a take, 0xFFFFFFFF after an ioctl that returned -1)
#ifndef PAVERROR_H
#define PAVERROR_H

#include <cstdint>

// Kind field (bits 16-23) of the last-error word.
const uint32_t PAVERROR_KIND_MASK = 0x00FF0000u;
const uint32_t PAVERROR_KIND_FW_STATUS = 0x00010000u;
const uint32_t PAVERROR_KIND_IOCTL = 0x00020000u;
// Values ORed into the word by the transport.
const uint32_t PAVERROR_FW_STATUS = 0x02010000u;
const uint32_t PAVERROR_IOCTL_FAILED = 0x02020000u;

class PavError {
public:
    virtual ~PavError() {}

    // Stores the value in the word; the previous value is lost.
    static void setLastError(uint32_t value);

    // Returns the word and clears it to 0.
    static uint32_t takeLastError();

private:
    PavError() {}  // only class-level operations: no object is ever made
};

#endif
