#include "Parser/Cmd/Adapter/DpmStatParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

DpmStatParser::DpmStatParser(int commandToken) : LdObjectsParser(commandToken), operation(0), statType(0)
{
    addRule(TOKEN_DPMSTAT, makeHandler(&DpmStatParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&DpmStatParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&DpmStatParser::onPhysDrv));
    addRule(TOKEN_DISPLAY, makeHandler(&DpmStatParser::onOperation));
    addRule(TOKEN_CLEAR, makeHandler(&DpmStatParser::onOperation));
    addRule(TOKEN_DPM_LCT, makeHandler(&DpmStatParser::onStatType));
    addRule(TOKEN_DPM_HIST, makeHandler(&DpmStatParser::onStatType));
    addRule(TOKEN_RA, makeHandler(&DpmStatParser::onStatType));
    addRule(TOKEN_DPM_EXT, makeHandler(&DpmStatParser::onStatType));
}

Parser* DpmStatParser::create(unsigned short commandToken)
{
    return new (noThrowNew) DpmStatParser(commandToken);
}

ArrayList<unsigned short>* DpmStatParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_DPMSTAT});
}

int DpmStatParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_DPMSTAT});
}

int DpmStatParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    // One drive or none: a list of more drives is refused, not cut to its first.
    if (ParserUtil::takeDriveList(tokens, position, &driveList, true) != 0)
        return -1;
    return driveList.get()->count() > 1 ? -1 : 0;
}

int DpmStatParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int DpmStatParser::onOperation(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_DISPLAY, TOKEN_CLEAR});
    if (token == nullptr)
        return -1;
    operation = token->getId();
    return 0;
}

int DpmStatParser::onStatType(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_RA, TOKEN_DPM_LCT, TOKEN_DPM_HIST, TOKEN_DPM_EXT});
    if (token == nullptr)
        return -1;
    statType = token->getId();
    return 0;
}

ArrayList<ParsedObject*>* DpmStatParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        DpmStatParsedObject* request =
            new (noThrowNew) DpmStatParsedObject(getCommandToken(), driveList.get(), operation, adapter);
        if (request != nullptr)
            request->setStatType(statType);
        return request;
    });
}

namespace {

const ParserFactoryRegistration<DpmStatParser> registration;

}  // namespace
