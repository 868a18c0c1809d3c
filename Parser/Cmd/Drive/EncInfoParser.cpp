#include "Parser/Cmd/Drive/EncInfoParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

EncInfoParser::EncInfoParser(int commandToken) : Parser(commandToken)
{
    addSyntaxWord(TOKEN_ENCINFO, "EncInfo");
    addSyntaxWord(TOKEN_ENCSTATUS, "EncStatus");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addRule(TOKEN_ENCINFO, makeHandler(&EncInfoParser::onCommandWord));
    addRule(TOKEN_ENCSTATUS, makeHandler(&EncInfoParser::onCommandWord));
}

EncInfoParser::~EncInfoParser()
{
}

Parser* EncInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) EncInfoParser(commandToken);
}

ArrayList<unsigned short>* EncInfoParser::commandTokens()
{
    ArrayList<unsigned short>* ids = new (noThrowNew) ArrayList<unsigned short>(2);
    if (ids != nullptr) {
        ids->add(TOKEN_ENCINFO);
        ids->add(TOKEN_ENCSTATUS);
    }
    return ids;
}

int EncInfoParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || (token->getId() != TOKEN_ENCINFO && token->getId() != TOKEN_ENCSTATUS))
        return -1;
    token->setConsumed(1);
    return 0;
}

ArrayList<ParsedObject*>* EncInfoParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned short token = getCommandToken();
    return makeRequestsPerAdapter([token](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) EncInfoParsedObject(token, adapter);
    });
}

namespace {

const ParserFactoryRegistration<EncInfoParser> registration;

}  // namespace
