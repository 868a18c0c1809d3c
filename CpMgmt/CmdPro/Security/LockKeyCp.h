// The controller's drive-security key: creating, changing and verifying it ("-CreateSecurityKey",
// "-ChangeSecurityKey", "-VerifySecurityKey", also handed to an external key manager with
// "-UseEKMS"), and destroying it ("-DestroySecurityKey", or "-DeleteSecurityKey" on controllers
// of OEM 2, whose dialect enters the key as a pass phrase). Every refusal comes before the first
// firmware command that changes a key.
#ifndef LOCKKEYCP_H
#define LOCKKEYCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"
#include "PavUtil/apstring.h"

class Adapter;
class LockKeyParsedObject;

// The OEM whose dialect enters the key as a pass phrase.
const int32_t OEM_PASSPHRASE_DIALECT = 2;

// Prints "Invalid input"; -1.
int invalidInput();
// The controller's OEM id; 1 (the ordinary dialect) when it cannot be read.
int32_t oemIdOf(Adapter* adapter);

// The key rules: 8 to 32 characters with at least one digit, one lower-case letter, one
// upper-case letter and one other printable character. Blanks, control characters and bytes
// from 0x7F up count in no class and are not refused. False after the rule message naming
// `label` ("Security Key" or "Passphrase").
bool validateSecurityKey(const string& text, const char* label);

class LockKeyCp : public CpFrame<LockKeyCp, TOKEN_CREATESECURITYKEY, TOKEN_CHANGESECURITYKEY, TOKEN_VERIFYSECURITYKEY> {
public:
    LockKeyCp() : adapter(nullptr) {}
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~LockKeyCp() override {}

private:
    int readKeys(const LockKeyParsedObject& request, int32_t oemId);
    int createKey();
    int changeKey(const LockKeyParsedObject& request);
    int verifyKey();
    int applyExternalKeyManagement(CpController* cpController, const LockKeyParsedObject& request, int32_t oemId);
    // The input checks of the dialects; false after "Invalid input".
    bool inputAccepted(const LockKeyParsedObject& request, int32_t oemId);

    string key;
    Adapter* adapter;
    string passPhrase;
    string keyId;
    uint8_t adapterNumber = 0;
};

class DestroyLockKeyCp : public CpFrame<DestroyLockKeyCp, TOKEN_DESTROYSECURITYKEY> {
public:
    DestroyLockKeyCp() {}
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~DestroyLockKeyCp() override {}
};

#endif
