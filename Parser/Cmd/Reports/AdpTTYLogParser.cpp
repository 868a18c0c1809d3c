#include "Parser/Cmd/Reports/AdpTTYLogParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

namespace {

struct TermLogOption {
    unsigned short word;
    unsigned char action;
};

const TermLogOption OPTIONS[] = {
    {TOKEN_CLEAR, AdpTTYLogParser::ACTION_CLEAR},
    {TOKEN_BBUON, AdpTTYLogParser::ACTION_BBU_ON},
    {TOKEN_BBUOFF, AdpTTYLogParser::ACTION_BBU_OFF},
    {TOKEN_BBUGET, AdpTTYLogParser::ACTION_BBU_GET},
    {TOKEN_BBUOFF_TEMP, AdpTTYLogParser::ACTION_BBU_OFF_TEMP},
};

}  // namespace

AdpTTYLogParser::AdpTTYLogParser(int commandToken) : Parser(commandToken), action(ACTION_NONE)
{
    for (const TermLogOption& option : OPTIONS)
        addRule(static_cast<short>(option.word), makeHandler(&AdpTTYLogParser::onTermLogOption));
    addRule(TOKEN_DISPLAY, makeHandler(&AdpTTYLogParser::onDisplay));
}

Parser* AdpTTYLogParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpTTYLogParser(commandToken);
}

ArrayList<unsigned short>* AdpTTYLogParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPTERMLOG});
}

int AdpTTYLogParser::onTermLogOption(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr)
        return -1;
    for (const TermLogOption& option : OPTIONS) {
        if (option.word == token->getId()) {
            token->setConsumed(1);
            action = option.action;
            return 0;
        }
    }
    return -1;
}

int AdpTTYLogParser::onDisplay(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_DISPLAY, &action, ACTION_DISPLAY);
}

ArrayList<ParsedObject*>* AdpTTYLogParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || action == ACTION_NONE)
        return nullptr;
    unsigned short token = getCommandToken();
    unsigned char chosen = action;
    return makeRequestsPerAdapter([token, chosen](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpTTYLogPo(token, chosen, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpTTYLogParser> registration;

}  // namespace
