#include "Parser/Cmd/VirtualDrive/LdDelParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdDelParser::LdDelParser(int commandToken) : LdObjectsParser(commandToken), force(0)
{
    addRule(TOKEN_FORCE, makeHandler(&LdDelParser::onForce));
}

LdDelParser::~LdDelParser()
{
}

Parser* LdDelParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdDelParser(commandToken);
}

ArrayList<unsigned short>* LdDelParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDDEL, TOKEN_CFGTIDEWELLDEL});
}

int LdDelParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* LdDelParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    // Only "-LALL" gives ALL_LDS: a typed 64 is refused by the logical-drive rule.
    unsigned char allDrives = logicalDrives.get(0) == ALL_LDS ? 1 : 0;
    return makeRequestsPerAdapter([this, allDrives](unsigned char adapter) -> ParsedObject* {
        LdDelParsedObject* request =
            new (noThrowNew) LdDelParsedObject(getCommandToken(), &logicalDrives, allDrives, force, adapter);
        // A request without its copy of the list would delete no drive, or not the ones typed.
        if (request != nullptr && (request->ldList == nullptr || request->ldList->count() != logicalDrives.count())) {
            delete request;
            return nullptr;
        }
        return request;
    });
}

namespace {
const ParserFactoryRegistration<LdDelParser> registration;
}  // namespace
