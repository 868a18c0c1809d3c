#include "Parser/Cmd/VirtualDrive/LdOperationParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdOperationParser::LdOperationParser(int commandToken)
    : LdObjectsParser(commandToken), operation(0), full(0), force(0)
{
    for (unsigned short id : {TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI})
        addRule(id, makeHandler(&LdOperationParser::onCommandWord));
    addRule(TOKEN_FULL, makeHandler(&LdOperationParser::onFullInit));
    addRule(TOKEN_FORCE, makeHandler(&LdOperationParser::onForce));
}

LdOperationParser::~LdOperationParser()
{
}

Parser* LdOperationParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdOperationParser(commandToken);
}

ArrayList<unsigned short>* LdOperationParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI});
}

int LdOperationParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* command = ParserUtil::takeWord(tokens, position, {TOKEN_LDCC, TOKEN_LDINIT, TOKEN_LDBI});
    if (command == nullptr)
        return -1;
    if (command->getId() == TOKEN_LDBI)
        return ParserUtil::takeOnlyWordAfter(tokens, position,
                                             {TOKEN_STOP, TOKEN_ENABLE, TOKEN_DISABLE, TOKEN_SHOWPROG, TOKEN_PROGDSPLY,
                                              TOKEN_GETSETTING, TOKEN_SUSPEND, TOKEN_RESUME},
                                             &operation);
    return ParserUtil::takeOnlyWordAfter(
        tokens, position, {TOKEN_START, TOKEN_STOP, TOKEN_SHOWPROG, TOKEN_PROGDSPLY, TOKEN_SUSPEND, TOKEN_RESUME},
        &operation);
}

int LdOperationParser::onFullInit(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FULL, &full);
}

int LdOperationParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* LdOperationParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            LdOperationParsedObject(getCommandToken(), &logicalDrives, operation, full, force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdOperationParser> registration;
}  // namespace
