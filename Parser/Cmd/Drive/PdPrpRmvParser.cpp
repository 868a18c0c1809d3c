#include "Parser/Cmd/Drive/PdPrpRmvParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdPrpRmvParser::PdPrpRmvParser(int commandToken) : Parser(commandToken), undo(0)
{
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdPrpRmvParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdPrpRmvParser::onPhysDrv));
    addRule(TOKEN_UNDO, makeHandler(&PdPrpRmvParser::onUndo));
}

PdPrpRmvParser::~PdPrpRmvParser()
{
}

Parser* PdPrpRmvParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdPrpRmvParser(commandToken);
}

ArrayList<unsigned short>* PdPrpRmvParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDPRPRMV});
}

int PdPrpRmvParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int PdPrpRmvParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int PdPrpRmvParser::onUndo(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_UNDO, &undo);
}

ArrayList<ParsedObject*>* PdPrpRmvParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdPrpRmvParsedObject(TOKEN_PDPRPRMV, driveList.get(), undo, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdPrpRmvParser> registration;
}  // namespace
