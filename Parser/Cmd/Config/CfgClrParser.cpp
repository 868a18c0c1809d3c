#include "Parser/Cmd/Config/CfgClrParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CfgClrParser::CfgClrParser(int commandToken) : Parser(commandToken), force(0)
{
    addSyntaxWord(TOKEN_ADPCFGCLR, "ADPCFGCLR");
    addSyntaxWord(TOKEN_FORCE, "FORCE");
    addSyntaxWord(TOKEN_ALL_ADAPTER, "aAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
    addRule(TOKEN_FORCE, makeHandler(&CfgClrParser::onForce));
}

CfgClrParser::~CfgClrParser()
{
}

Parser* CfgClrParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgClrParser(commandToken);
}

ArrayList<unsigned short>* CfgClrParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCFGCLR});
}

int CfgClrParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* CfgClrParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        // The clear command runs as its own command id, whatever word selected the parser.
        return new (noThrowNew) AdpCfgClrParsedObject(TOKEN_ADPCFGCLR, force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<CfgClrParser> registration;
}  // namespace
