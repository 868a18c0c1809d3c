// The adapter data's drive-security key commands: each builds its block, sends one command and
// returns its status; nothing is cached. A text that does not fit its field with its NUL is
// refused (-1, nothing sent) rather than cut, since a cut key would lock drives with a key
// nobody knows. The blocks are wiped once sent, so no key stays in memory.
#include "DataProvider/DcmdOpcodes.h"
#include "PavUtil/LeView.h"
#include "RaidManager/Zpr/AdapterDataZpr.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyIdBlock.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyTextBlock.h"
#include "RaidManager/Zpr/Records/Security/ZprSecurityKeyBlock.h"

namespace {

// The key-id commands name the controller's key with this in mailbox bytes 0-1.
const uint32_t KEY_ID_MAILBOX = 0xFFFF;

// True when `text` fits a field of `width` bytes with its NUL.
bool fits(const string& text, size_t width)
{
    return text.length() >= 0 && static_cast<size_t>(text.length()) < width;
}

// Zeroes a block in a way the compiler keeps although the block is not read afterwards.
void wipe(uint8_t* block, size_t size)
{
    volatile uint8_t* bytes = block;
    for (size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

}  // namespace

int AdapterDataZpr::sendKeyText(uint32_t opcode, const string& text, uint32_t mailbox0)
{
    if (!fits(text, ZprKeyTextBlock::TEXT_WIDTH))
        return -1;
    uint8_t block[ZprKeyTextBlock::SIZE] = {};
    LeView(block, sizeof block).writeText(ZprKeyTextBlock::TEXT, ZprKeyTextBlock::TEXT_WIDTH, text.c_str());
    int status = send(opcode, block, sizeof block, mailbox0);
    wipe(block, sizeof block);
    return status;
}

int AdapterDataZpr::readKeyId(uint32_t opcode, uint32_t mailbox0, string* keyId)
{
    uint8_t block[ZprKeyIdBlock::SIZE] = {};
    int status = send(opcode, block, sizeof block, mailbox0);
    if (status == 0 && keyId != nullptr) {
        char text[ZprKeyIdBlock::TEXT_WIDTH + 1];
        LeView(block, sizeof block).readText(ZprKeyIdBlock::TEXT, ZprKeyIdBlock::TEXT_WIDTH, text, sizeof text);
        *keyId = string(text);
    }
    return status;
}

int AdapterDataZpr::createSecurityKey(const string& key, const string& passPhrase, const string& keyId, uint8_t mode)
{
    typedef ZprSecurityKeyBlock Block;
    if (!fits(key, Block::KEY_WIDTH) || !fits(passPhrase, Block::PASS_PHRASE_WIDTH) || !fits(keyId, Block::KEY_ID_WIDTH))
        return -1;
    uint8_t block[Block::SIZE] = {};
    LeView view(block, sizeof block);
    view.writeText(Block::KEY, Block::KEY_WIDTH, key.c_str());
    view.writeText(Block::PASS_PHRASE, Block::PASS_PHRASE_WIDTH, passPhrase.c_str());
    view.writeText(Block::KEY_ID, Block::KEY_ID_WIDTH, keyId.c_str());
    int status = send(DCMD_ADP_LOCK_KEY_CREATE, block, sizeof block, mode);
    wipe(block, sizeof block);
    return status;
}

int AdapterDataZpr::setExternalKeyManagementKey(uint8_t mode)
{
    uint8_t block[ZprSecurityKeyBlock::SIZE] = {};
    return send(DCMD_ADP_LOCK_KEY_CREATE, block, sizeof block, mode);
}

int AdapterDataZpr::changeSecurityKey(const string& key)
{
    return sendKeyText(DCMD_ADP_LOCK_KEY_SUBCMD_07, key, 0);
}

int AdapterDataZpr::completeSecurityKeyChange()
{
    return sendKeyText(DCMD_ADP_LOCK_KEY_SUBCMD_07, string(""), 0);
}

int AdapterDataZpr::setEscrowKey(const string& key)
{
    return sendKeyText(DCMD_ADP_LOCK_KEY_SET_ESCROW, key, 0);
}

int AdapterDataZpr::verifySecurityKey(const string& key, uint8_t mode)
{
    return sendKeyText(DCMD_ADP_LOCK_KEY_VERIFY, key, mode);
}

int AdapterDataZpr::destroySecurityKey()
{
    return send(DCMD_ADP_LOCK_KEY_DESTROY, nullptr, 0);
}

int AdapterDataZpr::getSecurityKeyId(string* keyId)
{
    return readKeyId(DCMD_ADP_LOCK_KEY_GET_PD_KEY_ID, KEY_ID_MAILBOX, keyId);
}

int AdapterDataZpr::getControllerSecurityKeyId(string* keyId)
{
    return readKeyId(DCMD_ADP_LOCK_KEY_GET_ID, 0, keyId);
}

int AdapterDataZpr::setSecurityKeyId(const string& keyId)
{
    if (!fits(keyId, ZprKeyIdBlock::TEXT_WIDTH))
        return -1;
    uint8_t block[ZprKeyIdBlock::SIZE] = {};
    LeView(block, sizeof block).writeText(ZprKeyIdBlock::TEXT, ZprKeyIdBlock::TEXT_WIDTH, keyId.c_str());
    return send(DCMD_ADP_LOCK_KEY_SET_PD_KEY_ID, block, sizeof block, KEY_ID_MAILBOX);
}
