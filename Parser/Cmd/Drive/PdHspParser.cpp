#include "Parser/Cmd/Drive/PdHspParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdHspParser::PdHspParser(int commandToken)
    : Parser(commandToken), driveList(4), arrays(4), enclAffinity(0), dedicated(0), revertible(1), set(-1)
{
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&PdHspParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&PdHspParser::onPhysDrv));
    addRule(TOKEN_SET, makeHandler(&PdHspParser::onSetRemove));
    addRule(TOKEN_RMV, makeHandler(&PdHspParser::onSetRemove));
    addRule(TOKEN_ENCL_AFFINITY, makeHandler(&PdHspParser::onEnclAffinity));
    addRule(TOKEN_NONREVERTIBLE, makeHandler(&PdHspParser::onNonRevertible));
    addRule(TOKEN_DEDICATED, makeHandler(&PdHspParser::onDedicated));
    addRule(TOKEN_ARRAY, makeHandler(&PdHspParser::onArray));
}

PdHspParser::~PdHspParser()
{
    for (unsigned char i = 0; i < driveList.count(); ++i)
        delete driveList.get(i);
    for (unsigned char i = 0; i < arrays.count(); ++i)
        delete arrays.get(i);
}

Parser* PdHspParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdHspParser(commandToken);
}

ArrayList<unsigned short>* PdHspParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDHSP});
}

int PdHspParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveEntries(tokens, position, &driveList);
}

int PdHspParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int PdHspParser::onSetRemove(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_SET, TOKEN_RMV});
    if (word == nullptr)
        return -1;
    set = word->getId() == TOKEN_SET ? 1 : 0;
    return 0;
}

int PdHspParser::onEnclAffinity(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENCL_AFFINITY, &enclAffinity);
}

int PdHspParser::onNonRevertible(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_NONREVERTIBLE, &revertible, 0);
}

int PdHspParser::onDedicated(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_DEDICATED, &dedicated);
}

int PdHspParser::onArray(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_ARRAY}) == nullptr)
        return -1;
    for (int next = position + 1; next < tokens->count(); ++next) {
        Token* number = ParserUtil::tokenAt(tokens, next);
        if (number == nullptr || number->getId() != TOKEN_NUMBER)
            break;
        int value = 0;
        if (ParserUtil::takeNumber(tokens, next, MAX_ARRAY_NUMBER, &value) != 0)
            return -1;
        unsigned char* entry = new (noThrowNew) unsigned char(static_cast<unsigned char>(value));
        // An array left out would make a spare for other arrays than typed.
        if (entry == nullptr || arrays.add(entry) != 0) {
            delete entry;
            return -1;
        }
    }
    return 0;
}

ArrayList<ParsedObject*>* PdHspParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || set < 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        PdHspParsedObject* request = new (noThrowNew) PdHspParsedObject(
            TOKEN_PDHSP, &driveList, &arrays, enclAffinity, dedicated, revertible, static_cast<unsigned int>(set),
            adapter);
        // A request whose copies failed would act on other drives or arrays than typed.
        if (request != nullptr && (request->driveList == nullptr || request->arrayNumbers == nullptr)) {
            delete request;
            return nullptr;
        }
        return request;
    });
}

namespace {
const ParserFactoryRegistration<PdHspParser> registration;
}  // namespace
