#include "CpMgmt/CmdPro/Security/LockKeyCp.h"

#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyIdBlock.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyTextBlock.h"

namespace {

// An OEM id that cannot be read counts as the ordinary dialect.
const int32_t OEM_UNREAD = 1;

const unsigned KEY_MIN_LENGTH = 8;
const unsigned KEY_MAX_LENGTH = 32;

// Mailbox flags of the key-create command.
const uint8_t KEY_CREATE = 0;
const uint8_t KEY_STAGE_CHANGE = 4;
const uint8_t EXTERNAL_KEY_CREATE = 0x10;
const uint8_t EXTERNAL_KEY_CHANGE = 0x14;
// The key-management state in which a staged change is completed without the old text.
const uint8_t KEY_STATE_COMPLETE_WITHOUT_OLD = 4;
// Key-management mode bits: an external key management client, a boot agent.
const uint8_t MODE_CLIENT = 0x01;
const uint8_t MODE_BOOT_AGENT = 0x10;

const char* const INVALID_INPUT = "Invalid input\n";

bool encryptionEnabled(Adapter* adapter, uint8_t adapterNumber)
{
    uint8_t enabled = 0;
    ignoreStatus(adapter->isEncryptionEnabled(&enabled), "an unread flag keeps 0: encryption disabled");
    if (enabled == 0)
        printMessage(MSG_ENCRYPTION_DISABLED, static_cast<int>(adapterNumber));
    return enabled != 0;
}

} // namespace

int invalidInput()
{
    printMessage(MSG_TEXT, INVALID_INPUT);
    return -1;
}

int32_t oemIdOf(Adapter* adapter)
{
    int32_t oemId = OEM_UNREAD;
    if (adapter->getOemId(&oemId) != 0)
        oemId = OEM_UNREAD;
    return oemId;
}

bool validateSecurityKey(const string& text, const char* label)
{
    const unsigned length = static_cast<unsigned>(text.length());
    unsigned digits = 0, lower = 0, upper = 0, others = 0;
    for (unsigned i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[static_cast<int>(i)]);
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c >= 'a' && c <= 'z')
            ++lower;
        else if (c >= 'A' && c <= 'Z')
            ++upper;
        else if (c >= 0x21 && c <= 0x7E)
            ++others;
    }
    if (length < KEY_MIN_LENGTH || length > KEY_MAX_LENGTH || digits == 0 || lower == 0 || upper == 0 ||
        others == 0) {
        printMessage(MSG_KEY_RULES, label);
        return false;
    }
    return true;
}

bool LockKeyCp::inputAccepted(const LockKeyParsedObject& request, int32_t oemId)
{
    const unsigned short command = request.getCommandToken();
    const bool passPhraseDialect = oemId == OEM_PASSPHRASE_DIALECT;
    if (passPhraseDialect && request.getSecurityKey().length() > 0)
        return false;
    if (!passPhraseDialect && command == TOKEN_CREATESECURITYKEY && request.getPassphrase().length() > 0 &&
        request.getSecurityKey().length() == 0)
        return false;
    const string verified = passPhraseDialect ? request.getPassphrase() : request.getSecurityKey();
    // A longer verified or old text would be cut by its key-text block, so it is refused before
    // the first command (a change would otherwise stage the new key and then fail on the old one).
    if (command == TOKEN_VERIFYSECURITYKEY && verified.length() > ZprKeyTextBlock::MAX_LENGTH)
        return false;
    if (command == TOKEN_CHANGESECURITYKEY) {
        if (request.getOldSecurityKey().length() > ZprKeyTextBlock::MAX_LENGTH)
            return false;
        if (!passPhraseDialect && request.oldIsPassphrase == 1)
            return false;
        if (passPhraseDialect && request.oldIsPassphrase != 1 && request.getPassphrase().length() == 0 &&
            request.useExternalKeyManagement != 1)
            return false;
    }
    return true;
}

int LockKeyCp::process(CpController* cpController, ParsedObject* parsed)
{
    CpQuietRefresh<CpStart<LockKeyParsedObject>> start(cpController, parsed, "LockKeyParsedObject *");
    adapterNumber = start.number();
    if (!start)
        return start.result();
    LockKeyParsedObject* request = start.request();
    adapter = start.adapter();
    const unsigned short command = request->getCommandToken();
    const int32_t oemId = oemIdOf(adapter);
    if (!inputAccepted(*request, oemId))
        return invalidInput();
    if (!encryptionEnabled(adapter, adapterNumber))
        return -1;
    uint8_t assigned = 0;
    ignoreStatus(adapter->isSecurityKeyAssigned(&assigned), "an unread flag keeps 0: no key");
    if (command == TOKEN_CREATESECURITYKEY && assigned == 1) {
        printMessage(MSG_KEY_ALREADY_HELD);
        return -1;
    }
    if (command != TOKEN_CREATESECURITYKEY && assigned != 1) {
        printMessage(MSG_KEY_NOT_HELD);
        return -1;
    }
    key = oemId == OEM_PASSPHRASE_DIALECT ? request->getPassphrase() : request->getSecurityKey();
    if (command != TOKEN_VERIFYSECURITYKEY && request->useExternalKeyManagement == 1)
        return applyExternalKeyManagement(cpController, *request, oemId);
    if (command == TOKEN_VERIFYSECURITYKEY) {
        const int status = verifyKey();
        printMessage(status != 0 ? MSG_KEY_VERIFY_FAILED : MSG_KEY_VERIFIED, static_cast<int>(adapterNumber));
        return status;
    }
    if (readKeys(*request, oemId) != 0)
        return -1;
    const int status = command == TOKEN_CREATESECURITYKEY ? createKey() : changeKey(*request);
    printMessage(status != 0 ? MSG_KEY_OPERATION_FAILED : MSG_KEY_OPERATION_DONE, static_cast<int>(adapterNumber));
    return status;
}

int LockKeyCp::readKeys(const LockKeyParsedObject& request, int32_t oemId)
{
    keyId = request.getKeyId();
    if (keyId.length() > ZprKeyIdBlock::MAX_LENGTH) {
        printMessage(MSG_KEY_ID_TOO_LONG);
        return -1;
    }
    if (!validateSecurityKey(key, "Security Key"))
        return -1;
    if (oemId != OEM_PASSPHRASE_DIALECT) {
        passPhrase = request.getPassphrase();
        if (passPhrase.length() > 0 && !validateSecurityKey(passPhrase, "Passphrase"))
            return -1;
    }
    return 0;
}

int LockKeyCp::createKey() { return adapter->createSecurityKey(key, passPhrase, keyId, KEY_CREATE); }

int LockKeyCp::changeKey(const LockKeyParsedObject& request)
{
    const string old = request.getOldSecurityKey();
    uint8_t state = 0;
    ignoreStatus(adapter->getKeyManagementState(&state),
                 "an unread state keeps 0: the change with the old key");
    const int status = adapter->createSecurityKey(key, passPhrase, keyId, KEY_STAGE_CHANGE);
    if (status != 0)
        return status;
    return state == KEY_STATE_COMPLETE_WITHOUT_OLD ? adapter->completeSecurityKeyChange()
                                                   : adapter->changeSecurityKey(old);
}

int LockKeyCp::verifyKey() { return adapter->verifySecurityKey(key, 0); }

int LockKeyCp::applyExternalKeyManagement(CpController*, const LockKeyParsedObject& request, int32_t)
{
    uint8_t supported = 0;
    ignoreStatus(adapter->isExternalKeyManagementSupported(&supported),
                 "an unread flag keeps 0: not supported");
    if (supported == 0) {
        printMessage(MSG_EKMS_NOT_SUPPORTED);
        return -1;
    }
    uint8_t mode = 0;
    ignoreStatus(adapter->getKeyManagementMode(&mode), "an unread mode keeps 0: no agent");
    if ((mode & (MODE_CLIENT | MODE_BOOT_AGENT)) == 0) {
        printMessage(MSG_EKMS_NO_AGENT);
        return -1;
    }
    int status;
    if (request.getCommandToken() == TOKEN_CREATESECURITYKEY) {
        status = adapter->setExternalKeyManagementKey(EXTERNAL_KEY_CREATE);
    } else {
        uint8_t state = 0;
        ignoreStatus(adapter->getKeyManagementState(&state),
                     "an unread state keeps 0: the change with the old key");
        status = adapter->setExternalKeyManagementKey(EXTERNAL_KEY_CHANGE);
        if (status != 0) {
            printMessage(MSG_KEY_OPERATION_FAILED, static_cast<int>(adapterNumber));
            return status;
        }
        status = state == KEY_STATE_COMPLETE_WITHOUT_OLD ? adapter->completeSecurityKeyChange()
                                                         : adapter->changeSecurityKey(request.getOldSecurityKey());
    }
    if (status != 0) {
        printMessage(MSG_KEY_OPERATION_FAILED, static_cast<int>(adapterNumber));
        return status;
    }
    uint8_t reboot = 0;
    ignoreStatus(adapter->refreshControllerInfo(&reboot),
                 "the key is set; an unread flag keeps 0: no reboot asked");
    if (reboot == 1)
        printMessage(MSG_REBOOT_REQUIRED);
    else
        printMessage(MSG_KEY_OPERATION_DONE, static_cast<int>(adapterNumber));
    return 0;
}

int DestroyLockKeyCp::process(CpController* cpController, ParsedObject* parsed)
{
    CpQuietRefresh<CpStart<DestroyLockKeyParsedObject>> start(cpController, parsed, "DestroyLockKeyParsedObject *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    DestroyLockKeyParsedObject* request = start.request();
    Adapter* adapter = start.adapter();
    const bool passPhraseDialect = oemIdOf(adapter) == OEM_PASSPHRASE_DIALECT;
    if ((request->deleteWord == 1) != passPhraseDialect)
        return invalidInput();
    if (!encryptionEnabled(adapter, adapterNumber))
        return -1;
    uint8_t assigned = 0;
    ignoreStatus(adapter->isSecurityKeyAssigned(&assigned), "an unread flag keeps 0: no key");
    if (assigned == 0) {
        printMessage(MSG_KEY_NOT_ASSIGNED);
        return -1;
    }
    if (request->force != 1) {
        printMessage(MSG_FORCE_REQUIRED);
        return -1;
    }
    const int status = adapter->destroySecurityKey();
    if (status == 0)
        printMessage(MSG_KEY_DESTROYED, static_cast<int>(adapterNumber));
    else if (status == STATUS_SECURE_VDS_PRESENT)
        printMessage(MSG_KEY_SECURE_VDS_PRESENT);
    else
        printMessage(MSG_KEY_DESTROY_FAILED, static_cast<int>(adapterNumber));
    return status;
}

namespace {

const CpRegistration<LockKeyCp> lockKeyRegistration;
const CpRegistration<DestroyLockKeyCp> destroyRegistration;

} // namespace
