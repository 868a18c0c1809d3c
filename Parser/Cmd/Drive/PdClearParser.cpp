#include "Parser/Cmd/Drive/PdClearParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

namespace {

const struct {
    unsigned short word;
    unsigned char action;
} ACTION_WORDS[] = {
    {TOKEN_START, PdClearParser::ACTION_START},
    {TOKEN_STOP, PdClearParser::ACTION_STOP},
    {TOKEN_PROGDSPLY, PdClearParser::ACTION_PROGRESS_DISPLAY},
    {TOKEN_SHOWPROG, PdClearParser::ACTION_SHOW_PROGRESS},
};

}  // namespace

PdClearParser::PdClearParser(int commandToken) : Parser(commandToken), action(ACTION_NONE)
{
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdClearParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdClearParser::onPhysDrv));
    for (const auto& entry : ACTION_WORDS)
        addRule(entry.word, makeHandler(&PdClearParser::onAction));
}

PdClearParser::~PdClearParser()
{
}

Parser* PdClearParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdClearParser(commandToken);
}

ArrayList<unsigned short>* PdClearParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDCLEAR});
}

int PdClearParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int PdClearParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int PdClearParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    for (const auto& entry : ACTION_WORDS) {
        if (word != nullptr && word->getId() == entry.word) {
            word->setConsumed(1);
            action = entry.action;
            return 0;
        }
    }
    return -1;
}

ArrayList<ParsedObject*>* PdClearParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdClrParsedObject(TOKEN_PDCLEAR, driveList.get(), action, adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdClearParser> registration;
}  // namespace
