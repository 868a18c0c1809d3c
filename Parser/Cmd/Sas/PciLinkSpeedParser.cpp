#include "Parser/Cmd/Sas/PciLinkSpeedParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

PciLinkSpeedParser::PciLinkSpeedParser(int commandToken) : Parser(commandToken), linkSpeed(0)
{
    addRule(TOKEN_PCISETLINKSPEED, makeHandler(&PciLinkSpeedParser::onCommandWord));
}

Parser* PciLinkSpeedParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PciLinkSpeedParser(commandToken);
}

ArrayList<unsigned short>* PciLinkSpeedParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PCISETLINKSPEED});
}

int PciLinkSpeedParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    int speed = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_PCISETLINKSPEED, 0xFF, &speed) != 0)
        return -1;
    linkSpeed = static_cast<unsigned char>(speed);
    return 0;
}

ArrayList<ParsedObject*>* PciLinkSpeedParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned char speed = linkSpeed;
    return makeRequestsPerAdapter([speed](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PciLinkSpeedParsedObject(TOKEN_PCISETLINKSPEED, speed, adapter);
    });
}

namespace {

const ParserFactoryRegistration<PciLinkSpeedParser> registration;

}  // namespace
