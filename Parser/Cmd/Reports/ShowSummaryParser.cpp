#include "Parser/Cmd/Reports/ShowSummaryParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

ShowSummaryParser::ShowSummaryParser(int commandToken) : LdObjectsParser(commandToken), toFile(0)
{
    addRule(TOKEN_SHOWSUMMARY, makeHandler(&ShowSummaryParser::onCommandWord));
    addRule(TOKEN_FILE, makeFunctionHandler(&ParserUtil::onFileOption));
}

Parser* ShowSummaryParser::create(unsigned short commandToken)
{
    return new (noThrowNew) ShowSummaryParser(commandToken);
}

ArrayList<unsigned short>* ShowSummaryParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_SHOWSUMMARY});
}

int ShowSummaryParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_SHOWSUMMARY}) != 0)
        return -1;
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    // The name itself is taken by the file rule.
    if (next->getId() == TOKEN_FILE)
        toFile = 1;
    return 0;
}

ArrayList<ParsedObject*>* ShowSummaryParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    string fileName = ParserUtil::getFileName();
    return makeRequestsPerAdapter([this, &fileName](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) ShowSummaryPo(getCommandToken(), toFile, fileName, adapter);
    });
}

namespace {

const ParserFactoryRegistration<ShowSummaryParser> registration;

}  // namespace
