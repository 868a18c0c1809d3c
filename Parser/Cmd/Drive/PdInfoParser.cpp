#include "Parser/Cmd/Drive/PdInfoParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"

PdInfoParser::PdInfoParser(int commandToken) : Parser(commandToken)
{
    addRule(TOKEN_PDINFO, makeHandler(&PdInfoParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdInfoParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdInfoParser::onPhysDrv));
}

Parser* PdInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdInfoParser(commandToken);
}

ArrayList<unsigned short>* PdInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDINFO});
}

int PdInfoParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PDINFO});
}

int PdInfoParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int PdInfoParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* PdInfoParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    ArrayList<EnclSlotId*>* drives = driveList.get();
    return makeRequestsPerAdapter([drives](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdInfoParsedObject(TOKEN_PDINFO, drives, adapter);
    });
}

namespace {

const ParserFactoryRegistration<PdInfoParser> registration;

}  // namespace
