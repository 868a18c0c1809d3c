#include "DataProvider/LinuxZprDataProvider.h"

#include <cstring>

#include "DataProvider/ControllerId.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/ZprFrame.h"
#include "Output/VoError.h"
#include "PavUtil/LeView.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/ZprFrameLayout.h"
#include "System/OsBoundary.h"
#include "System/PavError.h"

namespace {

const char SIGNATURE[] = "ORVANECO";
const uint32_t PASS_THROUGH_TIMEOUT = 30;

using namespace zprframe;

// Frame offset of the first scatter-gather entry, by frame command 0-8.
const uint32_t SGL_OFFSETS[] = {0, DCMD_SGE_ADDRESS, DCMD_SGE_ADDRESS, DCDB_SGE_ADDRESS, DCDB_SGE_ADDRESS,
                                DCMD_SGE_ADDRESS, 0, TWO_ENTRY_SGE_ADDRESS, STP_RESPONSE_ADDRESS};

// A frame with two scatter-gather entries from offset 32; no request builds one.
const uint8_t FRAME_TWO_ENTRIES = 7;

uint64_t addressOf(const void* p)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
}

// A scatter-gather entry in the frame's own 12-byte form: 64-bit address as two halves, then
// the 32-bit length.
void putEntry(LeView& frame, size_t offset, uint64_t address, uint32_t length)
{
    frame.setU64(offset, address);
    frame.setU32(offset + 8, length);
}

// Whether the data area is copied back after the status: after success, a power-state update in
// progress and a reboot required, each in the direction it needs.
bool copiesBack(uint8_t status, uint16_t flags)
{
    switch (status) {
    case STATUS_OK:
        return (flags & ZPR_FLAG_READ) != 0;
    case STATUS_POWER_UPDATE_BUSY:   // the data area goes both ways
        return (flags & (ZPR_FLAG_WRITE | ZPR_FLAG_READ)) != 0;
    case STATUS_REBOOT_REQUIRED:
        return (flags & ZPR_FLAG_READ) != 0;
    default:
        return false;
    }
}

struct ProviderHolder {
    LinuxZprDataProvider* provider = nullptr;
    ~ProviderHolder() { delete provider; }
};

} // namespace

LinuxZprDataProvider::LinuxZprDataProvider()
{
}

LinuxZprDataProvider::~LinuxZprDataProvider()
{
}

LinuxZprDataProvider* LinuxZprDataProvider::instance(int)
{
    static ProviderHolder holder;
    if (!holder.provider) {
        holder.provider = new (noThrowNew) LinuxZprDataProvider();
    }
    return holder.provider;
}

int LinuxZprDataProvider::sendDcmd(DpParams* request)
{
    return sendFrame(request);
}

int LinuxZprDataProvider::sendDcdb(DpParams* request)
{
    return sendFrame(request);
}

int LinuxZprDataProvider::sendDriverCommand(DpParams* request)
{
    return sendFrame(request);
}

int LinuxZprDataProvider::sendStp(DpParams* request)
{
    return sendFrame(request);
}

int LinuxZprDataProvider::sendFrame(DpParams* params)
{
    ZprDpParams* request = dynamic_cast<ZprDpParams*>(params);
    if (!request || !request->frame() || !request->isSendable()) {
        return -1;
    }
    LinuxCtrlId* id = dynamic_cast<LinuxCtrlId*>(request->controllerId());
    if (!id || (id->getKind() != LINUX_DRIVER_HWR && id->getKind() != LINUX_DRIVER_SWR)) {
        return -1;
    }

    const LeView image(static_cast<const uint8_t*>(request->frame()->address()), ZprFrame::FRAME_SIZE);
    uint8_t command = image.u8(FRAME_COMMAND);
    uint32_t length = request->dataLength();
    uint16_t flags = request->frameFlags();
    // Never move more than the caller's buffer holds.
    uint32_t bufferLength = request->bufferLength();
    size_t copyLength = bufferLength < length ? bufferLength : length;
    uint8_t* callerBuffer = nullptr;
    size_t responseLength = 0;   // the response area of a SATA pass-through

    switch (command) {
    case ZPR_FRAME_DCMD:
        callerBuffer = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(image.u64(DCMD_SGE_ADDRESS)));
        break;
    case ZPR_FRAME_LD_SCSI_IO:
    case ZPR_FRAME_PD_SCSI_IO:
        callerBuffer = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(image.u64(DCDB_SGE_ADDRESS)));
        break;
    case ZPR_FRAME_STP: {
        StpZprDpParams* stp = dynamic_cast<StpZprDpParams*>(request);
        if (!stp) {
            return -1;
        }
        callerBuffer = static_cast<uint8_t*>(request->dataBuffer());
        responseLength = stp->fisLength();
        break;
    }
    default:
        return -1;
    }

    size_t dataOffset = ZprDriverPacket::DATA + responseLength;
    size_t packetSize = dataOffset + length;
    uint8_t* packet = static_cast<uint8_t*>(allocateMemory(packetSize));
    if (!packet) {
        return -1;
    }
    memset(packet, 0, packetSize);
    LeView bytes(packet, packetSize);
    bytes.writeBytes(ZprDriverPacket::SIGNATURE, SIGNATURE, ZprDriverPacket::SIGNATURE_LENGTH);
    LeView frame = bytes.sub(ZprDriverPacket::FRAME, ZprDriverPacket::FRAME_AREA_SIZE);
    frame.writeBytes(0, image.data(), ZprFrame::FRAME_SIZE);
    const uint8_t* dataArea = packet + dataOffset;
    uint32_t frameLength = frame.u32(FRAME_DATA_LENGTH);

    switch (command) {
    case ZPR_FRAME_DCMD:
        bytes.setU32(ZprDriverPacket::TIMEOUT, 0);
        bytes.setU32(ZprDriverPacket::CONTROL_CODE, request->controlCode());
        putEntry(frame, DCMD_SGE_ADDRESS, addressOf(dataArea), frameLength);
        frame.setU8(FRAME_SGE_COUNT, 1);
        break;
    case ZPR_FRAME_LD_SCSI_IO:
    case ZPR_FRAME_PD_SCSI_IO:
        bytes.setU32(ZprDriverPacket::TIMEOUT, PASS_THROUGH_TIMEOUT);
        bytes.setU32(ZprDriverPacket::CONTROL_CODE, 0);
        putEntry(frame, DCDB_SGE_ADDRESS, addressOf(dataArea), frameLength);
        frame.setU8(FRAME_SGE_COUNT, 1);
        frame.setU64(DCDB_SENSE_ADDRESS, addressOf(packet + ZprDriverPacket::SENSE));
        break;
    default:   // ZPR_FRAME_STP
        bytes.setU32(ZprDriverPacket::TIMEOUT, PASS_THROUGH_TIMEOUT);
        bytes.setU32(ZprDriverPacket::CONTROL_CODE, request->controlCode());
        putEntry(frame, STP_RESPONSE_ADDRESS, addressOf(packet + ZprDriverPacket::DATA), static_cast<uint32_t>(responseLength));
        putEntry(frame, STP_DATA_ADDRESS_LOW, addressOf(dataArea), frameLength);
        frame.setU8(FRAME_SGE_COUNT, 2);
        break;
    }
    frame.setU16(FRAME_FLAGS, static_cast<uint16_t>(frame.u16(FRAME_FLAGS) & ~ZPR_FLAG_SEND));

    if ((flags & ZPR_FLAG_WRITE) && callerBuffer) {
        bytes.writeBytes(dataOffset, callerBuffer, copyLength);
    }
    bytes.setU16(ZprDriverPacket::HOST_NUMBER, static_cast<uint16_t>(id->getHostNumber()));

    // Descriptor 0 means that no driver node is open.
    if (id->getFd() == 0) {
        releaseMemory(packet);
        return -1;
    }
    int rc = issueIoctl(id->getFd(), packet, id->getKind());
    if (rc == -1) {
        releaseMemory(packet);
        return -1;
    }
    uint8_t status = bytes.u8(ZprDriverPacket::STATUS);
    if (callerBuffer && copiesBack(status, flags)) {
        bytes.readBytes(dataOffset, callerBuffer, copyLength);
    }
    releaseMemory(packet);
    return status;
}

int LinuxZprDataProvider::buildIoctlPacket(uint8_t* driverPacket, uint8_t* ioctlPacket)
{
    LeView driver(driverPacket, ZprDriverPacket::HEADER_SIZE);
    LeView frame = driver.sub(ZprDriverPacket::FRAME, ZprDriverPacket::FRAME_AREA_SIZE);
    LeView packetOut(ioctlPacket, ZprIoctlPacket::SIZE);
    uint8_t command = frame.u8(FRAME_COMMAND);
    uint32_t sglOffset = 0;
    uint32_t sgeCount = frame.u8(FRAME_SGE_COUNT);
    uint32_t senseOffset = 0;
    uint32_t senseLength = 0;
    uint32_t entryOffset = 0;
    unsigned int entries = 1;

    switch (command) {
    case ZPR_FRAME_LD_SCSI_IO:
    case ZPR_FRAME_PD_SCSI_IO:
        sglOffset = SGL_OFFSETS[command];
        entryOffset = sglOffset;
        senseOffset = DCDB_SENSE_ADDRESS;
        // The driver writes sense data into the packet's 32-byte sense area.
        senseLength = frame.u8(FRAME_BYTE1) > SENSE_SIZE ? SENSE_SIZE : frame.u8(FRAME_BYTE1);
        break;
    case ZPR_FRAME_DCMD:
        entryOffset = SGL_OFFSETS[ZPR_FRAME_DCMD];
        if (frame.u32(FRAME_DATA_LENGTH) != 0) {
            sglOffset = entryOffset;
        } else {
            sgeCount = 0;
        }
        break;
    case FRAME_TWO_ENTRIES:
        sglOffset = SGL_OFFSETS[FRAME_TWO_ENTRIES];
        entryOffset = sglOffset;
        entries = 2;
        break;
    case ZPR_FRAME_STP:
        sglOffset = SGL_OFFSETS[ZPR_FRAME_STP];
        entryOffset = sglOffset;
        entries = 2;
        break;
    default:
        return 1;
    }

    packetOut.setU32(ZprIoctlPacket::SGL_OFFSET, sglOffset);
    packetOut.setU32(ZprIoctlPacket::SGE_COUNT, sgeCount);
    packetOut.setU32(ZprIoctlPacket::SENSE_OFFSET, senseOffset);
    packetOut.setU32(ZprIoctlPacket::SENSE_LENGTH, senseLength);

    uint16_t flags = frame.u16(FRAME_FLAGS);
    bool wide = (flags & ZPR_FLAG_SGL64) != 0;
    size_t entrySize = wide ? 12 : 8;
    for (unsigned int i = 0; i < entries; ++i) {
        size_t entry = entryOffset + i * entrySize;
        uint64_t address = wide ? frame.u64(entry) : frame.u32(entry);
        uint64_t length = frame.u32(entry + (wide ? 8 : 4));
        size_t iovec = ZprIoctlPacket::IOVEC + i * ZprIoctlPacket::IOVEC_SIZE;
        packetOut.setU64(iovec, address);
        packetOut.setU64(iovec + 8, length);
    }
    if (wide) {
        frame.setU16(FRAME_FLAGS, static_cast<uint16_t>(flags & ~ZPR_FLAG_SGL64));
    }
    packetOut.writeBytes(ZprIoctlPacket::FRAME, frame.data(), ZprDriverPacket::FRAME_AREA_SIZE);
    packetOut.setU16(ZprIoctlPacket::HOST_NUMBER, driver.u16(ZprDriverPacket::HOST_NUMBER));
    return 0;
}

int LinuxZprDataProvider::issueIoctl(int fd, uint8_t* driverPacket, uint32_t driverKind)
{
    unsigned long requestCode;
    if (driverKind == LINUX_DRIVER_HWR) {
        requestCode = ZPR_IOCTL_HWR;
    } else if (driverKind == LINUX_DRIVER_SWR) {
        requestCode = ZPR_IOCTL_SWR;
    } else {
        return -1;   // no such driver: nothing sent, nothing recorded
    }
    uint8_t* ioctlPacket = static_cast<uint8_t*>(allocateMemory(ZprIoctlPacket::SIZE));
    if (!ioctlPacket) {
        return -1;   // nothing sent, nothing recorded; the allocator has reported it
    }
    memset(ioctlPacket, 0, ZprIoctlPacket::SIZE);
    if (buildIoctlPacket(driverPacket, ioctlPacket) != 0) {
        releaseMemory(ioctlPacket);
        return 1;
    }
    int rc = osBoundary().ioctl(fd, requestCode, ioctlPacket);
    if (rc == 0) {
        uint8_t status = ioctlPacket[ZprIoctlPacket::STATUS];
        driverPacket[ZprDriverPacket::STATUS] = status;
        setLastErrorCode(PAVERROR_FW_STATUS | status);
    } else {
        setLastErrorCode(static_cast<uint32_t>(rc) | PAVERROR_IOCTL_FAILED);
    }
    releaseMemory(ioctlPacket);
    return rc;
}
