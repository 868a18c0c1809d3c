#include "Parser/Cmd/Adapter/AdpCCSchedParser.h"

#include "Output/VoMessage.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <climits>

#include <cstring>

AdpCCSchedParser::AdpCCSchedParser(int commandToken)
    : LdObjectsParser(commandToken), action(ACTION_NONE), mode(MODE_NONE), delay(-1)
{
    std::memset(&startTime, 0, sizeof startTime);
    addRule(TOKEN_CC_SCHEDULING, makeHandler(&AdpCCSchedParser::onCommandWord));
    addRule(TOKEN_MODESEQ, makeHandler(&AdpCCSchedParser::onMode));
    addRule(TOKEN_MODECONC, makeHandler(&AdpCCSchedParser::onMode));
    addRule(TOKEN_START_TIME, makeHandler(&AdpCCSchedParser::onStartTime));
    addRule(TOKEN_PRSETDELAY, makeHandler(&AdpCCSchedParser::onDelay));
    addRule(TOKEN_EXCLUDE_LD, makeHandler(&AdpCCSchedParser::onExcludeLd));
}

Parser* AdpCCSchedParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpCCSchedParser(commandToken);
}

ArrayList<unsigned short>* AdpCCSchedParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_CC_SCHEDULING});
}

int AdpCCSchedParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_CC_SCHEDULING}) != 0)
        return -1;
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    if (next->getId() == TOKEN_PRINFO) {
        next->setConsumed(1);
        action = ACTION_SHOW;
    } else if (next->getId() == TOKEN_DISABLE) {
        next->setConsumed(1);
        action = ACTION_MODE;
        mode = MODE_DISABLED;
    }
    // Any other word is left for its own rule.
    return 0;
}

int AdpCCSchedParser::onMode(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_MODESEQ, TOKEN_MODECONC});
    if (token == nullptr)
        return -1;
    action = ACTION_MODE;
    mode = token->getId() == TOKEN_MODESEQ ? MODE_SEQUENTIAL : MODE_CONCURRENT;
    return 0;
}

int AdpCCSchedParser::onStartTime(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_START_TIME}) != 0)
        return -1;
    // After a mode word the request stays a mode request that also carries the time.
    if (action == ACTION_NONE)
        action = ACTION_START_TIME;

    return ParserUtil::takeStartTime(tokens, position + 1, &startTime);
}

int AdpCCSchedParser::onDelay(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_PRSETDELAY}) != 0)
        return -1;
    if (action == ACTION_NONE)
        action = ACTION_DELAY;
    if (ParserUtil::takeNumber(tokens, position + 1, INT_MAX, &delay) != 0)
        return -1;
    if (static_cast<unsigned int>(delay) > LONGEST_DELAY) {
        printMessage(MSG_TEXT, "Invalid Delay Value \n");
        return -1;
    }
    return 0;
}

int AdpCCSchedParser::onExcludeLd(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_EXCLUDE_LD});
}

ArrayList<ParsedObject*>* AdpCCSchedParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    // The request takes the time only when one was given, and the drives only when any were.
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            AdpCCSchedParsedObject(getCommandToken(), action, mode, delay, &startTime, &logicalDrives, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpCCSchedParser> registration;

}  // namespace
