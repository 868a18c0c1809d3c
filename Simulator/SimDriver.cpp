#include "Simulator/SimDriver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/SimBytes.h"
#include "Simulator/SimFaults.h"
#include "Simulator/SimTranscript.h"

namespace sim {

namespace {

// Larger transfers than any firmware command takes are refused as a kernel would.
const uint64_t MAX_TRANSFER = 16u << 20;

// process_vm_readv/writev on the own process: the kernel checks the caller's address range
// and reports EFAULT instead of faulting. Where those calls are unavailable the copy falls
// back to memcpy for non-null addresses.
bool copyVm(bool toCaller, uint64_t remote, void* local, size_t n)
{
    if (n == 0)
        return true;
    if (remote == 0)
        return false;
    struct iovec l = {local, n};
    struct iovec r = {reinterpret_cast<void*>(static_cast<uintptr_t>(remote)), n};
    ssize_t done = toCaller ? process_vm_writev(getpid(), &l, 1, &r, 1, 0)
                            : process_vm_readv(getpid(), &l, 1, &r, 1, 0);
    if (done == static_cast<ssize_t>(n))
        return true;
    if (done < 0 && (errno == ENOSYS || errno == EPERM)) {
        if (toCaller)
            memcpy(r.iov_base, local, n);
        else
            memcpy(local, r.iov_base, n);
        return true;
    }
    return false;
}

struct Segment {
    uint64_t address;
    uint64_t length;
};

} // namespace

bool copyFromCaller(void* dst, uint64_t src, size_t n) { return copyVm(false, src, dst, n); }
bool copyToCaller(uint64_t dst, const void* src, size_t n) { return copyVm(true, dst, const_cast<void*>(src), n); }

unsigned long SimDriver::requestFor(int driverKind)
{
    return driverKind == DRIVER_KIND_SWR ? IOCTL_REQUEST_SWR : IOCTL_REQUEST_SAS;
}

void SimDriver::refuse(const std::string& head, const std::string& outcome)
{
    record(head + " " + outcome);
    SimTranscript(state_).refused(head, outcome);
}

void SimDriver::record(const std::string& line)
{
    std::string text = "t=" + std::to_string(state_.clock()) + " " + line + "\n";
    if (trace_)
        fprintf(stderr, "quillsim: %s", text.c_str());
    if (state_.hostDir().empty())
        return;
    FILE* f = fopen((state_.hostDir() + "/commands.log").c_str(), "a");
    if (f) {
        fputs(text.c_str(), f);
        fclose(f);
    }
}

int SimDriver::ioctl(int driverKind, unsigned long request, void* arg)
{
    if (request != requestFor(driverKind)) {
        errno = ENOTTY;
        return -1;
    }
    SimFaults faults(state_);
    if (faults.driverMissing(driverKind)) {
        errno = ENODEV;
        return -1;
    }
    Bytes pkt(IOCTL_PACKET_SIZE, 0);
    if (!copyFromCaller(pkt.data(), reinterpret_cast<uintptr_t>(arg), pkt.size())) {
        errno = EFAULT;
        return -1;
    }

    unsigned host = get16(pkt, PKT_HOST);
    uint32_t sgeCount = get32(pkt, PKT_SGE_COUNT);
    SimCommand cmd;
    cmd.frameCommand = get8(pkt, PKT_FRAME + FRM_COMMAND);
    cmd.flags = get16(pkt, PKT_FRAME + FRM_FLAGS);
    cmd.opcode = get32(pkt, PKT_FRAME + FRM_OPCODE);
    for (int i = 0; i < 3; ++i)
        cmd.mailbox[i] = get32(pkt, PKT_FRAME + FRM_MAILBOX + 4 * i);
    cmd.frameLength = get32(pkt, PKT_FRAME + FRM_DATA_LENGTH);
    const bool known = SimFirmware::classify(cmd, pkt.data() + PKT_FRAME, PKT_FRAME_SIZE);
    const bool isDcmd = cmd.frameCommand == FRAME_DCMD;
    // A SCSI pass-through is named by its CDB's operation code, in the log and for the faults.
    const bool isPassThrough = known && cmd.kind == FrameKind::DCDB;
    const uint32_t named = isPassThrough ? cmd.code : cmd.opcode;

    char head[160];
    snprintf(head, sizeof head, "host=%u frame=%u opcode=%s mbox=%s,%s,%s len=%u", host,
             static_cast<unsigned>(cmd.frameCommand), hex32(named).c_str(),
             hex32(cmd.mailbox[0]).c_str(), hex32(cmd.mailbox[1]).c_str(),
             hex32(cmd.mailbox[2]).c_str(), cmd.frameLength);

    if (sgeCount > PKT_MAX_IOVECS) {
        refuse(head, "rejected=EINVAL");
        errno = EINVAL;
        return -1;
    }
    std::vector<Segment> segments;
    uint64_t total = 0;
    for (uint32_t i = 0; i < sgeCount; ++i) {
        Segment s = {get64(pkt, PKT_IOVEC + 16 * i), get64(pkt, PKT_IOVEC + 16 * i + 8)};
        total += s.length;
        if (s.length > MAX_TRANSFER || total > MAX_TRANSFER) {
            refuse(head, "rejected=EINVAL");
            errno = EINVAL;
            return -1;
        }
        segments.push_back(s);
    }

    Controller* controller = state_.findController(host, driverKind);
    if (!controller) {
        refuse(head, "rejected=ENODEV");
        errno = ENODEV;
        return -1;
    }

    FaultTarget target;
    target.driverKind = driverKind;
    target.host = host;
    target.hasOpcode = isDcmd || isPassThrough;
    target.opcode = named;
    target.hasMailbox = isDcmd;
    for (int i = 0; i < 3; ++i)
        target.mailbox[i] = cmd.mailbox[i];
    int rc = 0, err = 0;
    if (faults.ioctlFault(target, rc, err)) {
        refuse(head, "ioctl=" + std::to_string(rc) + " errno=" + std::to_string(err));
        state_.saveIfChanged();
        errno = err;
        return rc;
    }

    // The transfer: a DCMD moves at most the frame's data length; other frames move what
    // their scatter-gather entries map.
    uint64_t size = (isDcmd && cmd.frameLength < total) ? cmd.frameLength : total;
    cmd.data.assign(static_cast<size_t>(size), 0);
    if (cmd.flags & FRAME_DIR_WRITE) {
        size_t at = 0;
        for (const Segment& s : segments) {
            size_t n = static_cast<size_t>(s.length < size - at ? s.length : size - at);
            if (!copyFromCaller(cmd.data.data() + at, s.address, n)) {
                refuse(head, "rejected=EFAULT");
                errno = EFAULT;
                return -1;
            }
            at += n;
        }
    }

    // What the caller sent, as the firmware found it (a handler may answer into the same buffer).
    const Bytes sent = (cmd.flags & FRAME_DIR_WRITE) ? cmd.data : Bytes();
    uint8_t status = 0;
    if (!faults.statusFault(target, status))
        status = known ? SimFirmware::execute(state_, *controller, cmd) : FW_STATUS_INVALID_COMMAND;
    if (status == FW_STATUS_OK && cmd.dataReturned)
        faults.applyRecordFaults(target, cmd.data);

    if ((cmd.flags & FRAME_DIR_READ) && cmd.dataReturned) {
        // Only what the firmware returned: the rest of a longer buffer stays the caller's.
        const size_t returned = cmd.data.size();
        size_t at = 0;
        for (const Segment& s : segments) {
            size_t n = static_cast<size_t>(s.length < returned - at ? s.length : returned - at);
            if (!copyToCaller(s.address, cmd.data.data() + at, n)) {
                refuse(head, "rejected=EFAULT");
                errno = EFAULT;
                return -1;
            }
            at += n;
        }
    }
    if (!copyToCaller(reinterpret_cast<uintptr_t>(arg) + PKT_FRAME + FRM_STATUS, &status, 1)) {
        errno = EFAULT;
        return -1;
    }
    char tail[32];
    snprintf(tail, sizeof tail, " status=0x%02x", status);
    record(std::string(head) + tail + (cmd.note.empty() ? "" : " " + cmd.note));
    const bool returned = (cmd.flags & FRAME_DIR_READ) && cmd.dataReturned;
    SimTranscript(state_).command(head, cmd, (cmd.flags & FRAME_DIR_WRITE) ? &sent : nullptr,
                                  returned ? &cmd.data : nullptr, status);
    state_.saveIfChanged();
    return 0;
}

} // namespace sim
