// Drive-security key commands of the simulated firmware. The controller holds one key (with
// its pass phrase, key id and escrow key); create with mode 0 assigns it, mode 16 hands it to an
// external key manager, modes 4 and 20 stage a change that the key-change command completes.
// Info bits 1 (assigned) and 2 (failed) of securityState and keyManagementState follow the key.
// Every text field must end with its NUL and be zero after it (status 3 otherwise), as a block
// the program zero-fills before copying its text is. Key ids are kept per controller (mailbox
// bytes 0-1 0xFFFF) and per drive (a device id).
#include "Simulator/Firmware/SimFirmware.h"
#include "Simulator/Firmware/SimFirmwareValues.h"

namespace sim {

namespace {

const uint32_t OP_LOCK_KEY_CREATE = 0x01150100;
const uint32_t OP_LOCK_KEY_GET_ID = 0x01150200;
const uint32_t OP_LOCK_KEY_GET_PD_KEY_ID = 0x01150301;
const uint32_t OP_LOCK_KEY_SET_PD_KEY_ID = 0x01150302;
const uint32_t OP_LOCK_KEY_VERIFY = 0x01150500;
const uint32_t OP_LOCK_KEY_CHANGE = 0x01150700;
const uint32_t OP_LOCK_KEY_SET_ESCROW = 0x01150800;
const uint32_t OP_LOCK_KEY_DESTROY = 0x01150900;

const size_t KEY_BLOCK_SIZE = 364;
const size_t TEXT_BLOCK_SIZE = 104;
const size_t KEY_ID_SIZE = 256;

const uint8_t MODE_CREATE = 0;
const uint8_t MODE_STAGE_CHANGE = 4;
const uint8_t MODE_EXTERNAL = 16;
const uint8_t MODE_STAGE_EXTERNAL = 20;

const uint8_t SECURITY_KEY_ASSIGNED = 0x02;
const uint8_t SECURITY_KEY_FAILED = 0x04;
const uint8_t KEY_STATE_CHANGE_WITHOUT_TEXT = 4;
const uint16_t CONTROLLER_KEY_ID = 0xFFFF;

// The text of a field of `width` bytes from `off`; false when it has no NUL or a nonzero byte
// after its NUL.
bool fieldText(const Bytes& b, size_t off, size_t width, std::string& text)
{
    text.clear();
    size_t i = 0;
    while (i < width && get8(b, off + i) != 0)
        text.push_back(static_cast<char>(get8(b, off + i++)));
    if (i == width)
        return false;
    for (; i < width; ++i)
        if (get8(b, off + i) != 0)
            return false;
    return true;
}

uint8_t refuse(SimCommand& cmd, const char* why)
{
    cmd.note = std::string("refused=") + why;
    return FW_STATUS_INVALID_ARGUMENT;
}

bool keyAssigned(const Controller& c)
{
    return (c.info.securityState & SECURITY_KEY_ASSIGNED) != 0;
}

void assign(Controller& c, bool assigned)
{
    c.info.securityState = static_cast<uint8_t>(c.info.securityState & ~(SECURITY_KEY_ASSIGNED | SECURITY_KEY_FAILED));
    if (assigned)
        c.info.securityState |= SECURITY_KEY_ASSIGNED;
    c.info.keyManagementState = 0;
}

uint8_t lockKeyCreate(SimState& state, Controller& c, SimCommand& cmd)
{
    std::string key, passPhrase, keyId;
    if (!fieldText(cmd.data, 0, 36, key) || !fieldText(cmd.data, 36, 72, passPhrase) ||
        !fieldText(cmd.data, 108, 256, keyId))
        return refuse(cmd, "padding");
    SecurityKeys& k = c.securityKeys;
    const uint8_t mode = cmd.mailbox[0] & 0xFF;
    if (mode == MODE_CREATE || mode == MODE_EXTERNAL) {
        if (keyAssigned(c))
            return refuse(cmd, "key-assigned");
        if (mode == MODE_CREATE && key.empty())
            return refuse(cmd, "no-key");
        k = SecurityKeys();
        k.key = key;
        k.passPhrase = passPhrase;
        k.keyId = keyId;
        k.external = mode == MODE_EXTERNAL;
        assign(c, true);
    } else if (mode == MODE_STAGE_CHANGE || mode == MODE_STAGE_EXTERNAL) {
        if (!keyAssigned(c))
            return refuse(cmd, "no-key");
        k.changeStaged = true;
        k.stagedKey = key;
        k.stagedPassPhrase = passPhrase;
        k.stagedKeyId = keyId;
        k.stagedExternal = mode == MODE_STAGE_EXTERNAL;
        c.info.keyManagementState = key.empty() ? KEY_STATE_CHANGE_WITHOUT_TEXT : 0;
    } else {
        return refuse(cmd, "mode");
    }
    markStateChanged(state);
    return FW_STATUS_OK;
}

// Completes a staged change: a text given is the old key, which must match the key held; an
// empty block completes it without one.
uint8_t lockKeyChange(SimState& state, Controller& c, SimCommand& cmd)
{
    std::string text;
    if (!fieldText(cmd.data, 0, TEXT_BLOCK_SIZE, text))
        return refuse(cmd, "padding");
    SecurityKeys& k = c.securityKeys;
    if (!k.changeStaged)
        return refuse(cmd, "no-change");
    if (!text.empty() && text != k.key)
        return refuse(cmd, "old-key");
    k.key = k.stagedKey;
    k.passPhrase = k.stagedPassPhrase;
    if (!k.stagedKeyId.empty())
        k.keyId = k.stagedKeyId;
    k.external = k.stagedExternal;
    k.changeStaged = false;
    k.stagedKey.clear();
    k.stagedPassPhrase.clear();
    k.stagedKeyId.clear();
    k.stagedExternal = false;
    assign(c, true);
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t lockKeyVerify(SimState&, Controller& c, SimCommand& cmd)
{
    std::string text;
    if (!fieldText(cmd.data, 0, TEXT_BLOCK_SIZE, text))
        return refuse(cmd, "padding");
    if (!keyAssigned(c) || text != c.securityKeys.key)
        return refuse(cmd, "key");
    return FW_STATUS_OK;
}

uint8_t lockKeySetEscrow(SimState& state, Controller& c, SimCommand& cmd)
{
    std::string text;
    if (!fieldText(cmd.data, 0, TEXT_BLOCK_SIZE, text))
        return refuse(cmd, "padding");
    if (!keyAssigned(c))
        return refuse(cmd, "no-key");
    c.securityKeys.escrowKey = text;
    markStateChanged(state);
    return FW_STATUS_OK;
}

uint8_t lockKeyDestroy(SimState& state, Controller& c, SimCommand& cmd)
{
    for (const LogicalDrive& ld : c.lds)
        if (ld.encryption != 0) {
            cmd.note = "refused=secure-lds";
            return FW_STATUS_SECURE_LDS_EXIST;
        }
    c.securityKeys = SecurityKeys();
    assign(c, false);
    markStateChanged(state);
    return FW_STATUS_OK;
}

// The key id a mailbox names: the controller's, or a drive's (null when there is no such drive).
std::string* keyIdOf(Controller& c, const SimCommand& cmd)
{
    const uint16_t device = cmd.mailbox[0] & 0xFFFF;
    if (device == CONTROLLER_KEY_ID)
        return &c.securityKeys.keyId;
    for (Drive& d : c.drives)
        if (d.deviceId == device)
            return &d.keyId;
    return nullptr;
}

uint8_t replyKeyId(SimCommand& cmd, const std::string& keyId)
{
    Bytes r(KEY_ID_SIZE, 0);
    putText(r, 0, KEY_ID_SIZE, keyId);
    return fwReply(cmd, r);
}

uint8_t lockKeyGetId(SimState&, Controller& c, SimCommand& cmd)
{
    return replyKeyId(cmd, c.securityKeys.keyId);
}

uint8_t lockKeyGetPdKeyId(SimState&, Controller& c, SimCommand& cmd)
{
    const std::string* keyId = keyIdOf(c, cmd);
    return keyId != nullptr ? replyKeyId(cmd, *keyId) : FW_STATUS_NO_DEVICE;
}

uint8_t lockKeySetPdKeyId(SimState& state, Controller& c, SimCommand& cmd)
{
    std::string text;
    if (!fieldText(cmd.data, 0, KEY_ID_SIZE, text))
        return refuse(cmd, "padding");
    std::string* keyId = keyIdOf(c, cmd);
    if (keyId == nullptr)
        return FW_STATUS_NO_DEVICE;
    *keyId = text;
    markStateChanged(state);
    return FW_STATUS_OK;
}

const FwRegistration registration({
    fwWrite(OP_LOCK_KEY_CREATE, KEY_BLOCK_SIZE, lockKeyCreate),
    fwRead(OP_LOCK_KEY_GET_ID, KEY_ID_SIZE, lockKeyGetId),
    fwRead(OP_LOCK_KEY_GET_PD_KEY_ID, KEY_ID_SIZE, lockKeyGetPdKeyId),
    fwWrite(OP_LOCK_KEY_SET_PD_KEY_ID, KEY_ID_SIZE, lockKeySetPdKeyId),
    fwWrite(OP_LOCK_KEY_VERIFY, TEXT_BLOCK_SIZE, lockKeyVerify),
    fwWrite(OP_LOCK_KEY_CHANGE, TEXT_BLOCK_SIZE, lockKeyChange),
    fwWrite(OP_LOCK_KEY_SET_ESCROW, TEXT_BLOCK_SIZE, lockKeySetEscrow),
    fwNoData(OP_LOCK_KEY_DESTROY, lockKeyDestroy),
});

} // namespace

} // namespace sim
