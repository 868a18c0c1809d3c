#include "Parser/Cmd/Adapter/AdpBootDriveParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

AdpBootDriveParser::AdpBootDriveParser(int commandToken) : LdObjectsParser(commandToken), action(0)
{
    addRule(TOKEN_ADPBOOTDRV, makeHandler(&AdpBootDriveParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&AdpBootDriveParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&AdpBootDriveParser::onPhysDrv));
    addRule(TOKEN_SET, makeHandler(&AdpBootDriveParser::onAction));
    addRule(TOKEN_UNSET, makeHandler(&AdpBootDriveParser::onAction));
    addRule(TOKEN_GET, makeHandler(&AdpBootDriveParser::onAction));
}

Parser* AdpBootDriveParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpBootDriveParser(commandToken);
}

ArrayList<unsigned short>* AdpBootDriveParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPBOOTDRV});
}

int AdpBootDriveParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPBOOTDRV});
}

int AdpBootDriveParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_SET, TOKEN_UNSET, TOKEN_GET});
    if (token == nullptr)
        return -1;
    action = token->getId();
    return 0;
}

int AdpBootDriveParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int AdpBootDriveParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeDriveList(tokens, position, &driveList, true) != 0)
        return -1;
    return driveList.get()->count() == 1 ? 0 : -1;
}

ArrayList<ParsedObject*>* AdpBootDriveParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || action == 0)
        return nullptr;
    // The grammar admits one logical-drive number; a list of them would name no single drive.
    if (logicalDrives.count() > 1)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        AdpBootDriveParsedObject* request =
            new (noThrowNew) AdpBootDriveParsedObject(getCommandToken(), driveList.get(), action, adapter);
        if (request != nullptr && logicalDrives.count() > 0)
            request->setLd(logicalDrives.get(0));
        return request;
    });
}

namespace {

const ParserFactoryRegistration<AdpBootDriveParser> registration;

}  // namespace
