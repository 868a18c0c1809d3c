// Helpers shared by the simulated-host tests: temporary host directories and driver packets
// built by hand from the packet layout (independently of the simulator's own constants).
#ifndef SIMTESTUTIL_H
#define SIMTESTUTIL_H

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Simulator/SimHost.h"
#include "Simulator/Description/SimPresets.h"
#include "Simulator/SimState.h"
#include "SimHostFixture.h"
#include "TestSupport.h"

namespace simtest {

inline void w16(uint8_t* p, size_t off, uint64_t v) { for (int i = 0; i < 2; ++i) p[off + i] = uint8_t(v >> (8 * i)); }
inline void w32(uint8_t* p, size_t off, uint64_t v) { for (int i = 0; i < 4; ++i) p[off + i] = uint8_t(v >> (8 * i)); }
inline void w64(uint8_t* p, size_t off, uint64_t v) { for (int i = 0; i < 8; ++i) p[off + i] = uint8_t(v >> (8 * i)); }
inline uint64_t rd(const uint8_t* p, size_t off, int width)
{
    uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | p[off + i];
    return v;
}
inline uint16_t r16(const uint8_t* p, size_t off) { return uint16_t(rd(p, off, 2)); }
inline uint32_t r32(const uint8_t* p, size_t off) { return uint32_t(rd(p, off, 4)); }
inline uint64_t r64(const uint8_t* p, size_t off) { return rd(p, off, 8); }

const unsigned long REQ_SAS = 0xC1944D01UL;
const uint16_t DIR_NONE = 0x07, DIR_WRITE = 0x0F, DIR_READ = 0x17;

// A DCMD ioctl packet as the transport hands it to the driver: host at 0, SGL offset 40 and
// SGE count 1 (both 0 without data), the 128-byte frame at 20 (command 5, status 0xFF, flags
// without the 0x01 and 0x02 bits, data length at 20 and 48, opcode at 24, mailbox at 28),
// iovec 0 at 148 pointing at `data`.
struct DcmdPacket {
    uint8_t pkt[404];
    std::vector<uint8_t> data;

    DcmdPacket(unsigned host, uint32_t opcode, uint32_t length, uint16_t flags = DIR_READ,
               uint32_t mbox0 = 0)
        : data(length, 0)
    {
        memset(pkt, 0, sizeof pkt);
        w16(pkt, 0, host);
        w32(pkt, 4, length ? 40 : 0);
        w32(pkt, 8, length ? 1 : 0);
        uint8_t* f = pkt + 20;
        f[0] = 5;
        f[2] = 0xFF;
        f[7] = length ? 1 : 0;
        w16(f, 16, flags & ~0x03);
        w32(f, 20, length);
        w32(f, 24, opcode);
        w32(f, 28, mbox0);
        w64(f, 40, reinterpret_cast<uintptr_t>(data.data()));
        w32(f, 48, length);
        w64(pkt, 148, reinterpret_cast<uintptr_t>(data.data()));
        w64(pkt, 156, length);
    }
    uint8_t status() const { return pkt[22]; }
};

// Sends the packet through the simulated driver of the host in `dir`, as one run of the
// program would (the state is read anew); the ioctl's result, -2 when the host cannot be read.
inline int sendToHost(const std::string& dir, DcmdPacket& p, unsigned long request = REQ_SAS)
{
    sim::SimHost host(dir, false);
    if (host.state().load() != 0)
        return -2;
    return host.driver().ioctl(0, request, p.pkt);
}

using testsupport::readText;
using testsupport::TempDir;

// A fresh host directory of a preset (optionally changed by `edit`) inside `tmp`; "" when it
// cannot be made.
inline std::string makeHost(const TempDir& tmp, const std::string& preset,
                            const simhost::StateEdit& edit = simhost::StateEdit())
{
    std::string dir = tmp.path() + "/host";
    return simhost::createHost(dir, preset, edit) ? dir : "";
}

} // namespace simtest

#endif
