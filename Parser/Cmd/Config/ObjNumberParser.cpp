#include "Parser/Cmd/Config/ObjNumberParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

ObjNumberParser::ObjNumberParser(int commandToken) : Parser(commandToken)
{
    addSyntaxWord(TOKEN_LDNUMBER, "LDGetNum");
    addSyntaxWord(TOKEN_PDNUMBER, "PDGetNum");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addRule(TOKEN_LDNUMBER, makeHandler(&ObjNumberParser::onCommandWord));
    addRule(TOKEN_PDNUMBER, makeHandler(&ObjNumberParser::onCommandWord));
}

ObjNumberParser::~ObjNumberParser()
{
}

Parser* ObjNumberParser::create(unsigned short commandToken)
{
    return new (noThrowNew) ObjNumberParser(commandToken);
}

ArrayList<unsigned short>* ObjNumberParser::commandTokens()
{
    ArrayList<unsigned short>* ids = new (noThrowNew) ArrayList<unsigned short>(2);
    if (ids != nullptr) {
        ids->add(TOKEN_LDNUMBER);
        ids->add(TOKEN_PDNUMBER);
    }
    return ids;
}

int ObjNumberParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || (token->getId() != TOKEN_LDNUMBER && token->getId() != TOKEN_PDNUMBER))
        return -1;
    token->setConsumed(1);
    return 0;
}

ArrayList<ParsedObject*>* ObjNumberParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned short token = getCommandToken();
    return makeRequestsPerAdapter([token](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) ObjNumberParsedObject(token, adapter);
    });
}

namespace {

const ParserFactoryRegistration<ObjNumberParser> registration;

}  // namespace
