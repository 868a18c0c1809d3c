#include "Parser/Cmd/Drive/PdMakeGoodParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdMakeGoodParser::PdMakeGoodParser(int commandToken) : Parser(commandToken), force(0)
{
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdMakeGoodParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdMakeGoodParser::onPhysDrv));
    addRule(TOKEN_FORCE, makeHandler(&PdMakeGoodParser::onForce));
}

PdMakeGoodParser::~PdMakeGoodParser()
{
}

Parser* PdMakeGoodParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdMakeGoodParser(commandToken);
}

ArrayList<unsigned short>* PdMakeGoodParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDMAKEGOOD});
}

int PdMakeGoodParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int PdMakeGoodParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int PdMakeGoodParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* PdMakeGoodParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdOffLineParsedObject(getCommandToken(), driveList.get(), force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdMakeGoodParser> registration;
}  // namespace
