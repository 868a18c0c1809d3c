#include "Parser/Cmd/Security/DestroyLockKeyParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

DestroyLockKeyParser::DestroyLockKeyParser() : Parser(0xFFFF), force(0), deleteWord(0)
{
    addSyntaxWord(TOKEN_DESTROYSECURITYKEY, "DestroyLockKey");
    addSyntaxWord(TOKEN_DELETESECURITYKEY, "DeleteLockKey");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_DESTROYSECURITYKEY, makeHandler(&DestroyLockKeyParser::onCommandWord));
    addRule(TOKEN_DELETESECURITYKEY, makeHandler(&DestroyLockKeyParser::onCommandWord));
    addRule(TOKEN_FORCE, makeHandler(&DestroyLockKeyParser::onForce));
}

DestroyLockKeyParser::~DestroyLockKeyParser()
{
}

Parser* DestroyLockKeyParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) DestroyLockKeyParser();
}

ArrayList<unsigned short>* DestroyLockKeyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_DESTROYSECURITYKEY, TOKEN_DELETESECURITYKEY});
}

int DestroyLockKeyParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_DESTROYSECURITYKEY, TOKEN_DELETESECURITYKEY});
    if (word == nullptr)
        return -1;
    if (word->getId() == TOKEN_DELETESECURITYKEY)
        deleteWord = 1;
    return 0;
}

int DestroyLockKeyParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* DestroyLockKeyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) DestroyLockKeyParsedObject(TOKEN_DESTROYSECURITYKEY, force, deleteWord, adapter);
    });
}

namespace {
const ParserFactoryRegistration<DestroyLockKeyParser> registration;
}  // namespace
