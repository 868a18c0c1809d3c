#include "Parser/Cmd/VirtualDrive/LdExpansionParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdExpansionParser::LdExpansionParser(int commandToken)
    : LdObjectsParser(commandToken), percentage(0), dontExpandArray(0)
{
    addSyntaxWord(TOKEN_LDEXPANSION, "LDExpansion");
    addSyntaxWord(TOKEN_PERCENTAGE, "P");
    addSyntaxWord(TOKEN_LOGICAL_DRIVE, "L");
    addSyntaxWord(TOKEN_ALL_LOGICAL_DRIVE, "LAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_LDEXPANSION, makeHandler(&LdExpansionParser::onCommandWord));
}

LdExpansionParser::~LdExpansionParser()
{
}

Parser* LdExpansionParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdExpansionParser(commandToken);
}

ArrayList<unsigned short>* LdExpansionParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDEXPANSION});
}

int LdExpansionParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (ParserUtil::takeWord(tokens, position, {TOKEN_LDEXPANSION}) == nullptr ||
        ParserUtil::takeNumberAfterWord(tokens, position + 1, TOKEN_PERCENTAGE, 0xFF, &value) != 0)
        return -1;
    percentage = static_cast<unsigned char>(value);
    // Something must follow the percentage; only -dontExpandArray is taken here.
    if (ParserUtil::tokenAt(tokens, position + 3) == nullptr)
        return -1;
    if (ParserUtil::takeWord(tokens, position + 3, {TOKEN_DONTEXPANDARRAY}) != nullptr)
        dontExpandArray = 1;
    return 0;
}

ArrayList<ParsedObject*>* LdExpansionParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            LdExpansionParsedObject(getCommandToken(), percentage, dontExpandArray, &logicalDrives, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdExpansionParser> registration;
}  // namespace
