#include "Parser/Cmd/VirtualDrive/LdExpansionInfoParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdExpansionInfoParser::LdExpansionInfoParser(int commandToken) : LdObjectsParser(commandToken)
{
    addSyntaxWord(TOKEN_GETLDEXPANSIONINFO, "LDExpansionInfo");
    addSyntaxWord(TOKEN_LOGICAL_DRIVE, "L");
    addSyntaxWord(TOKEN_ALL_LOGICAL_DRIVE, "LAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
}

LdExpansionInfoParser::~LdExpansionInfoParser()
{
}

Parser* LdExpansionInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdExpansionInfoParser(commandToken);
}

ArrayList<unsigned short>* LdExpansionInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_GETLDEXPANSIONINFO});
}

ArrayList<ParsedObject*>* LdExpansionInfoParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdExpansionInfoParsedObject(getCommandToken(), &logicalDrives, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdExpansionInfoParser> registration;
}  // namespace
