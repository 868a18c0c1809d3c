#include "Parser/Cmd/Adapter/AdpDiagParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

AdpDiagParser::AdpDiagParser(int commandToken)
    : Parser(commandToken), diagnosticValue(DEFAULT_DIAGNOSTIC_VALUE)
{
    addSyntaxWord(TOKEN_ADPDIAG, "AdpDiag");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_ADPDIAG, makeHandler(&AdpDiagParser::onCommandWord));
}

AdpDiagParser::~AdpDiagParser()
{
}

Parser* AdpDiagParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpDiagParser(commandToken);
}

ArrayList<unsigned short>* AdpDiagParser::commandTokens()
{
    ArrayList<unsigned short>* ids = new (noThrowNew) ArrayList<unsigned short>(1);
    if (ids != nullptr)
        ids->add(TOKEN_ADPDIAG);
    return ids;
}

int AdpDiagParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || token->getId() != TOKEN_ADPDIAG)
        return -1;
    token->setConsumed(1);

    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    int value = 0;
    if (ParserUtil::getNumber(next, &value)) {
        diagnosticValue = value;
        next->setConsumed(1);
    }
    // Any other token is left for its own rule.
    return 0;
}

ArrayList<ParsedObject*>* AdpDiagParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned int value = static_cast<unsigned int>(diagnosticValue);
    return makeRequestsPerAdapter([value](unsigned char adapter) -> ParsedObject* {
        // The diagnostic command always runs as command 22, whatever word selected the parser.
        return new (noThrowNew) AdpDiagParsedObject(TOKEN_ADPDIAG, value, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpDiagParser> registration;

}  // namespace
