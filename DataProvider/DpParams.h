// Firmware requests: one object per command sent to a controller.
//
// The code that wants a command done builds one of these, hands it to Controller::execute (which
// stores the controller's identifier in it and passes it to the first data provider supporting
// its kind) and destroys it afterwards. The firmware-interface kinds build their finished 64-byte
// frame once, in the constructor; executing a request again sends the same frame.
//
// Kinds (DpParams::type): 0 controller command (DCMD, plain and private variant), 1 SCSI
// pass-through, 2 command to the kernel driver, 3 SATA pass-through, 4 integrated-RAID library
// command.
//
// Frame flags (low byte of the 16-bit flags word): 0x01 and 0x04 set by every request, 0x02 the
// scatter-gather entries are 64-bit, 0x08 data flows to the controller, 0x10 data flows from it.
#ifndef DPPARAMS_H
#define DPPARAMS_H

#include <cstdint>

class ControllerId;
class ZprFrame;
struct _AK_LIB_CMD_PARAM_T;

// Request kinds.
const uint8_t DP_KIND_DCMD = 0;
const uint8_t DP_KIND_DCDB = 1;
const uint8_t DP_KIND_DRIVER = 2;
const uint8_t DP_KIND_STP = 3;
const uint8_t DP_KIND_AK_IR2 = 4;

// Frame commands (frame byte 0).
const uint32_t ZPR_FRAME_LD_SCSI_IO = 3;   // SCSI pass-through to a logical drive
const uint32_t ZPR_FRAME_PD_SCSI_IO = 4;   // SCSI pass-through to a drive or an enclosure
const uint32_t ZPR_FRAME_DCMD = 5;         // controller command or driver command
const uint32_t ZPR_FRAME_STP = 8;          // SATA pass-through

// Frame flag bits.
const uint16_t ZPR_FLAG_SEND = 0x01;
const uint16_t ZPR_FLAG_SGL64 = 0x02;
// Set by every request and passed to the firmware as it is: this program gives it no meaning.
const uint16_t ZPR_FLAG_ALWAYS_SET_UNINTERPRETED = 0x04;
const uint16_t ZPR_FLAG_WRITE = 0x08;
const uint16_t ZPR_FLAG_READ = 0x10;

// Direction argument of the pass-through constructors.
const uint8_t DP_DIRECTION_NONE = 0;
const uint8_t DP_DIRECTION_WRITE = 1;   // data to the device
const uint8_t DP_DIRECTION_READ = 2;    // data from the device
const uint8_t DP_DIRECTION_BOTH = 3;

class DpParams {
public:
    virtual uint8_t type() const = 0;
    virtual ~DpParams();

    void* dataBuffer() const { return buffer; }
    ControllerId* controllerId() const { return ctrlId; }
    void setControllerId(ControllerId* id) { ctrlId = id; }

protected:
    explicit DpParams(void* dataBuffer) : buffer(dataBuffer), ctrlId(nullptr) {}

private:
    DpParams(const DpParams&) = delete;
    DpParams& operator=(const DpParams&) = delete;

    void* buffer;
    ControllerId* ctrlId;
};

// A request carried in a firmware-interface frame.
class ZprDpParams : public DpParams {
public:
    ~ZprDpParams() override;

    virtual uint32_t frameCommand() const { return command; }
    virtual void buildFrame() = 0;
    virtual uint32_t dataLength() const = 0;
    virtual uint16_t frameFlags() const = 0;
    virtual uint32_t controlCode() const = 0;
    virtual uint16_t timeout() const = 0;

    // How many bytes of the caller's buffer the transport may copy in or out: the length the
    // caller declared, so that a catalogue length larger than the caller's buffer never moves
    // more than the buffer holds.
    virtual uint32_t bufferLength() const { return dataLength(); }

    // False for a request the transport must not send (an opcode that its table does not list).
    virtual bool isSendable() const { return true; }

    // The owned frame; null only when it could not be allocated.
    ZprFrame* frame() const { return zprFrame; }

protected:
    ZprDpParams(void* dataBuffer, uint32_t frameCommand);

    // Writes the header fields common to every frame (offsets 0-23).
    void writeHeader(uint8_t byte1, uint8_t targetId, uint8_t lun, uint8_t byte6, uint8_t sgeCount,
                     uint16_t flags, uint16_t timeoutWord, uint32_t length);

private:
    uint32_t command;
    ZprFrame* zprFrame;
};

// A command in the controller-command layout (frame command 5): opcode, 12-byte mailbox and
// data address; its direction and length come from the catalogue table of its kind, a length
// the caller declares caps what is copied.
class MailboxZprDpParams : public ZprDpParams {
public:
    ~MailboxZprDpParams() override;

    uint32_t dataLength() const override;
    uint16_t frameFlags() const override;
    uint32_t controlCode() const override { return control; }
    uint16_t timeout() const override { return timeoutValue; }
    uint32_t bufferLength() const override;
    bool isSendable() const override;

    uint32_t getOpcode() const { return opcode; }
    uint32_t getMailbox0() const { return mailbox[0]; }
    uint32_t getMailbox1() const { return mailbox[1]; }
    uint32_t getMailbox2() const { return mailbox[2]; }
    // The length the caller passed to the constructor.
    uint32_t requestedLength() const { return requestLength; }

    // The frame's timeout word; the request's own timeout is not sent.
    static uint16_t frameTimeout() { return 0; }

protected:
    MailboxZprDpParams(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, uint32_t mailbox2,
                       void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);

    // The catalogue table (DcmdCatalogue::Table) that gives the opcode's direction and length.
    virtual int catalogueTable() const = 0;
    // Writes the header and the command body; with `withSge`, the SGE count 1 and the SGE length.
    void writeMailboxFrame(bool withSge);

    uint32_t opcode;
    uint32_t mailbox[3];
    uint32_t requestLength;
    uint16_t timeoutValue;
    uint32_t control;
};

// A controller command (DCMD), with the general catalogue.
class DcmdZprDpParams : public MailboxZprDpParams {
public:
    DcmdZprDpParams(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, uint32_t mailbox2,
                    void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);
    // Mailbox bytes 0-7 as one value (low half = word 0), then word 2.
    DcmdZprDpParams(uint32_t opcode, uint64_t mailbox01, uint32_t mailbox2,
                    void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);
    ~DcmdZprDpParams() override;

    uint8_t type() const override { return DP_KIND_DCMD; }
    void buildFrame() override;

protected:
    int catalogueTable() const override;
};

// The private variant of the controller command: the frame carries the general catalogue's
// flags and the private table's length; the private flags decide which way data is copied.
class DcmdZprDpPrvParams : public DcmdZprDpParams {
public:
    DcmdZprDpPrvParams(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, uint32_t mailbox2,
                       void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);
    DcmdZprDpPrvParams(uint32_t opcode, uint64_t mailbox01, uint32_t mailbox2,
                       void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);
    ~DcmdZprDpPrvParams() override;

protected:
    int catalogueTable() const override;

private:
    void patchLength();
};

// A command to the kernel driver itself (opcodes 0xF0xxxxxx), in the controller-command layout,
// with the driver catalogue. The timeout and control code given to the constructor are kept
// but not used.
class DriverZprDPParams : public MailboxZprDpParams {
public:
    DriverZprDPParams(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, uint32_t mailbox2,
                      void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);
    DriverZprDPParams(uint32_t opcode, uint64_t mailbox01, uint32_t mailbox2,
                      void* dataBuffer, uint32_t dataLength, uint16_t timeout, uint32_t controlCode);
    ~DriverZprDPParams() override;

    uint8_t type() const override { return DP_KIND_DRIVER; }
    void buildFrame() override;
    // The opcode with its low 16 bits cleared.
    uint32_t controlCode() const override { return opcode & 0xFFFF0000u; }
    uint16_t timeout() const override { return 180; }

protected:
    int catalogueTable() const override;
};

// A SCSI pass-through (frame command 4 to a drive or an enclosure, 3 to a logical drive).
class DcdbZprDpParams : public ZprDpParams {
public:
    static const uint8_t MAX_CDB_LENGTH = 16;

    // A sense length above the packet's sense area (zprframe::SENSE_SIZE) is cut to it.
    DcdbZprDpParams(uint32_t frameCommand, uint8_t targetId, uint8_t lun, uint8_t cdbLength,
                    const void* cdb, uint32_t dataLength, void* dataBuffer, uint8_t direction,
                    uint8_t senseLength, uint64_t senseAddress, uint16_t timeout, uint32_t controlCode);
    ~DcdbZprDpParams() override;

    uint8_t type() const override { return DP_KIND_DCDB; }
    void buildFrame() override;
    uint32_t dataLength() const override { return length; }
    uint16_t frameFlags() const override { return flags; }
    uint32_t controlCode() const override { return control; }
    uint16_t timeout() const override { return timeoutValue; }

    uint8_t senseLength() const { return senseLen; }
    uint8_t cdbLength() const { return cdbLen; }
    uint8_t firstCdbByte() const { return cdbBytes[0]; }

    static uint16_t frameTimeout() { return 30; }

private:
    uint8_t target;
    uint8_t lunValue;
    uint8_t senseLen;
    uint64_t senseAddr;
    uint32_t length;
    void* buffer;
    uint16_t flags;
    uint8_t cdbLen;
    uint8_t cdbBytes[MAX_CDB_LENGTH];
    uint16_t timeoutValue;
    uint32_t control;
};

// A SATA pass-through (frame command 8): a FIS, a response area of FIS length and the data.
class StpZprDpParams : public ZprDpParams {
public:
    static const uint32_t MAX_FIS_LENGTH = 20;

    StpZprDpParams(uint32_t frameCommand, uint8_t targetId, uint8_t lun, const void* fis,
                   uint32_t fisLength, uint64_t responseAddress, uint32_t dataLength, void* dataBuffer,
                   uint8_t direction, uint32_t word44, uint8_t value8, uint64_t value64,
                   uint16_t timeout, uint32_t controlCode);
    ~StpZprDpParams() override;

    uint8_t type() const override { return DP_KIND_STP; }
    void buildFrame() override;
    uint32_t dataLength() const override { return length; }
    uint16_t frameFlags() const override { return flags; }
    uint32_t controlCode() const override { return control; }
    uint16_t timeout() const override { return timeoutValue; }

    uint32_t fisLength() const { return fisLen; }
    uint64_t responseAddress() const { return responseAddr; }

    static uint16_t frameTimeout() { return 30; }

private:
    uint8_t target;
    // Given by the caller and kept with the request, but the frame does not carry them.
    [[maybe_unused]] uint8_t lunValue;
    [[maybe_unused]] uint8_t byteValue;
    [[maybe_unused]] uint64_t quadValue;
    uint32_t length;
    void* buffer;
    uint16_t flags;
    uint32_t fisLen;
    uint64_t responseAddr;
    uint8_t fisBytes[MAX_FIS_LENGTH];
    uint16_t timeoutValue;
    uint32_t control;
    uint32_t offset44;
};

// A command block for the integrated-RAID library (built and owned by the caller).
class ArraykitIr2DpParams : public DpParams {
public:
    explicit ArraykitIr2DpParams(_AK_LIB_CMD_PARAM_T* block);
    ~ArraykitIr2DpParams() override;

    uint8_t type() const override { return DP_KIND_AK_IR2; }
    _AK_LIB_CMD_PARAM_T* commandBlock() const { return block; }

private:
    _AK_LIB_CMD_PARAM_T* block;
};

#endif
