#include "Parser/Cmd/Drive/PdOffLnParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdOffLnParser::PdOffLnParser() : Parser(0xFFFF)
{
    addRule(TOKEN_PDOFFLINE, makeHandler(&PdOffLnParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdOffLnParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdOffLnParser::onPhysDrv));
}

PdOffLnParser::~PdOffLnParser()
{
}

Parser* PdOffLnParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) PdOffLnParser();
}

ArrayList<unsigned short>* PdOffLnParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDOFFLINE});
}

int PdOffLnParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PDOFFLINE});
}

int PdOffLnParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int PdOffLnParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* PdOffLnParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    ArrayList<EnclSlotId*>* drives = driveList.get();
    // Offline has no force option.
    return makeRequestsPerAdapter([drives](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdOffLineParsedObject(TOKEN_PDOFFLINE, drives, 0, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdOffLnParser> registration;
}  // namespace
