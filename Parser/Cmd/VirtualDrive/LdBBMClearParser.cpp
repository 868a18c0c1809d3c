#include "Parser/Cmd/VirtualDrive/LdBBMClearParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdBBMClearParser::LdBBMClearParser(int commandToken) : LdObjectsParser(commandToken)
{
    addSyntaxWord(TOKEN_LDBBMCLR, "LDBBMClr");
    addSyntaxWord(TOKEN_LOGICAL_DRIVE, "L");
    addSyntaxWord(TOKEN_ALL_LOGICAL_DRIVE, "LAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
}

LdBBMClearParser::~LdBBMClearParser()
{
}

Parser* LdBBMClearParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdBBMClearParser(commandToken);
}

ArrayList<unsigned short>* LdBBMClearParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDBBMCLR});
}

ArrayList<ParsedObject*>* LdBBMClearParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdBBMClearParsedObject(getCommandToken(), &logicalDrives, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdBBMClearParser> registration;
}  // namespace
