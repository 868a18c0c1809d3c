#include "Parser/Cmd/Drive/PdCopyBackParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdCopyBackParser::PdCopyBackParser() : Parser(TOKEN_PDCPYBK), driveList(4), action(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_PDCPYBK, "PDCpBk"}, {TOKEN_START, "Start"}, {TOKEN_STOP, "Stop"}, {TOKEN_SHOWPROG, "ShowProg"},
        {TOKEN_PROGDSPLY, "ProgDsply"}, {TOKEN_SUSPEND, "Suspend"}, {TOKEN_RESUME, "Resume"},
        {TOKEN_ALL_ADAPTER, "aAll"}, {TOKEN_ADAPTER, "a"}, {TOKEN_PHYSDRV, "PhysDrv"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_PDCPYBK, makeHandler(&PdCopyBackParser::onCommandWord));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdCopyBackParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdCopyBackParser::onPhysDrv));
}

PdCopyBackParser::~PdCopyBackParser()
{
    for (unsigned char i = 0; i < driveList.count(); ++i)
        delete driveList.get(i);
}

Parser* PdCopyBackParser::create(unsigned short /*commandToken*/)
{
    return new (noThrowNew) PdCopyBackParser();
}

ArrayList<unsigned short>* PdCopyBackParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDCPYBK});
}

int PdCopyBackParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_PDCPYBK}) == nullptr)
        return -1;
    // Exactly one action word on the whole line, wherever it stands.
    unsigned short word = 0;
    if (ParserUtil::takeOnlyWordAfter(tokens, position, {TOKEN_START, TOKEN_STOP, TOKEN_SHOWPROG, TOKEN_PROGDSPLY,
                                                         TOKEN_SUSPEND, TOKEN_RESUME},
                                      &word) != 0)
        return -1;
    action = static_cast<short>(word);
    return 0;
}

int PdCopyBackParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveEntries(tokens, position, &driveList);
}

int PdCopyBackParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* PdCopyBackParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        PdCopyBackParsedObject* request = new (noThrowNew)
            PdCopyBackParsedObject(TOKEN_PDCPYBK, &driveList, static_cast<unsigned short>(action), adapter);
        // A request whose drive copy failed would act on no drive instead of the ones typed.
        if (request != nullptr && request->driveList == nullptr) {
            delete request;
            return nullptr;
        }
        return request;
    });
}

namespace {
const ParserFactoryRegistration<PdCopyBackParser> registration;
}  // namespace
