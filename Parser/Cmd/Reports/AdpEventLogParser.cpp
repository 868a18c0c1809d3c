#include "Parser/Cmd/Reports/AdpEventLogParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

namespace {

// An action word sets the action; a class word adds its bit to the class filter.
struct EventLogWord {
    unsigned short word;
    unsigned char action;    // ACTION_NONE for a class word
    unsigned char classBit;  // 0 for an action word
};

const EventLogWord WORDS[] = {
    {TOKEN_CLEAR, AdpEventLogParser::ACTION_CLEAR, 0},
    {TOKEN_GETSINCEREBOOT, AdpEventLogParser::ACTION_SINCE_REBOOT, 0},
    {TOKEN_GETSINCESHUTDOWN, AdpEventLogParser::ACTION_SINCE_SHUTDOWN, 0},
    {TOKEN_GETEVENTLOGINFO, AdpEventLogParser::ACTION_LOG_INFO, 0},
    {TOKEN_GETEVENTS, AdpEventLogParser::ACTION_EVENTS, 0},
    {TOKEN_INCLUDEDELETED, AdpEventLogParser::ACTION_INCLUDE_DELETED, 0},
    {TOKEN_GETLATEST, AdpEventLogParser::ACTION_LATEST, 0},
    {TOKEN_GETCCINCON, AdpEventLogParser::ACTION_CC_INCONSISTENCIES, 0},
    {TOKEN_PRINFO, AdpEventLogParser::ACTION_NONE, 0x08},
    {TOKEN_EVENT_WARNING, AdpEventLogParser::ACTION_NONE, 0x10},
    {TOKEN_EVENT_CRITICAL, AdpEventLogParser::ACTION_NONE, 0x20},
    {TOKEN_EVENT_FATAL, AdpEventLogParser::ACTION_NONE, 0x40},
};

const int LARGEST_LATEST_COUNT = 0xFFFF;

}  // namespace

AdpEventLogParser::AdpEventLogParser(int commandToken)
    : LdObjectsParser(commandToken), action(ACTION_NONE), classFilter(0), latestCount(0)
{
    for (const EventLogWord& word : WORDS)
        addRule(static_cast<short>(word.word), makeHandler(&AdpEventLogParser::onEventLogOption));
    addRule(TOKEN_FILE, makeHandler(&AdpEventLogParser::onFileOption));
}

Parser* AdpEventLogParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpEventLogParser(commandToken);
}

ArrayList<unsigned short>* AdpEventLogParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPEVENTLOG});
}

int AdpEventLogParser::onEventLogOption(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    const EventLogWord* found = nullptr;
    for (const EventLogWord& word : WORDS) {
        if (token != nullptr && word.word == token->getId())
            found = &word;
    }
    if (found == nullptr)
        return -1;
    token->setConsumed(1);
    if (found->action == ACTION_NONE) {
        classFilter = static_cast<unsigned char>(classFilter | found->classBit);
        return 0;
    }
    action = found->action;
    if (action != ACTION_LATEST)
        return 0;
    int count = 0;
    if (ParserUtil::takeNumber(tokens, position + 1, LARGEST_LATEST_COUNT, &count) != 0)
        return -1;
    latestCount = static_cast<unsigned short>(count);
    return 0;
}

int AdpEventLogParser::onFileOption(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_FILE, &fileName);
}

ArrayList<ParsedObject*>* AdpEventLogParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || action == ACTION_NONE)
        return nullptr;
    const ArrayList<unsigned char>* drives = logicalDrives.count() > 0 ? &logicalDrives : nullptr;
    unsigned char following = 0;
    return makeRequestsPerAdapter([this, drives, &following](unsigned char adapter) -> ParsedObject* {
        // The first adapter's request starts the output file, every later one appends to it.
        ParsedObject* request = new (noThrowNew) AdpEventLogPo(getCommandToken(), fileName, action, classFilter,
                                                               latestCount, drives, following, adapter);
        following = 1;
        return request;
    });
}

namespace {

const ParserFactoryRegistration<AdpEventLogParser> registration;

}  // namespace
