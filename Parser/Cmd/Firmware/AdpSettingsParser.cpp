#include "Parser/Cmd/Firmware/AdpSettingsParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

AdpSettingsParser::AdpSettingsParser(int commandToken) : Parser(commandToken), direction(DIRECTION_READ)
{
    addRule(TOKEN_ADPSTGREAD, makeHandler(&AdpSettingsParser::onDirection));
    addRule(TOKEN_ADPSTGWRITE, makeHandler(&AdpSettingsParser::onDirection));
    addRule(TOKEN_FILE, makeFunctionHandler(&ParserUtil::onFileOption));
}

Parser* AdpSettingsParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpSettingsParser(commandToken);
}

ArrayList<unsigned short>* AdpSettingsParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPSETTINGS});
}

int AdpSettingsParser::onDirection(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_ADPSTGREAD, TOKEN_ADPSTGWRITE});
    if (token == nullptr)
        return -1;
    direction = token->getId() == TOKEN_ADPSTGREAD ? DIRECTION_READ : DIRECTION_WRITE;
    return 0;
}

ArrayList<ParsedObject*>* AdpSettingsParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    string fileName = ParserUtil::getFileName();
    return makeRequestsPerAdapter([this, &fileName](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpSettingsPo(getCommandToken(), fileName, direction, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpSettingsParser> registration;

}  // namespace
