#include "Parser/Cmd/Drive/PdMakeSystemParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdMakeSystemParser::PdMakeSystemParser(int commandToken) : Parser(commandToken), force(0)
{
    addSyntaxWord(TOKEN_PDMAKESYSTEM, "PDMAKESYSTEM");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addSyntaxWord(TOKEN_PHYSDRV, "PhysDrv");
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdMakeSystemParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdMakeSystemParser::onPhysDrv));
}

PdMakeSystemParser::~PdMakeSystemParser()
{
}

Parser* PdMakeSystemParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdMakeSystemParser(commandToken);
}

ArrayList<unsigned short>* PdMakeSystemParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDMAKESYSTEM});
}

int PdMakeSystemParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, false);
}

int PdMakeSystemParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* PdMakeSystemParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdOffLineParsedObject(getCommandToken(), driveList.get(), force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdMakeSystemParser> registration;
}  // namespace
