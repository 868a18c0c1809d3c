#include "Parser/Cmd/Adapter/AdpCountParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

AdpCountParser::AdpCountParser(int commandToken) : Parser(commandToken)
{
    createSyntaxList();
    addRule(TOKEN_ADPCOUNT, makeHandler(&AdpCountParser::onCommandWord));
}

AdpCountParser::~AdpCountParser()
{
}

Parser* AdpCountParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpCountParser(commandToken);
}

ArrayList<unsigned short>* AdpCountParser::commandTokens()
{
    ArrayList<unsigned short>* ids = new (noThrowNew) ArrayList<unsigned short>(1);
    if (ids != nullptr)
        ids->add(TOKEN_ADPCOUNT);
    return ids;
}

int AdpCountParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || token->getId() != TOKEN_ADPCOUNT)
        return -1;
    token->setConsumed(1);
    return 0;
}

ArrayList<ParsedObject*>* AdpCountParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    ArrayList<ParsedObject*>* requests = new (noThrowNew) ArrayList<ParsedObject*>(1);
    if (requests == nullptr)
        return nullptr;
    ParsedObject* request = new (noThrowNew) AdpCountParsedObject(getCommandToken());
    if (request == nullptr || requests->add(request) != 0) {
        deleteRequest(request);
        deleteRequests(requests);
        return nullptr;
    }
    return requests;
}

namespace {

const ParserFactoryRegistration<AdpCountParser> registration;

}  // namespace
