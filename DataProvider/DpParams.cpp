#include "DataProvider/DpParams.h"

#include <cstring>

#include "DataProvider/DcmdCatalogue.h"
#include "DataProvider/ZprFrame.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/ZprFrameLayout.h"

namespace {

using namespace zprframe;

const uint16_t PASS_THROUGH_BASE_FLAGS = 0x07;

uint64_t addressOf(const void* p)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
}

uint32_t lowWord(uint64_t value)
{
    return static_cast<uint32_t>(value);
}

uint32_t highWord(uint64_t value)
{
    return static_cast<uint32_t>(value >> 32);
}

// Writes a 64-bit address as two 32-bit halves, low half first.
void writeAddress(ZprFrame* frame, uint8_t offset, uint64_t address)
{
    frame->writeDword(offset, lowWord(address));
    frame->writeDword(static_cast<uint8_t>(offset + 4), highWord(address));
}

uint16_t passThroughFlags(uint8_t direction)
{
    return static_cast<uint16_t>(PASS_THROUGH_BASE_FLAGS | ((direction & 3) << 3));
}

} // namespace

// ---------------------------------------------------------------------------------------------

DpParams::~DpParams()
{
}

ZprDpParams::ZprDpParams(void* dataBuffer, uint32_t frameCommand)
    : DpParams(dataBuffer), command(frameCommand), zprFrame(new (noThrowNew) ZprFrame())
{
    if (zprFrame && !zprFrame->isValid()) {
        delete zprFrame;
        zprFrame = nullptr;
    }
}

ZprDpParams::~ZprDpParams()
{
    delete zprFrame;
}

void ZprDpParams::writeHeader(uint8_t byte1, uint8_t targetId, uint8_t lun, uint8_t byte6,
                              uint8_t sgeCount, uint16_t flags, uint16_t timeoutWord, uint32_t length)
{
    ZprFrame* f = frame();
    if (!f) {
        return;
    }
    f->writeByte(FRAME_COMMAND, static_cast<uint8_t>(command));
    f->writeByte(FRAME_BYTE1, byte1);
    f->writeByte(FRAME_STATUS, FRESH_STATUS);
    f->writeByte(FRAME_TARGET, targetId);
    f->writeByte(FRAME_LUN, lun);
    f->writeByte(FRAME_CDB_LENGTH, byte6);
    f->writeByte(FRAME_SGE_COUNT, sgeCount);
    writeAddress(f, FRAME_SELF_ADDRESS, addressOf(f->address()));
    f->writeWord(FRAME_FLAGS, flags);
    f->writeWord(FRAME_TIMEOUT, timeoutWord);
    f->writeDword(FRAME_DATA_LENGTH, length);
}

// ---------------------------------------------------------------------------------------------

MailboxZprDpParams::MailboxZprDpParams(uint32_t op, uint32_t mailbox0, uint32_t mailbox1,
                                       uint32_t mailbox2, void* dataBuffer, uint32_t dataLength,
                                       uint16_t timeout, uint32_t controlCode)
    : ZprDpParams(dataBuffer, ZPR_FRAME_DCMD),
      opcode(op),
      mailbox{mailbox0, mailbox1, mailbox2},
      requestLength(dataLength),
      timeoutValue(timeout),
      control(controlCode)
{
}

MailboxZprDpParams::~MailboxZprDpParams()
{
}

void MailboxZprDpParams::writeMailboxFrame(bool withSge)
{
    ZprFrame* f = frame();
    if (!f) {
        return;
    }
    uint32_t length = dataLength();
    writeHeader(0, 0, 0, 0, withSge ? 1 : 0, frameFlags(), frameTimeout(), length);
    f->writeDword(DCMD_OPCODE, opcode);
    for (uint8_t i = 0; i < 3; ++i) {
        f->writeDword(static_cast<uint8_t>(DCMD_MAILBOX + 4 * i), mailbox[i]);
    }
    writeAddress(f, DCMD_SGE_ADDRESS, addressOf(dataBuffer()));
    if (withSge) {
        f->writeDword(DCMD_SGE_LENGTH, length);
    }
}

uint32_t MailboxZprDpParams::dataLength() const
{
    return DcmdCatalogue::dataLength(static_cast<DcmdCatalogue::Table>(catalogueTable()), opcode, requestLength);
}

uint16_t MailboxZprDpParams::frameFlags() const
{
    return DcmdCatalogue::frameFlags(static_cast<DcmdCatalogue::Table>(catalogueTable()), opcode);
}

// The caller's declared length caps what is copied; zero means "whatever the command moves".
uint32_t MailboxZprDpParams::bufferLength() const
{
    uint32_t commandLength = dataLength();
    return (requestLength != 0 && requestLength < commandLength) ? requestLength : commandLength;
}

bool MailboxZprDpParams::isSendable() const
{
    return DcmdCatalogue::find(static_cast<DcmdCatalogue::Table>(catalogueTable()), opcode) != nullptr;
}

// ---------------------------------------------------------------------------------------------

DcmdZprDpParams::DcmdZprDpParams(uint32_t op, uint32_t mailbox0, uint32_t mailbox1,
                                 uint32_t mailbox2, void* dataBuffer, uint32_t dataLength,
                                 uint16_t timeout, uint32_t controlCode)
    : MailboxZprDpParams(op, mailbox0, mailbox1, mailbox2, dataBuffer, dataLength, timeout, controlCode)
{
    DcmdZprDpParams::buildFrame();
}

DcmdZprDpParams::DcmdZprDpParams(uint32_t op, uint64_t mailbox01, uint32_t mailbox2,
                                 void* dataBuffer, uint32_t dataLength, uint16_t timeout,
                                 uint32_t controlCode)
    : DcmdZprDpParams(op, lowWord(mailbox01), highWord(mailbox01), mailbox2, dataBuffer, dataLength,
                      timeout, controlCode)
{
}

DcmdZprDpParams::~DcmdZprDpParams()
{
}

// Called from the constructor, so the catalogue is the general one even when a private request
// is being made.
void DcmdZprDpParams::buildFrame()
{
    writeMailboxFrame(true);
}

int DcmdZprDpParams::catalogueTable() const
{
    return DcmdCatalogue::GENERAL;
}

// ---------------------------------------------------------------------------------------------

DcmdZprDpPrvParams::DcmdZprDpPrvParams(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1,
                                       uint32_t mailbox2, void* dataBuffer, uint32_t dataLength,
                                       uint16_t timeout, uint32_t controlCode)
    : DcmdZprDpParams(opcode, mailbox0, mailbox1, mailbox2, dataBuffer, dataLength, timeout, controlCode)
{
    patchLength();
}

DcmdZprDpPrvParams::DcmdZprDpPrvParams(uint32_t opcode, uint64_t mailbox01, uint32_t mailbox2,
                                       void* dataBuffer, uint32_t dataLength, uint16_t timeout,
                                       uint32_t controlCode)
    : DcmdZprDpParams(opcode, mailbox01, mailbox2, dataBuffer, dataLength, timeout, controlCode)
{
    patchLength();
}

DcmdZprDpPrvParams::~DcmdZprDpPrvParams()
{
}

// The frame keeps the general flags; only the two length fields take the private length.
void DcmdZprDpPrvParams::patchLength()
{
    ZprFrame* f = frame();
    if (!f) {
        return;
    }
    uint32_t length = dataLength();
    f->writeDword(FRAME_DATA_LENGTH, length);
    f->writeDword(DCMD_SGE_LENGTH, length);
}

int DcmdZprDpPrvParams::catalogueTable() const
{
    return DcmdCatalogue::PRIVATE;
}

// ---------------------------------------------------------------------------------------------

DriverZprDPParams::DriverZprDPParams(uint32_t op, uint32_t mailbox0, uint32_t mailbox1,
                                     uint32_t mailbox2, void* dataBuffer, uint32_t dataLength,
                                     uint16_t timeout, uint32_t controlCode)
    : MailboxZprDpParams(op, mailbox0, mailbox1, mailbox2, dataBuffer, dataLength, timeout, controlCode)
{
    DriverZprDPParams::buildFrame();
}

DriverZprDPParams::DriverZprDPParams(uint32_t op, uint64_t mailbox01, uint32_t mailbox2,
                                     void* dataBuffer, uint32_t dataLength, uint16_t timeout,
                                     uint32_t controlCode)
    : DriverZprDPParams(op, lowWord(mailbox01), highWord(mailbox01), mailbox2, dataBuffer,
                        dataLength, timeout, controlCode)
{
}

DriverZprDPParams::~DriverZprDPParams()
{
}

// The controller-command layout without the SGE count and the SGE length: the transport sets
// both in its copy of the frame.
void DriverZprDPParams::buildFrame()
{
    writeMailboxFrame(false);
}

int DriverZprDPParams::catalogueTable() const
{
    return DcmdCatalogue::DRIVER;
}

// ---------------------------------------------------------------------------------------------

DcdbZprDpParams::DcdbZprDpParams(uint32_t frameCommand, uint8_t targetId, uint8_t lun,
                                 uint8_t cdbLength, const void* cdb, uint32_t dataLength,
                                 void* dataBuffer, uint8_t direction, uint8_t senseLength,
                                 uint64_t senseAddress, uint16_t timeout, uint32_t controlCode)
    : ZprDpParams(dataBuffer, frameCommand),
      target(targetId),
      lunValue(lun),
      senseLen(senseLength > SENSE_SIZE ? SENSE_SIZE : senseLength),
      senseAddr(senseAddress),
      length(dataLength),
      buffer(dataBuffer),
      flags(passThroughFlags(direction)),
      cdbLen(cdbLength > MAX_CDB_LENGTH ? MAX_CDB_LENGTH : cdbLength),
      timeoutValue(timeout),
      control(controlCode)
{
    memset(cdbBytes, 0, sizeof(cdbBytes));
    if (cdb) {
        memcpy(cdbBytes, cdb, cdbLen);
    }
    DcdbZprDpParams::buildFrame();
}

DcdbZprDpParams::~DcdbZprDpParams()
{
}

void DcdbZprDpParams::buildFrame()
{
    ZprFrame* f = frame();
    if (!f) {
        return;
    }
    writeHeader(senseLen, target, lunValue, cdbLen, 1, flags, frameTimeout(), length);
    writeAddress(f, DCDB_SENSE_ADDRESS, senseAddr);
    for (uint8_t i = 0; i < MAX_CDB_LENGTH; ++i) {
        f->writeByte(static_cast<uint8_t>(DCDB_CDB + i), cdbBytes[i]);
    }
    writeAddress(f, DCDB_SGE_ADDRESS, addressOf(buffer));
    f->writeDword(DCDB_SGE_LENGTH, length);
}

// ---------------------------------------------------------------------------------------------

StpZprDpParams::StpZprDpParams(uint32_t frameCommand, uint8_t targetId, uint8_t lun, const void* fis,
                               uint32_t fisLength, uint64_t responseAddress, uint32_t dataLength,
                               void* dataBuffer, uint8_t direction, uint32_t word44, uint8_t value8,
                               uint64_t value64, uint16_t timeout, uint32_t controlCode)
    : ZprDpParams(dataBuffer, frameCommand),
      target(targetId),
      lunValue(lun),
      byteValue(value8),
      quadValue(value64),
      length(dataLength),
      buffer(dataBuffer),
      flags(passThroughFlags(direction)),
      fisLen(fisLength > MAX_FIS_LENGTH ? MAX_FIS_LENGTH : fisLength),
      responseAddr(responseAddress),
      timeoutValue(timeout),
      control(controlCode),
      offset44(word44)
{
    memset(fisBytes, 0, sizeof(fisBytes));
    if (fis) {
        memcpy(fisBytes, fis, fisLen);
    }
    StpZprDpParams::buildFrame();
}

StpZprDpParams::~StpZprDpParams()
{
}

// The second scatter-gather entry runs past the 64 frame bytes: the image keeps only the low
// half of its address; the transport writes the whole entry into its larger frame area.
void StpZprDpParams::buildFrame()
{
    ZprFrame* f = frame();
    if (!f) {
        return;
    }
    writeHeader(0, target, 0, 0, 2, flags, frameTimeout(), length);
    for (uint8_t i = 0; i < MAX_FIS_LENGTH; ++i) {
        f->writeByte(static_cast<uint8_t>(STP_FIS + i), fisBytes[i]);
    }
    f->writeDword(STP_WORD44, offset44);
    writeAddress(f, STP_RESPONSE_ADDRESS, responseAddr);
    f->writeDword(STP_RESPONSE_LENGTH, fisLen);
    f->writeDword(STP_DATA_ADDRESS_LOW, static_cast<uint32_t>(addressOf(buffer)));
}

// ---------------------------------------------------------------------------------------------

ArraykitIr2DpParams::ArraykitIr2DpParams(_AK_LIB_CMD_PARAM_T* commandBlock)
    : DpParams(nullptr), block(commandBlock)
{
}

ArraykitIr2DpParams::~ArraykitIr2DpParams()
{
}
