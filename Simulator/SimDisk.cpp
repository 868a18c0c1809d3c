#include "Simulator/SimDisk.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>
#include <string>

#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/SimBytes.h"
#include "Simulator/SimDriver.h"
#include "Simulator/SimTranscript.h"

namespace sim {

namespace {

const uint8_t SCSI_INQUIRY = 0x12;
const uint8_t SCSI_STATUS_CHECK_CONDITION = 0x02;
const size_t SEND_COMMAND_HEADER = 8;   // input length, output length, then the command
const size_t SENSE_SIZE = 18;
const int DRIVER_STATUS_SENSE = 0x08;   // the driver byte of a result that carries sense data

// Fixed-format sense data: ILLEGAL REQUEST, INVALID FIELD IN CDB.
Bytes illegalRequestSense()
{
    Bytes s(SENSE_SIZE, 0);
    put8(s, 0, 0x70);
    put8(s, 2, 0x05);
    put8(s, 7, SENSE_SIZE - 8);
    put8(s, 12, 0x24);
    return s;
}

// The name of an SG_IO transfer direction, as the transcript gives it.
std::string directionName(int direction)
{
    switch (direction) {
    case SG_DXFER_NONE:
        return "none";
    case SG_DXFER_TO_DEV:
        return "to-device";
    case SG_DXFER_FROM_DEV:
        return "from-device";
    case SG_DXFER_TO_FROM_DEV:
        return "to-from-device";
    default:
        return std::to_string(direction);
    }
}

std::string statusText(uint8_t status)
{
    char text[16];
    snprintf(text, sizeof text, "status=0x%02x", status);
    return text;
}

} // namespace

ScsiAddress diskAddress(const Controller& controller, const LogicalDrive& ld)
{
    ScsiAddress a;
    a.host = controller.host;
    a.channel = ld.disk.channel;
    a.target = ld.disk.target.value_or(ld.targetId);
    a.lun = ld.disk.lun;
    return a;
}

const LogicalDrive* SimDisk::findLd(const ScsiAddress& addr, const Controller** controller)
{
    state_.ensureLoaded();
    for (const Controller& c : state_.model().controllers)
        for (const LogicalDrive& ld : c.lds) {
            const ScsiAddress a = diskAddress(c, ld);
            if (ld.disk.present && a.host == addr.host && a.channel == addr.channel && a.target == addr.target &&
                a.lun == addr.lun) {
                *controller = &c;
                return &ld;
            }
        }
    return nullptr;
}

bool SimDisk::exists(const ScsiAddress& addr)
{
    const Controller* controller = nullptr;
    return findLd(addr, &controller) != nullptr;
}

bool SimDisk::inquiry(const ScsiAddress& addr, const uint8_t* cdb, Bytes& answer)
{
    const Controller* controller = nullptr;
    const LogicalDrive* ld = findLd(addr, &controller);
    if (!ld || ld->disk.rejectsInquiry)
        return false;
    const bool evpd = cdb[1] & 0x01;
    const uint8_t page = cdb[2];
    if (!evpd) {
        if (page != 0)
            return false;
        answer.assign(36, 0);
        put8(answer, 2, 0x05);        // SPC-3
        put8(answer, 3, 0x02);        // response data format
        put8(answer, 4, 36 - 5);
        putText(answer, 8, 9, "QUILL   ");
        std::string product = controller->info.productName;
        product.resize(16, ' ');
        for (size_t i = 0; i < 16; ++i)
            put8(answer, 16 + i, static_cast<uint8_t>(product[i]));
        putText(answer, 32, 5, "4.80");
        return true;
    }
    if (page == 0x00) {
        answer = {0x00, 0x00, 0x00, 0x02, 0x00, 0x83};
        return true;
    }
    if (page == 0x83 && !ld->disk.vpd83.empty()) {
        answer = ld->disk.vpd83;   // as described, whatever its length byte says
        return true;
    }
    if (page == 0x83) {
        Bytes full = ldDeviceIdPage(*controller, *ld);
        size_t len = 4 + static_cast<size_t>(get8(full, 3));
        answer.assign(full.begin(), full.begin() + (len < full.size() ? len : full.size()));
        return true;
    }
    return false;
}

int SimDisk::ioctl(const ScsiAddress& addr, unsigned long request, void* arg)
{
    const uint64_t user = reinterpret_cast<uintptr_t>(arg);
    const Controller* controller = nullptr;
    const LogicalDrive* ld = findLd(addr, &controller);
    if (ld && ld->disk.ioctlFails) {
        errno = EIO;
        return -1;
    }
    if (request == SG_GET_VERSION_NUM) {
        int v = static_cast<int>(ld ? ld->disk.sgVersion : DISK_SG_VERSION);
        if (!copyToCaller(user, &v, sizeof v)) {
            errno = EFAULT;
            return -1;
        }
        return 0;
    }
    if (request == SCSI_IOCTL_GET_IDLUN) {
        uint32_t idlun[2] = {(addr.target & 0xFF) | ((addr.lun & 0xFF) << 8) | ((addr.channel & 0xFF) << 16) |
                                 ((addr.host & 0xFF) << 24),
                             addr.host};
        if (!copyToCaller(user, idlun, sizeof idlun)) {
            errno = EFAULT;
            return -1;
        }
        return 0;
    }
    if (request == SG_IO)
        return sgIo(addr, user);
    if (request == SCSI_IOCTL_SEND_COMMAND)
        return sendCommand(addr, user);
    errno = ENOTTY;
    return -1;
}

int SimDisk::sgIo(const ScsiAddress& addr, uint64_t user)
{
    sg_io_hdr_t h;
    if (!copyFromCaller(&h, user, sizeof h)) {
        errno = EFAULT;
        return -1;
    }
    if (h.interface_id != 'S' || h.cmd_len < 6 || h.cmd_len > 16) {
        errno = EINVAL;
        return -1;
    }
    uint8_t cdb[16] = {0};
    if (!copyFromCaller(cdb, reinterpret_cast<uintptr_t>(h.cmdp), h.cmd_len)) {
        errno = EFAULT;
        return -1;
    }
    Bytes answer;
    bool ok = cdb[0] == SCSI_INQUIRY && inquiry(addr, cdb, answer);
    if (cdb[0] == SCSI_INQUIRY && (cdb[1] & 0x01) && cdb[2] == 0x83)
        SimTranscript(state_).diskLookup(addr.host, addr.channel, addr.target, addr.lun);
    SimTranscript(state_).diskCommand(addr.host, addr.channel, addr.target, addr.lun,
                                      "request=sg-io cdb=" + toHex(Bytes(cdb, cdb + h.cmd_len)) +
                                          " dir=" + directionName(h.dxfer_direction) +
                                          " length=" + std::to_string(h.dxfer_len) +
                                          " sense=" + std::to_string(h.mx_sb_len) +
                                          " timeout=" + std::to_string(h.timeout) + " " +
                                          statusText(ok ? 0 : SCSI_STATUS_CHECK_CONDITION));
    h.status = h.masked_status = h.host_status = h.driver_status = 0;
    h.sb_len_wr = 0;
    h.resid = static_cast<int>(h.dxfer_len);
    h.duration = 0;
    h.info = 0;
    if (ok) {
        size_t n = answer.size();
        size_t alloc = (static_cast<size_t>(cdb[3]) << 8) | cdb[4];
        if (n > alloc)
            n = alloc;
        if (n > h.dxfer_len)
            n = h.dxfer_len;
        if (h.dxfer_direction == SG_DXFER_FROM_DEV &&
            !copyToCaller(reinterpret_cast<uintptr_t>(h.dxferp), answer.data(), n)) {
            errno = EFAULT;
            return -1;
        }
        h.resid = static_cast<int>(h.dxfer_len - n);
    } else {
        Bytes sense = illegalRequestSense();
        size_t n = sense.size() < h.mx_sb_len ? sense.size() : h.mx_sb_len;
        if (n && !copyToCaller(reinterpret_cast<uintptr_t>(h.sbp), sense.data(), n)) {
            errno = EFAULT;
            return -1;
        }
        h.sb_len_wr = static_cast<unsigned char>(n);
        h.status = SCSI_STATUS_CHECK_CONDITION;
        h.masked_status = SCSI_STATUS_CHECK_CONDITION >> 1;
        h.driver_status = n ? DRIVER_STATUS_SENSE : 0;
        h.info = SG_INFO_CHECK;
    }
    if (!copyToCaller(user, &h, sizeof h)) {
        errno = EFAULT;
        return -1;
    }
    return 0;
}

int SimDisk::sendCommand(const ScsiAddress& addr, uint64_t user)
{
    uint8_t head[SEND_COMMAND_HEADER + 6];
    if (!copyFromCaller(head, user, sizeof head)) {
        errno = EFAULT;
        return -1;
    }
    uint32_t outLen = static_cast<uint32_t>(getN(head, sizeof head, 4, 4));
    Bytes answer;
    const bool ok = head[SEND_COMMAND_HEADER] == SCSI_INQUIRY && inquiry(addr, head + SEND_COMMAND_HEADER, answer);
    SimTranscript(state_).diskCommand(addr.host, addr.channel, addr.target, addr.lun,
                                      "request=send-command block=" + toHex(Bytes(head, head + sizeof head)) + " " +
                                          statusText(ok ? 0 : SCSI_STATUS_CHECK_CONDITION));
    if (!ok)
        return (DRIVER_STATUS_SENSE << 24) | SCSI_STATUS_CHECK_CONDITION;
    size_t n = answer.size() < outLen ? answer.size() : outLen;
    if (!copyToCaller(user + SEND_COMMAND_HEADER, answer.data(), n)) {
        errno = EFAULT;
        return -1;
    }
    return 0;
}

} // namespace sim
