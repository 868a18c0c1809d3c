#include "Parser/Cmd/Adapter/AdpBbuParser.h"

#include "Output/VoMessage.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/TextScan.h"

#include <climits>
#include <cstring>
#include <strings.h>

namespace {

struct SubCommand {
    unsigned short word;
    unsigned char action;
};

const SubCommand SUB_COMMANDS[] = {
    {TOKEN_GETBBUSTATUS, 1},     {TOKEN_GETBBUCAPACITYINFO, 2}, {TOKEN_GETBBUDESIGNINFO, 3},
    {TOKEN_BBULEARN, 4},         {TOKEN_GETBBUPROPERTIES, 5},   {TOKEN_SETBBUPROPERTIES, 6},
    {TOKEN_BBUMFGSLEEP, 7},      {TOKEN_BBUMFGSEAL, 8},         {TOKEN_GETGGEEPDATA, 9},
    {TOKEN_GETBBUMODES, 11},     {TOKEN_SCHEDULELEARN, 12},
};

// A day's code is its index, Sunday first, as the C library counts weekdays.
const char* const DAY_NAMES[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

// The most hexadecimal digits of a 32-bit offset, leading zeroes aside.
const int OFFSET_DIGITS = 8;

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// True when the text is one hexadecimal number of at most 32 bits: blanks, an optional "0x",
// then nothing but hexadecimal digits.
bool isHexOffset(const char* text)
{
    const char* p = text;
    while (*p == ' ')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    if (*p == '\0')
        return false;
    while (*p == '0' && isHexDigit(p[1]))
        ++p;
    int digits = 0;
    for (; *p != '\0'; ++p, ++digits) {
        if (!isHexDigit(*p))
            return false;
    }
    return digits <= OFFSET_DIGITS;
}

int dayCode(const char* name)
{
    for (unsigned int i = 0; i < sizeof DAY_NAMES / sizeof DAY_NAMES[0]; ++i) {
        if (strcasecmp(name, DAY_NAMES[i]) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

AdpBbuParser::AdpBbuParser(int commandToken)
    : Parser(commandToken), action(0), scheduleAction(0), learnDay(NOT_GIVEN), offset(0), byteCount(0)
{
    std::memset(learnSchedule, 0, sizeof learnSchedule);
    learnSchedule[0] = 0xFF;
    learnSchedule[1] = 0xFF;
    learnSchedule[AdpBbuPo::LEARN_SCHEDULE_HOUR] = NOT_GIVEN;
    for (const SubCommand& subCommand : SUB_COMMANDS)
        addRule(static_cast<short>(subCommand.word), makeHandler(&AdpBbuParser::onSubCommand));
    addRule(TOKEN_DISABLE, makeHandler(&AdpBbuParser::onScheduleLearnOption));
    addRule(TOKEN_PRINFO, makeHandler(&AdpBbuParser::onScheduleLearnOption));
    addRule(TOKEN_STARTTIME, makeHandler(&AdpBbuParser::onScheduleLearnOption));
    addRule(TOKEN_OFFSET, makeHandler(&AdpBbuParser::onOffset));
    addRule(TOKEN_NUMBYTES, makeHandler(&AdpBbuParser::onNumBytes));
    addRule(TOKEN_FILE, makeHandler(&AdpBbuParser::onFileOption));
}

Parser* AdpBbuParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpBbuParser(commandToken);
}

ArrayList<unsigned short>* AdpBbuParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPBBUCMD});
}

int AdpBbuParser::onSubCommand(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    const SubCommand* found = nullptr;
    for (const SubCommand& subCommand : SUB_COMMANDS) {
        if (token != nullptr && subCommand.word == token->getId())
            found = &subCommand;
    }
    if (found == nullptr)
        return -1;
    token->setConsumed(1);
    action = found->action;

    if (found->word == TOKEN_SCHEDULELEARN)
        return onScheduleLearnOption(tokens, static_cast<unsigned char>(position + 1));
    if (found->word != TOKEN_GETGGEEPDATA)
        return 0;
    // A wrong offset or count refuses the command: a read at another address than the one
    // typed would show the wrong data as if it were the right one.
    int next = position + 1;
    Token* option = ParserUtil::tokenAt(tokens, next);
    if (option != nullptr && option->getId() == TOKEN_OFFSET) {
        if (onOffset(tokens, static_cast<unsigned char>(next)) != 0)
            return -1;
        next += 2;
    }
    return next < tokens->count() ? onNumBytes(tokens, static_cast<unsigned char>(next)) : 0;
}

int AdpBbuParser::onScheduleLearnOption(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_DISABLE, TOKEN_PRINFO, TOKEN_STARTTIME});
    if (word == nullptr)
        return -1;
    if (word->getId() == TOKEN_DISABLE) {
        scheduleAction = SCHEDULE_DISABLE;
        return 0;
    }
    if (word->getId() == TOKEN_PRINFO) {
        scheduleAction = SCHEDULE_INFO;
        return 0;
    }
    scheduleAction = SCHEDULE_START_TIME;

    Token* day = ParserUtil::tokenAt(tokens, position + 1);
    string name;
    if (day == nullptr || day->getId() != TOKEN_ALPHANUM_CONSTANT || !ParserUtil::getText(day, &name))
        return -1;
    day->setConsumed(1);
    int code = dayCode(name.c_str());
    if (code < 0) {
        printMessage(MSG_TEXT, "Invalid Day! Check help File.\n");
        return -1;
    }
    learnDay = static_cast<unsigned char>(code);

    int hour = 0;
    if (ParserUtil::takeNumber(tokens, position + 2, INT_MAX, &hour) != 0)
        return -1;
    if (hour > ParserUtil::LAST_HOUR) {
        printMessage(MSG_TEXT, "Invalid Hour!\n");
        return -1;
    }
    learnSchedule[AdpBbuPo::LEARN_SCHEDULE_HOUR] = static_cast<unsigned char>(hour);
    // The adapter choice must still follow.
    return position + 3 < tokens->count() ? 0 : -1;
}

int AdpBbuParser::onOffset(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    if (word == nullptr || word->getId() != TOKEN_OFFSET)
        return 0;
    string text;
    if (ParserUtil::takeTextAfterWord(tokens, position, TOKEN_OFFSET, &text) != 0 || !isHexOffset(text.c_str()))
        return -1;
    offset = static_cast<unsigned int>(parseHex(text.c_str()));
    return 0;
}

int AdpBbuParser::onNumBytes(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    if (word == nullptr || word->getId() != TOKEN_NUMBYTES)
        return 0;
    int count = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_NUMBYTES, INT_MAX, &count) != 0)
        return -1;
    byteCount = static_cast<unsigned int>(count);
    return 0;
}

int AdpBbuParser::onFileOption(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_FILE, &fileName);
}

ArrayList<ParsedObject*>* AdpBbuParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    if (action == 0)
        action = ACTION_ALL_INFO;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpBbuPo(getCommandToken(), fileName, action, offset, byteCount, adapter,
                                         scheduleAction, learnSchedule, learnDay);
    });
}

namespace {

const ParserFactoryRegistration<AdpBbuParser> registration;

}  // namespace
