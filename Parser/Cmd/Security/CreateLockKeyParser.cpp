#include "Parser/Cmd/Security/CreateLockKeyParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CreateLockKeyParser::CreateLockKeyParser() : Parser(0xFFFF), command(0), useEkms(0)
{
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_CREATESECURITYKEY, makeHandler(&CreateLockKeyParser::onCreateSecurityKey));
    addRule(TOKEN_SECURITYKEY, makeHandler(&CreateLockKeyParser::onSecurityKey));
    addRule(TOKEN_PASSPHRASE, makeHandler(&CreateLockKeyParser::onPassphrase));
    addRule(TOKEN_KEYID, makeHandler(&CreateLockKeyParser::onKeyId));
    addRule(TOKEN_VERIFYSECURITYKEY, makeHandler(&CreateLockKeyParser::onVerifySecurityKey));
    addRule(TOKEN_USEEKMS, makeHandler(&CreateLockKeyParser::onUseEkms));
}

CreateLockKeyParser::~CreateLockKeyParser()
{
}

Parser* CreateLockKeyParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) CreateLockKeyParser();
}

ArrayList<unsigned short>* CreateLockKeyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_CREATESECURITYKEY, TOKEN_VERIFYSECURITYKEY});
}

int CreateLockKeyParser::onCreateSecurityKey(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_CREATESECURITYKEY}) == nullptr)
        return -1;
    command = TOKEN_CREATESECURITYKEY;
    return 0;
}

int CreateLockKeyParser::onVerifySecurityKey(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_VERIFYSECURITYKEY}) == nullptr)
        return -1;
    command = TOKEN_VERIFYSECURITYKEY;
    return 0;
}

int CreateLockKeyParser::onSecurityKey(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_SECURITYKEY, &securityKey);
}

int CreateLockKeyParser::onPassphrase(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_PASSPHRASE, &passphrase);
}

int CreateLockKeyParser::onKeyId(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_KEYID, &keyId);
}

int CreateLockKeyParser::onUseEkms(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_USEEKMS, &useEkms);
}

ArrayList<ParsedObject*>* CreateLockKeyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            LockKeyParsedObject(command, securityKey, passphrase, keyId, useEkms, adapter, string(" "), 0);
    });
}

namespace {
const ParserFactoryRegistration<CreateLockKeyParser> registration;
}  // namespace
