#include "Parser/Cmd/Sas/PhyErrorCtParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PhyErrorCtParser::PhyErrorCtParser(int commandToken) : Parser(commandToken)
{
    addSyntaxWord(TOKEN_PHYERRORCOUNTERS, "PhyErrorCount");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_PHYERRORCOUNTERS, makeHandler(&PhyErrorCtParser::onCommandWord));
}

PhyErrorCtParser::~PhyErrorCtParser()
{
}

Parser* PhyErrorCtParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PhyErrorCtParser(commandToken);
}

ArrayList<unsigned short>* PhyErrorCtParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PHYERRORCOUNTERS});
}

int PhyErrorCtParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYERRORCOUNTERS});
}

ArrayList<ParsedObject*>* PhyErrorCtParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PhyErrCtParsedObject(TOKEN_PHYERRORCOUNTERS, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PhyErrorCtParser> registration;
}  // namespace
