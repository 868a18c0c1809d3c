#include "Parser/Cmd/Adapter/PerfMonParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

PerfMonParser::PerfMonParser(int commandToken) : Parser(commandToken), action(ACTION_START), interval(0)
{
    addRule(TOKEN_FILE, makeFunctionHandler(&ParserUtil::onFileOption));
    for (unsigned short word : {TOKEN_START, TOKEN_STOP, TOKEN_GET_RESULTS, TOKEN_INTERVAL, TOKEN_FORMAT})
        addRule(word, makeHandler(&PerfMonParser::onAction));
}

Parser* PerfMonParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PerfMonParser(commandToken);
}

ArrayList<unsigned short>* PerfMonParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PERFMON});
}

int PerfMonParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position,
                                            {TOKEN_START, TOKEN_STOP, TOKEN_GET_RESULTS, TOKEN_INTERVAL, TOKEN_FORMAT});
    if (token == nullptr)
        return -1;
    switch (token->getId()) {
    case TOKEN_START:
        action = ACTION_START;
        return 0;
    case TOKEN_STOP:
        action = ACTION_STOP;
        return 0;
    case TOKEN_GET_RESULTS:
        action = ACTION_GET_RESULTS;
        return 0;
    case TOKEN_INTERVAL: {
        int minutes = 0;
        if (ParserUtil::takeNumber(tokens, position + 1, LONGEST_INTERVAL, &minutes) != 0 || minutes == 0)
            return -1;
        interval = static_cast<unsigned short>(minutes);
        return 0;
    }
    default:  // FORMAT
        if (ParserUtil::acceptWord(tokens, position + 1, {TOKEN_CSV}) != 0)
            return -1;
        interval = CSV_FORMAT;
        return 0;
    }
}

ArrayList<ParsedObject*>* PerfMonParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    string fileName = ParserUtil::getFileName();
    return makeRequestsPerAdapter([this, &fileName](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PerfMonParsedObject(getCommandToken(), action, interval, fileName, adapter);
    });
}

namespace {

const ParserFactoryRegistration<PerfMonParser> registration;

}  // namespace
