#include "Parser/Cmd/Security/ReKeyParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

ReKeyParser::ReKeyParser() : Parser(0xFFFF), useEkms(0), oldIsPassphrase(0)
{
    addSyntaxWord(TOKEN_CHANGESECURITYKEY, "ChangeSecurityKey");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_CHANGESECURITYKEY, makeHandler(&ReKeyParser::onCommandWord));
    addRule(TOKEN_SECURITYKEY, makeHandler(&ReKeyParser::onSecurityKey));
    addRule(TOKEN_OLDSECURITYKEY, makeHandler(&ReKeyParser::onOldKey));
    addRule(TOKEN_OLDPASSPHRASE, makeHandler(&ReKeyParser::onOldKey));
    addRule(TOKEN_PASSPHRASE, makeHandler(&ReKeyParser::onPassphrase));
    addRule(TOKEN_KEYID, makeHandler(&ReKeyParser::onKeyId));
    addRule(TOKEN_USEEKMS, makeHandler(&ReKeyParser::onUseEkms));
}

ReKeyParser::~ReKeyParser()
{
}

Parser* ReKeyParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) ReKeyParser();
}

ArrayList<unsigned short>* ReKeyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_CHANGESECURITYKEY});
}

int ReKeyParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_CHANGESECURITYKEY});
}

int ReKeyParser::onSecurityKey(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_SECURITYKEY, &securityKey);
}

int ReKeyParser::onOldKey(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    if (word == nullptr)
        return -1;
    unsigned short wordId = word->getId();
    if (wordId == TOKEN_OLDPASSPHRASE)
        oldIsPassphrase = 1;
    else if (wordId != TOKEN_OLDSECURITYKEY)
        return -1;
    return ParserUtil::takeTextAfterWord(tokens, position, wordId, &oldKey);
}

int ReKeyParser::onPassphrase(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_PASSPHRASE, &passphrase);
}

int ReKeyParser::onKeyId(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_KEYID, &keyId);
}

int ReKeyParser::onUseEkms(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_USEEKMS, &useEkms);
}

ArrayList<ParsedObject*>* ReKeyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LockKeyParsedObject(TOKEN_CHANGESECURITYKEY, securityKey, passphrase, keyId,
                                                    useEkms, adapter, oldKey, oldIsPassphrase);
    });
}

namespace {
const ParserFactoryRegistration<ReKeyParser> registration;
}  // namespace
