#include "Parser/Cmd/Adapter/AdpTimeParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <climits>

namespace {

const unsigned short YEAR_NOT_GIVEN = 0xFFFF;
const unsigned char HOUR_NOT_GIVEN = 0xFF;
const int LAST_MINUTE = 59;
const int LAST_SECOND = 59;

}  // namespace

AdpTimeParser::AdpTimeParser(int commandToken) : Parser(commandToken), commandWord(0)
{
    dateTime.year = YEAR_NOT_GIVEN;
    dateTime.month = 0;
    dateTime.day = 0;
    dateTime.hour = HOUR_NOT_GIVEN;
    dateTime.minute = 0;
    dateTime.second = 0;
    addRule(TOKEN_SETTIME, makeHandler(&AdpTimeParser::onCommandWord));
    addRule(TOKEN_GETTIME, makeHandler(&AdpTimeParser::onCommandWord));
}

Parser* AdpTimeParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpTimeParser(commandToken);
}

ArrayList<unsigned short>* AdpTimeParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_SETTIME, TOKEN_GETTIME});
}

int AdpTimeParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_SETTIME, TOKEN_GETTIME});
    if (word == nullptr)
        return -1;
    commandWord = word->getId();
    if (commandWord == TOKEN_GETTIME)
        return 0;
    int next = position + 1;
    if (readGroup(tokens, next, &next) != 0 || readGroup(tokens, next, &next) != 0)
        return -1;
    return dateTime.year != YEAR_NOT_GIVEN && dateTime.hour != HOUR_NOT_GIVEN ? 0 : -1;
}

int AdpTimeParser::readGroup(ArrayList<Token*>* tokens, int position, int* next)
{
    int value = 0;
    if (ParserUtil::takeNumber(tokens, position, INT_MAX, &value) != 0)
        return -1;
    if (value > ParserUtil::LAST_HOUR) {
        unsigned int year = 0;
        unsigned int month = 0;
        unsigned int day = 0;
        // A year beyond four digits would not even fit the clock's 16-bit field.
        if (dateTime.year != YEAR_NOT_GIVEN || !ParserUtil::readDate(value, &year, &month, &day) ||
            year < FIRST_YEAR || year > LAST_YEAR)
            return -1;
        dateTime.year = static_cast<unsigned short>(year);
        dateTime.month = static_cast<unsigned char>(month);
        dateTime.day = static_cast<unsigned char>(day);
        *next = position + 1;
        return 0;
    }
    int minute = 0;
    int second = 0;
    if (dateTime.hour != HOUR_NOT_GIVEN || ParserUtil::takeNumber(tokens, position + 1, LAST_MINUTE, &minute) != 0 ||
        ParserUtil::takeNumber(tokens, position + 2, LAST_SECOND, &second) != 0)
        return -1;
    dateTime.hour = static_cast<unsigned char>(value);
    dateTime.minute = static_cast<unsigned char>(minute);
    dateTime.second = static_cast<unsigned char>(second);
    *next = position + 3;
    return 0;
}

ArrayList<ParsedObject*>* AdpTimeParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || commandWord == 0)
        return nullptr;
    // A request to read the clock carries no time at all.
    const AdpDateTime* given = commandWord == TOKEN_SETTIME ? &dateTime : nullptr;
    return makeRequestsPerAdapter([this, given](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpTimeParsedObject(commandWord, given, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpTimeParser> registration;

}  // namespace
