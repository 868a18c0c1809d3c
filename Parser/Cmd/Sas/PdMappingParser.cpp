#include "Parser/Cmd/Sas/PdMappingParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdMappingParser::PdMappingParser(int commandToken) : Parser(commandToken), action(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_DIRECTPDMAPPING, "DirectPdmapping"}, {TOKEN_DISPLAY, "Dsply"}, {TOKEN_ENABLE, "Enbl"},
        {TOKEN_DISABLE, "Dsbl"}, {TOKEN_ALL_ADAPTER, "aAll"}, {TOKEN_ADAPTER, "a"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_DIRECTPDMAPPING, makeHandler(&PdMappingParser::onCommandWord));
    for (unsigned short id : {TOKEN_DISPLAY, TOKEN_ENABLE, TOKEN_DISABLE})
        addRule(id, makeHandler(&PdMappingParser::onAction));
}

PdMappingParser::~PdMappingParser()
{
}

Parser* PdMappingParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdMappingParser(commandToken);
}

ArrayList<unsigned short>* PdMappingParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_DIRECTPDMAPPING});
}

int PdMappingParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_DIRECTPDMAPPING});
}

int PdMappingParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_DISPLAY, TOKEN_ENABLE, TOKEN_DISABLE});
    if (word == nullptr)
        return -1;
    action = static_cast<short>(word->getId());
    return 0;
}

ArrayList<ParsedObject*>* PdMappingParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdMappingParsedObject(getCommandToken(), static_cast<unsigned short>(action), adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdMappingParser> registration;
}  // namespace
