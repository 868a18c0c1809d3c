// Drive performance-monitor commands of the simulated firmware: the statistics of one drive.
#include "Simulator/Firmware/SimFirmware.h"

#include <algorithm>

namespace sim {

namespace {

const uint32_t OP_DPM_GET_STATISTICS = 0x0A020000;
const size_t DPM_LARGEST_READ = 400;

// DCMD_DPM_GET_STATISTICS (word 0 the drive's reference, word 1 the statistics type): as many
// bytes as asked for. A drive with described statistics answers them (zeros after them), whatever
// the type; another answers the type and the device id in its first eight bytes, so that a test
// sees which drive and type were answered, and zeros.
uint8_t dpmGetStatistics(SimState&, Controller& c, SimCommand& cmd)
{
    const Drive* d = findDriveById(c, static_cast<uint16_t>(cmd.mailbox[0] & 0xFFFF));
    if (d == nullptr)
        return FW_STATUS_NO_DEVICE;
    Bytes r(std::max(cmd.data.size(), DPM_LARGEST_READ), 0);
    if (!d->dpmStatistics.empty()) {
        std::copy(d->dpmStatistics.begin(), d->dpmStatistics.end(), r.begin());
        return fwReply(cmd, r);
    }
    put32(r, 0, cmd.mailbox[1]);
    put16(r, 4, d->deviceId);
    return fwReply(cmd, r);
}

const FwRegistration registration({
    fwRead(OP_DPM_GET_STATISTICS, DPM_LARGEST_READ, dpmGetStatistics),
});

} // namespace

} // namespace sim
