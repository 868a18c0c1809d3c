// The driver transport: carries firmware-interface requests through the controller driver's
// ioctl node.
//
// For each request it builds a driver packet (header, the request's frame, the data), converts
// it into the driver's 404-byte ioctl packet, issues the ioctl on the node that discovery opened,
// copies data back by the firmware status and the direction, and stores the outcome in the
// last-error word. The ioctl packet's scatter-gather vectors point into the driver packet, so the
// data is never copied between the two packets.
//
// Driver packet (little-endian):
//    0  u16  0                      2  u16  SCSI host number
//    4  8 bytes "ORVANECO"         12  u32  30 for pass-through frames, 0 for command 5
//   16  u32  control code          20  8 bytes zero
//   28  128-byte frame area        156 32-byte sense area
//  188  data area (for a SATA pass-through: the response area first, then the data)
//
// Ioctl packet (404 bytes):
//    0  u16  SCSI host number       4  u32  SGL offset      8  u32  SGE count
//   12  u32  sense offset          16  u32  sense length
//   20  128-byte frame area       148  iovec 0 (u64 address, u64 length)   164  iovec 1
#ifndef LINUXZPRDATAPROVIDER_H
#define LINUXZPRDATAPROVIDER_H

#include <cstddef>
#include <cstdint>

#include "DataProvider/ZprDataProvider.h"

class ZprDpParams;

// Layout of the driver packet.
struct ZprDriverPacket {
    static const size_t HOST_NUMBER = 2;
    static const size_t SIGNATURE = 4;
    static const size_t SIGNATURE_LENGTH = 8;
    static const size_t TIMEOUT = 12;
    static const size_t CONTROL_CODE = 16;
    static const size_t FRAME = 28;
    static const size_t FRAME_AREA_SIZE = 128;
    static const size_t SENSE = 156;              // zprframe::SENSE_SIZE bytes
    static const size_t DATA = 188;
    static const size_t HEADER_SIZE = DATA;
    // Frame status byte, as seen in the packet (frame offset 2).
    static const size_t STATUS = FRAME + 2;
};

// Layout of the ioctl packet.
struct ZprIoctlPacket {
    static const size_t SIZE = 404;
    static const size_t HOST_NUMBER = 0;
    static const size_t SGL_OFFSET = 4;
    static const size_t SGE_COUNT = 8;
    static const size_t SENSE_OFFSET = 12;
    static const size_t SENSE_LENGTH = 16;
    static const size_t FRAME = 20;
    static const size_t IOVEC = 148;
    static const size_t IOVEC_SIZE = 16;
    static const size_t STATUS = FRAME + 2;
};

// Ioctl request codes by driver kind: read-write, 404-byte argument, type 'M' or 'R', number 1.
const unsigned long ZPR_IOCTL_HWR = 0xC1944D01UL;
const unsigned long ZPR_IOCTL_SWR = 0xC1945201UL;

class LinuxZprDataProvider : public ZprDataProvider {
public:
    // The process-wide provider, made on the first call (the argument is ignored); null only
    // when it cannot be made.
    static LinuxZprDataProvider* instance(int unused = 0);

    [[nodiscard]] int sendDcmd(DpParams* request) override;
    [[nodiscard]] int sendDcdb(DpParams* request) override;
    [[nodiscard]] int sendDriverCommand(DpParams* request) override;
    [[nodiscard]] int sendStp(DpParams* request) override;

    // Sends one request: the firmware status (0-255), or -1 when nothing was sent or the ioctl
    // failed with -1. The request must carry the controller's LinuxCtrlId.
    [[nodiscard]] int sendFrame(DpParams* request);

    // Converts a driver packet into the ioctl packet (which the caller has zeroed); clears the
    // 64-bit entry flag in the driver packet's frame. 0 on success, 1 for an unknown frame command.
    [[nodiscard]] static int buildIoctlPacket(uint8_t* driverPacket, uint8_t* ioctlPacket);

    // Builds the ioctl packet, issues the ioctl and records the outcome in the last-error word.
    // The ioctl's return value; 1 when the packet could not be converted, -1 for an unknown
    // driver kind or when the ioctl packet cannot be allocated (nothing recorded in these cases).
    [[nodiscard]] static int issueIoctl(int fd, uint8_t* driverPacket, uint32_t driverKind);

    ~LinuxZprDataProvider() override;

private:
    LinuxZprDataProvider();
};

#endif
