#include "Parser/Cmd/Adapter/AdpPrParser.h"

#include "Output/VoMessage.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <climits>
#include <cstring>

namespace {

// What follows each action word.
enum class Operand { None, Number, StartTime };

struct PatrolReadAction {
    unsigned short word;
    Operand operand;
};

const PatrolReadAction ACTIONS[] = {
    {TOKEN_PRENABLEAUTO, Operand::None},    {TOKEN_PRENABLEMANUAL, Operand::None},
    {TOKEN_DISABLE, Operand::None},         {TOKEN_START, Operand::None},
    {TOKEN_STOP, Operand::None},            {TOKEN_SUSPEND, Operand::None},
    {TOKEN_RESUME, Operand::None},          {TOKEN_PRINFO, Operand::None},
    {TOKEN_PR_SSD_ENABLE, Operand::None},   {TOKEN_PR_SSD_DISABLE, Operand::None},
    {TOKEN_PRSETDELAY, Operand::Number},    {TOKEN_MAXCONCURRENT_PD, Operand::Number},
    {TOKEN_START_TIME, Operand::StartTime},
};

const PatrolReadAction* findAction(unsigned short word)
{
    for (const PatrolReadAction& action : ACTIONS) {
        if (action.word == word)
            return &action;
    }
    return nullptr;
}

}  // namespace

AdpPrParser::AdpPrParser(int commandToken) : Parser(commandToken), action(0), value(NO_VALUE)
{
    std::memset(&startTime, 0, sizeof startTime);
    addRule(TOKEN_ADPPR, makeHandler(&AdpPrParser::onCommandWord));
}

Parser* AdpPrParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpPrParser(commandToken);
}

ArrayList<unsigned short>* AdpPrParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPPR});
}

int AdpPrParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_ADPPR}) != 0)
        return -1;
    Token* word = ParserUtil::tokenAt(tokens, position + 1);
    const PatrolReadAction* chosen = word != nullptr ? findAction(word->getId()) : nullptr;
    if (chosen == nullptr)
        return -1;
    word->setConsumed(1);
    action = chosen->word;

    if (chosen->operand == Operand::StartTime)
        return ParserUtil::takeStartTime(tokens, position + 2, &startTime);
    if (chosen->operand == Operand::Number) {
        int number = 0;
        if (ParserUtil::takeNumber(tokens, position + 2, INT_MAX, &number) != 0)
            return -1;
        if (number > LARGEST_VALUE) {
            printMessage(MSG_TEXT, "Invalid value provided! Valid values are 0 ~ 65535.\n");
            return -1;
        }
        value = static_cast<unsigned short>(number);
    }
    return 0;
}

ArrayList<ParsedObject*>* AdpPrParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || action == 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpPrParsedObject(getCommandToken(), action, value, &startTime, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpPrParser> registration;

}  // namespace
