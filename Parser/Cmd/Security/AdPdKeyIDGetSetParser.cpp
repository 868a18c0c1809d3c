#include "Parser/Cmd/Security/AdPdKeyIDGetSetParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

AdPdKeyIDGetSetParser::AdPdKeyIDGetSetParser(int commandToken) : Parser(commandToken), keyId(" ")
{
    addSyntaxWord(TOKEN_GET_KEYID, "GETKEYID");
    addSyntaxWord(TOKEN_SET_KEYID, "SETKEYID");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addSyntaxWord(TOKEN_PHYSDRV, "PhysDrv");
    addRule(TOKEN_GET_KEYID, makeHandler(&AdPdKeyIDGetSetParser::onCommandWord));
    addRule(TOKEN_SET_KEYID, makeHandler(&AdPdKeyIDGetSetParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&AdPdKeyIDGetSetParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&AdPdKeyIDGetSetParser::onPhysDrv));
    addRule(TOKEN_KEYID, makeHandler(&AdPdKeyIDGetSetParser::onKeyId));
}

AdPdKeyIDGetSetParser::~AdPdKeyIDGetSetParser()
{
}

Parser* AdPdKeyIDGetSetParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdPdKeyIDGetSetParser(commandToken);
}

ArrayList<unsigned short>* AdPdKeyIDGetSetParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_GET_KEYID, TOKEN_SET_KEYID});
}

int AdPdKeyIDGetSetParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_GET_KEYID, TOKEN_SET_KEYID});
}

int AdPdKeyIDGetSetParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int AdPdKeyIDGetSetParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int AdPdKeyIDGetSetParser::onKeyId(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_KEYID, &keyId);
}

ArrayList<ParsedObject*>* AdPdKeyIDGetSetParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdPdKeyIDGetSetParsedObject(getCommandToken(), driveList.get(), keyId, adapter);
    });
}

namespace {
const ParserFactoryRegistration<AdPdKeyIDGetSetParser> registration;
}  // namespace
