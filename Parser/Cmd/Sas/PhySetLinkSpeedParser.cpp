#include "Parser/Cmd/Sas/PhySetLinkSpeedParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PhySetLinkSpeedParser::PhySetLinkSpeedParser(int commandToken)
    : Parser(commandToken), phyNumber(0), linkSpeed(0)
{
    addSyntaxWord(TOKEN_PHYSETLINKSPEED, "PhySetLinkSpeed");
    addSyntaxWord(TOKEN_PHY, "Phy");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_PHY, makeHandler(&PhySetLinkSpeedParser::onPhy));
    addRule(TOKEN_PHYSETLINKSPEED, makeHandler(&PhySetLinkSpeedParser::onCommandWord));
}

PhySetLinkSpeedParser::~PhySetLinkSpeedParser()
{
}

Parser* PhySetLinkSpeedParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PhySetLinkSpeedParser(commandToken);
}

ArrayList<unsigned short>* PhySetLinkSpeedParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PHYSETLINKSPEED});
}

int PhySetLinkSpeedParser::onPhy(ArrayList<Token*>* tokens, unsigned char position)
{
    int phy = 0;
    int speed = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_PHY, 0xFF, &phy) != 0 ||
        ParserUtil::takeNumber(tokens, position + 2, 0xFF, &speed) != 0)
        return -1;
    phyNumber = static_cast<unsigned char>(phy);
    linkSpeed = static_cast<unsigned char>(speed);
    return 0;
}

int PhySetLinkSpeedParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSETLINKSPEED});
}

ArrayList<ParsedObject*>* PhySetLinkSpeedParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpPhySetLinkSpeedParsedObject(TOKEN_PHYSETLINKSPEED, phyNumber, linkSpeed, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PhySetLinkSpeedParser> registration;
}  // namespace
