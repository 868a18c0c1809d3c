#include "Parser/Cmd/Sas/PhyInfoParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

PhyInfoParser::PhyInfoParser(int commandToken) : Parser(commandToken), phyNumber(0), phyGiven(false)
{
    addRule(TOKEN_PHY, makeHandler(&PhyInfoParser::onPhy));
    addRule(TOKEN_PHYINFO, makeHandler(&PhyInfoParser::onCommandWord));
}

Parser* PhyInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PhyInfoParser(commandToken);
}

ArrayList<unsigned short>* PhyInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PHYINFO});
}

int PhyInfoParser::onPhy(ArrayList<Token*>* tokens, unsigned char position)
{
    int number = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_PHY, 0xFF, &number) != 0)
        return -1;
    phyNumber = static_cast<unsigned char>(number);
    phyGiven = true;
    return 0;
}

int PhyInfoParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYINFO});
}

ArrayList<ParsedObject*>* PhyInfoParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || !phyGiven)
        return nullptr;
    unsigned char phy = phyNumber;
    return makeRequestsPerAdapter([phy](unsigned char adapter) -> ParsedObject* {
        // The phy information always runs as its own command, whatever word selected the parser.
        return new (noThrowNew) AdpPhyInfoParsedObject(TOKEN_PHYINFO, phy, adapter);
    });
}

namespace {

const ParserFactoryRegistration<PhyInfoParser> registration;

}  // namespace
