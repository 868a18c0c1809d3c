// A stand-in for the controller driver behind the OS boundary: records every ioctl with its
// 404-byte packet, the driver packet header and the data the iovecs point at, then answers as a
// driver would (fills the first data vector, writes a status into the packet's frame) or fails.
//
// Offsets are written out here on purpose, independently of the transport's own constants, so
// that a layout mistake on either side shows.
#ifndef TRANSPORT_FAKEDRIVER_H
#define TRANSPORT_FAKEDRIVER_H

#include <cstdint>
#include <cstring>
#include <vector>

#include "System/OsBoundary.h"

inline uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t le64(const uint8_t* p)
{
    return static_cast<uint64_t>(le32(p)) | (static_cast<uint64_t>(le32(p + 4)) << 32);
}
inline void setLe32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void setLe64(uint8_t* p, uint64_t v)
{
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

struct IoctlCall {
    int fd = 0;
    unsigned long request = 0;
    std::vector<uint8_t> packet;          // the 404-byte ioctl packet as the driver got it
    std::vector<uint8_t> driverHeader;    // driver packet bytes 0-187 (found through iovec 0)
    std::vector<uint8_t> data0;           // what iovec 0 pointed at
    std::vector<uint8_t> data1;           // what iovec 1 pointed at (two-entry frames)

    uint64_t iovAddress(int i) const { return le64(&packet[148 + 16 * i]); }
    uint64_t iovLength(int i) const { return le64(&packet[148 + 16 * i + 8]); }
    const uint8_t* frame() const { return &packet[20]; }
};

class FakeDriver : public OsBoundary {
public:
    // Answer of the next ioctls.
    int rc = 0;
    uint8_t status = 0;
    bool fill = true;          // write fillByte over the first data vector
    uint8_t fillByte = 0xA5;
    // Offset of iovec 0's target inside the driver packet (188 for the data area of commands
    // 3, 4, 5 and the response area of command 8), used to find the driver packet's header.
    size_t headerBack = 188;

    std::vector<IoctlCall> calls;

    int ioctl(int fd, unsigned long request, void* arg) override
    {
        IoctlCall call;
        call.fd = fd;
        call.request = request;
        const uint8_t* p = static_cast<const uint8_t*>(arg);
        call.packet.assign(p, p + 404);
        uint8_t* target0 = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(call.iovAddress(0)));
        if (target0) {
            call.data0.assign(target0, target0 + call.iovLength(0));
            const uint8_t* header = target0 - headerBack;
            call.driverHeader.assign(header, header + 188);
        }
        uint8_t* target1 = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(call.iovAddress(1)));
        if (target1) {
            call.data1.assign(target1, target1 + call.iovLength(1));
        }
        calls.push_back(call);
        if (rc != 0) {
            return rc;
        }
        if (fill && target0) {
            memset(target0, fillByte, call.iovLength(0));
        }
        static_cast<uint8_t*>(arg)[22] = status;
        return 0;
    }
};

#endif
