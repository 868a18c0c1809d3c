#include "Parser/Cmd/Config/CfgDsplyParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CfgDsplyParser::CfgDsplyParser(int commandToken) : Parser(commandToken)
{
    addSyntaxWord(TOKEN_ADPCFGDISP, "CfgDsply");
    addSyntaxWord(TOKEN_TIDEWELLDSPLY, "CfgTidewellDsply");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_ADPCFGDISP, makeHandler(&CfgDsplyParser::onCommandWord));
    addRule(TOKEN_TIDEWELLDSPLY, makeHandler(&CfgDsplyParser::onCommandWord));
}

CfgDsplyParser::~CfgDsplyParser()
{
}

Parser* CfgDsplyParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgDsplyParser(commandToken);
}

ArrayList<unsigned short>* CfgDsplyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCFGDISP, TOKEN_TIDEWELLDSPLY});
}

int CfgDsplyParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPCFGDISP, TOKEN_TIDEWELLDSPLY});
}

ArrayList<ParsedObject*>* CfgDsplyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned short token = getCommandToken();
    return makeRequestsPerAdapter([token](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) CfgDsplyParsedObject(token, adapter);
    });
}

namespace {
const ParserFactoryRegistration<CfgDsplyParser> registration;
}  // namespace
