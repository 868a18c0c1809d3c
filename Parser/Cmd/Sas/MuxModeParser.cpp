#include "Parser/Cmd/Sas/MuxModeParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

MuxModeParser::MuxModeParser(int commandToken) : Parser(commandToken), mode(NO_MODE), connectorList(4)
{
    addRule(TOKEN_MUXGETMODE, makeHandler(&MuxModeParser::onCommandWord));
    addRule(TOKEN_MUXSETMODE, makeHandler(&MuxModeParser::onCommandWord));
    addRule(TOKEN_MUXNUM, makeHandler(&MuxModeParser::onConnector));
    addRule(TOKEN_MUX_ALL, makeHandler(&MuxModeParser::onConnectorAll));
    addRule(TOKEN_MUXINTERNAL, makeHandler(&MuxModeParser::onMode));
    addRule(TOKEN_MUXEXTERNAL, makeHandler(&MuxModeParser::onMode));
    addRule(TOKEN_MUXAUTO, makeHandler(&MuxModeParser::onMode));
}

Parser* MuxModeParser::create(unsigned short commandToken)
{
    return new (noThrowNew) MuxModeParser(commandToken);
}

ArrayList<unsigned short>* MuxModeParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_MUXSETMODE, TOKEN_MUXGETMODE});
}

int MuxModeParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_MUXGETMODE, TOKEN_MUXSETMODE});
    if (token == nullptr)
        return -1;
    return 0;
}

int MuxModeParser::onConnector(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_MUXNUM}) != 0)
        return -1;
    for (int next = position + 1;; ++next) {
        Token* token = ParserUtil::tokenAt(tokens, next);
        if (token == nullptr || token->getId() != TOKEN_NUMBER)
            return 0;
        int connector = 0;
        if (ParserUtil::takeNumber(tokens, next, 0xFF, &connector) != 0 ||
            connectorList.add(static_cast<unsigned char>(connector)) != 0)
            return -1;
    }
}

int MuxModeParser::onConnectorAll(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_MUX_ALL}) != 0)
        return -1;
    return connectorList.add(ALL_CONNECTORS);
}

int MuxModeParser::onMode(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_MUXINTERNAL, TOKEN_MUXEXTERNAL, TOKEN_MUXAUTO});
    if (token == nullptr)
        return -1;
    mode = static_cast<short>(token->getId());
    return 0;
}

ArrayList<ParsedObject*>* MuxModeParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            MuxModeParsedObject(getCommandToken(), static_cast<unsigned short>(mode), &connectorList, adapter);
    });
}

namespace {

const ParserFactoryRegistration<MuxModeParser> registration;

}  // namespace
