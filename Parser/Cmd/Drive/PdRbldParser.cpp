#include "Parser/Cmd/Drive/PdRbldParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdRbldParser::PdRbldParser() : Parser(0xFFFF), driveList(4), action(0)
{
    addRule(TOKEN_PDRBLD, makeHandler(&PdRbldParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdRbldParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdRbldParser::onPhysDrv));
}

PdRbldParser::~PdRbldParser()
{
    for (unsigned char i = 0; i < driveList.count(); ++i)
        delete driveList.get(i);
}

Parser* PdRbldParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) PdRbldParser();
}

ArrayList<unsigned short>* PdRbldParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDRBLD});
}

int PdRbldParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_PDRBLD}) == nullptr)
        return -1;
    return ParserUtil::takeOnlyWordAfter(
        tokens, position, {TOKEN_START, TOKEN_STOP, TOKEN_SHOWPROG, TOKEN_PROGDSPLY, TOKEN_SUSPEND, TOKEN_RESUME},
        &action);
}

int PdRbldParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveEntries(tokens, position, &driveList);
}

int PdRbldParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* PdRbldParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        PdRebuildParsedObject* request =
            new (noThrowNew) PdRebuildParsedObject(TOKEN_PDRBLD, &driveList, action, adapter);
        // A request whose drive copy failed would act on no drive instead of the ones typed.
        if (request != nullptr && request->driveList == nullptr) {
            delete request;
            return nullptr;
        }
        return request;
    });
}

namespace {
const ParserFactoryRegistration<PdRbldParser> registration;
}  // namespace
