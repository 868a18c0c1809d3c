#include "Parser/Cmd/Config/ForeignCfgParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

ForeignCfgParser::ForeignCfgParser(int commandToken)
    : Parser(commandToken), action(0), foreignConfigIndex(ALL_CONFIGURATIONS),
      keyKind(ForeignCfgParsedObject::KEY_NONE)
{
    for (unsigned short id : {TOKEN_SCAN, TOKEN_DISPLAY, TOKEN_PREVIEW, TOKEN_IMPORT, TOKEN_CLEAR})
        addRule(id, makeHandler(&ForeignCfgParser::onAction));
    addRule(TOKEN_SECURITYKEY, makeHandler(&ForeignCfgParser::onKeyOption));
    addRule(TOKEN_PASSPHRASE, makeHandler(&ForeignCfgParser::onKeyOption));
}

ForeignCfgParser::~ForeignCfgParser()
{
}

Parser* ForeignCfgParser::create(unsigned short commandToken)
{
    return new (noThrowNew) ForeignCfgParser(commandToken);
}

ArrayList<unsigned short>* ForeignCfgParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPFRNCFG});
}

int ForeignCfgParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position,
                                       {TOKEN_SCAN, TOKEN_DISPLAY, TOKEN_PREVIEW, TOKEN_IMPORT, TOKEN_CLEAR});
    if (word == nullptr)
        return -1;
    action = word->getId();
    if (action == TOKEN_SCAN)
        return 0;
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    if (next->getId() != TOKEN_NUMBER)
        return 0;  // no number: every configuration
    int value = 0;
    if (ParserUtil::takeNumber(tokens, position + 1, ALL_CONFIGURATIONS - 1, &value) != 0)
        return -1;
    foreignConfigIndex = static_cast<unsigned char>(value);
    return 0;
}

int ForeignCfgParser::onKeyOption(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    if (word == nullptr || (word->getId() != TOKEN_SECURITYKEY && word->getId() != TOKEN_PASSPHRASE))
        return -1;
    keyKind = word->getId() == TOKEN_SECURITYKEY ? ForeignCfgParsedObject::KEY_SECURITY_KEY
                                                  : ForeignCfgParsedObject::KEY_PASSPHRASE;
    return ParserUtil::takeTextAfterWord(tokens, position, word->getId(), &keyText);
}

ArrayList<ParsedObject*>* ForeignCfgParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            ForeignCfgParsedObject(getCommandToken(), action, foreignConfigIndex, keyText, keyKind, adapter);
    });
}

namespace {
const ParserFactoryRegistration<ForeignCfgParser> registration;
}  // namespace
