#include "Parser/Cmd/Adapter/AdAECParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <climits>

namespace {

// Where GET puts the captured data when no file is named.
const char* const DEFAULT_CAPTURE_FILE = "KWAEC.dat";

struct ActionWord {
    unsigned short token;
    unsigned char action;
};

// In the order the rules are added.
const ActionWord ACTION_WORDS[] = {
    {TOKEN_START, AdAECParser::ACTION_START},
    {TOKEN_STOP, AdAECParser::ACTION_STOP},
    {TOKEN_DISABLE, AdAECParser::ACTION_DISABLE},
    {TOKEN_CAPTURE_MODE, AdAECParser::ACTION_CAPTURE_MODE},
    {TOKEN_SHOW, AdAECParser::ACTION_SHOW},
    {TOKEN_GET, AdAECParser::ACTION_GET},
    {TOKEN_FILTER, AdAECParser::ACTION_FILTER},
    {TOKEN_CLEAR, AdAECParser::ACTION_CLEAR},
};

}  // namespace

AdAECParser::AdAECParser(int commandToken)
    : Parser(commandToken), action(0), numEvents(0), captureMode(MODE_CONTINUOUS), filterMask(0), group(0),
      fileGiven(0)
{
    addRule(TOKEN_ADPAEC, makeHandler(&AdAECParser::onCommandWord));
    for (const ActionWord& word : ACTION_WORDS)
        addRule(word.token, makeHandler(&AdAECParser::onAction));
    addRule(TOKEN_FILE, makeFunctionHandler(&ParserUtil::onFileOption));
}

Parser* AdAECParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdAECParser(commandToken);
}

ArrayList<unsigned short>* AdAECParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPAEC});
}

int AdAECParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_ADPAEC}) != 0)
        return -1;
    commandToken = TOKEN_ADPAEC;
    return 0;
}

int AdAECParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    const ActionWord* word = nullptr;
    for (const ActionWord& candidate : ACTION_WORDS) {
        if (token != nullptr && token->getId() == candidate.token)
            word = &candidate;
    }
    if (word == nullptr)
        return -1;
    token->setConsumed(1);
    action = word->action;

    switch (action) {
    case ACTION_START:
        return onStart(tokens, position);
    case ACTION_CAPTURE_MODE:
        return onCaptureMode(tokens, position);
    case ACTION_FILTER:
    case ACTION_CLEAR:
        return onFilterOrClear(tokens, position);
    case ACTION_GET: {
        Token* next = ParserUtil::tokenAt(tokens, position + 1);
        if (next == nullptr)
            return -1;
        // The name itself is taken by the file rule.
        if (next->getId() == TOKEN_FILE)
            fileGiven = 1;
        return 0;
    }
    default:
        return 0;
    }
}

// START [NUMEVENTS n]: the adapter choice follows at once, or the number of events.
int AdAECParser::onStart(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    if (next->getId() == TOKEN_ADAPTER || next->getId() == TOKEN_ALL_ADAPTER)
        return 0;
    if (next->getId() != TOKEN_NUM_EVENTS)
        return -1;
    next->setConsumed(1);
    return ParserUtil::takeNumber(tokens, position + 2, INT_MAX, &numEvents);
}

int AdAECParser::onCaptureMode(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* mode = ParserUtil::takeWord(tokens, position + 1, {TOKEN_FULL, TOKEN_CONTINUOUS});
    if (mode == nullptr)
        return -1;
    captureMode = mode->getId() == TOKEN_FULL ? MODE_FULL : MODE_CONTINUOUS;
    return 0;
}

// FILTER n GROUP g or CLEAR n GROUP g.
int AdAECParser::onFilterOrClear(ArrayList<Token*>* tokens, unsigned char position)
{
    int groupNumber = 0;
    if (ParserUtil::takeNumber(tokens, position + 1, INT_MAX, &filterMask) != 0 ||
        ParserUtil::takeNumberAfterWord(tokens, position + 2, TOKEN_GROUP, 0xFF, &groupNumber) != 0)
        return -1;
    group = static_cast<unsigned char>(groupNumber);
    return 0;
}

ArrayList<ParsedObject*>* AdAECParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    string fileName = fileGiven ? ParserUtil::getFileName() : string(DEFAULT_CAPTURE_FILE);
    return makeRequestsPerAdapter([this, &fileName](unsigned char adapter) -> ParsedObject* {
        unsigned int events = static_cast<unsigned int>(numEvents);
        unsigned int filter = static_cast<unsigned int>(filterMask);
        return new (noThrowNew)
            AdAECPo(getCommandToken(), action, events, captureMode, filter, group, fileName, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdAECParser> registration;

}  // namespace
