// The phy-control request sent with DCMD_SAS_PHY_CONTROL: a 31-byte header followed by the
// request payload, into which the controller writes its response. The data length given with
// the command is the whole buffer's size.
#ifndef ZPRPHYCONTROLREQUEST_H
#define ZPRPHYCONTROLREQUEST_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/LeView.h"

class ZprPhyControlRequest {
public:
    static constexpr size_t HEADER_SIZE = 31;

    static constexpr size_t KIND = 0;              // 1, 6 for the alternative form, 0 in the length probe
    static constexpr size_t INDEXING = 1;          // 1 flat-indexed and block requests, 0 grouped
    static constexpr size_t RESPONSE_LENGTH = 4;   // 16-bit
    static constexpr size_t FUNCTION = 6;
    static constexpr size_t DATA_LENGTH = 21;
    static constexpr size_t SELECTOR = 22;
    static constexpr size_t OPERATION = 23;
    static constexpr size_t VALUE = 24;            // 32-bit: the phy number or the caller's value
    static constexpr size_t UPPER_GROUP = 28;      // 1: a grouped phy number above 7
    static constexpr size_t PAYLOAD = 31;          // the response (or the request payload)

    // Sizes of the requests built.
    static constexpr size_t ERROR_COUNTERS_SIZE = 59;     // header and the 28-byte response
    static constexpr size_t PROBE_SIZE = 35;              // header and the 4-byte answer
    static constexpr size_t PROBE_ANSWER_SIZE = 4;
    static constexpr size_t PROBE_ANSWER_LENGTH = 1;      // within the probe answer: the response length
    static constexpr size_t LIST_FIRST_SIZE = 79;         // header and 48 response bytes
    static constexpr size_t LIST_FIRST_LENGTH = 48;
    static constexpr size_t LIST_COUNT = 24;              // within the response: its entry count
    static constexpr size_t LIST_ENTRY_SIZE = 20;
    static constexpr size_t LIST_BASE_LENGTH = 28;        // the response without its entries
    // The largest entry count whose response length still fits the one-byte data length.
    static constexpr size_t LIST_MAX_ENTRIES = (255 - LIST_BASE_LENGTH) / LIST_ENTRY_SIZE;

    // Values written by the requests.
    static constexpr uint8_t KIND_PROBE = 0;
    static constexpr uint8_t KIND_PLAIN = 1;
    static constexpr uint8_t KIND_ALTERNATIVE = 6;
    static constexpr uint16_t ERROR_COUNTERS_LENGTH = 28;
    static constexpr uint8_t ERROR_COUNTERS_FUNCTION = 0x13;
    static constexpr uint8_t ERROR_COUNTERS_SELECTOR = 1;
    static constexpr uint8_t ERROR_COUNTERS_OPERATION = 0x0f;
    static constexpr uint8_t LIST_SELECTOR = 8;
    static constexpr uint8_t WRITE_SELECTOR = 8;
    static constexpr uint8_t WRITE_OPERATION = 9;
    static constexpr uint8_t PHYS_PER_GROUP = 8;

    explicit ZprPhyControlRequest(const LeView& bytes) : bytes(bytes) {}
    ZprPhyControlRequest(uint8_t* request, size_t size) : bytes(request, size) {}

    // The header fields the caller chooses: operation (byte 23), function (byte 6), selector
    // (byte 22) and the 32-bit value.
    void setFields(uint8_t operation, uint8_t function, uint8_t selector, uint32_t value)
    {
        bytes.setU8(OPERATION, operation);
        bytes.setU8(FUNCTION, function);
        bytes.setU8(SELECTOR, selector);
        bytes.setU32(VALUE, value);
    }

    LeView& view() { return bytes; }
    const LeView& view() const { return bytes; }

private:
    LeView bytes;
};

#endif
