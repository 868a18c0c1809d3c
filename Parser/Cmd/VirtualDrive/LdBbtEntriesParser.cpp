#include "Parser/Cmd/VirtualDrive/LdBbtEntriesParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdBbtEntriesParser::LdBbtEntriesParser(int commandToken) : LdObjectsParser(commandToken)
{
    addSyntaxWord(TOKEN_LDGETBBTENTRIES, "GetBbtEntries");
    addSyntaxWord(TOKEN_LOGICAL_DRIVE, "L");
    addSyntaxWord(TOKEN_ALL_LOGICAL_DRIVE, "LAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
}

LdBbtEntriesParser::~LdBbtEntriesParser()
{
}

Parser* LdBbtEntriesParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdBbtEntriesParser(commandToken);
}

ArrayList<unsigned short>* LdBbtEntriesParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDGETBBTENTRIES});
}

ArrayList<ParsedObject*>* LdBbtEntriesParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdBbtEntriesParsedObject(getCommandToken(), &logicalDrives, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdBbtEntriesParser> registration;
}  // namespace
