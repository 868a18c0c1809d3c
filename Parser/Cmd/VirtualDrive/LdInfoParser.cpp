#include "Parser/Cmd/VirtualDrive/LdInfoParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

LdInfoParser::LdInfoParser(int commandToken) : LdObjectsParser(commandToken), force(0)
{
    addRule(TOKEN_FORCE, makeHandler(&LdInfoParser::onForce));
}

Parser* LdInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdInfoParser(commandToken);
}

ArrayList<unsigned short>* LdInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDINFO, TOKEN_DISCARDPRESERVEDCACHE});
}

int LdInfoParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* LdInfoParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || logicalDrives.count() == 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdInfoParsedObject(getCommandToken(), &logicalDrives, force, adapter);
    });
}

namespace {

const ParserFactoryRegistration<LdInfoParser> registration;

}  // namespace
