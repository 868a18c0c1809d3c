#include "Parser/Cmd/Drive/PdOnLnParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

namespace {

const struct {
    unsigned short word;
    unsigned char operation;
} COMMAND_WORDS[] = {
    {TOKEN_PDONLINE, PdOnLineParsedObject::OPERATION_ONLINE},
    {TOKEN_PDMARKMISSING, PdOnLineParsedObject::OPERATION_MARK_MISSING},
    {TOKEN_PDGETMISSING, PdOnLineParsedObject::OPERATION_GET_MISSING},
    {TOKEN_PDLOCATE, PdOnLineParsedObject::OPERATION_LOCATE},
};

}  // namespace

PdOnLnParser::PdOnLnParser()
    : Parser(0xFFFF), driveList(4), operation(PdOnLineParsedObject::OPERATION_ONLINE), stop(0)
{
    for (const auto& entry : COMMAND_WORDS)
        addRule(entry.word, makeHandler(&PdOnLnParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdOnLnParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdOnLnParser::onPhysDrv));
}

PdOnLnParser::~PdOnLnParser()
{
    for (unsigned char i = 0; i < driveList.count(); ++i)
        delete driveList.get(i);
}

Parser* PdOnLnParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) PdOnLnParser();
}

ArrayList<unsigned short>* PdOnLnParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDONLINE, TOKEN_PDMARKMISSING, TOKEN_PDGETMISSING, TOKEN_PDLOCATE});
}

int PdOnLnParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    for (const auto& entry : COMMAND_WORDS) {
        if (word == nullptr || word->getId() != entry.word)
            continue;
        word->setConsumed(1);
        operation = entry.operation;
        stop = 0;
        // "-PdLocate" alone starts locating; "-stop" (or "-abort") right after it stops.
        if (entry.word == TOKEN_PDLOCATE && ParserUtil::takeWord(tokens, position + 1, {TOKEN_STOP}) != nullptr)
            stop = 1;
        else if (entry.word == TOKEN_PDLOCATE)
            ParserUtil::takeWord(tokens, position + 1, {TOKEN_START});
        return 0;
    }
    return -1;
}

int PdOnLnParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveEntries(tokens, position, &driveList);
}

int PdOnLnParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* PdOnLnParser::parse(ArrayList<Token*>* tokens)
{
    // No drive list is needed: "-PdGetMissing" names none.
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        PdOnLineParsedObject* request =
            new (noThrowNew) PdOnLineParsedObject(TOKEN_PDONLINE, &driveList, operation, stop, adapter);
        // A request whose drive copy failed would act on no drive instead of the ones typed.
        if (request != nullptr && request->driveList == nullptr) {
            delete request;
            return nullptr;
        }
        return request;
    });
}

namespace {
const ParserFactoryRegistration<PdOnLnParser> registration;
}  // namespace
