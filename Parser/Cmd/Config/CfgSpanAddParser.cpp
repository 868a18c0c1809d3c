#include "Parser/Cmd/Config/CfgSpanAddParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

namespace {

// Levels up to this one span a single array: they are no spanned levels.
const unsigned char HIGHEST_SINGLE_ARRAY_LEVEL = 9;

}  // namespace

CfgSpanAddParser::CfgSpanAddParser(int commandToken) : CfgParser(commandToken), force(0), enablePi(0)
{
    addRule(TOKEN_ADPCFGSPANADD, makeHandler(&CfgSpanAddParser::onCommandWord));
    addRule(TOKEN_ARRAY, makeHandler(&CfgSpanAddParser::onArray));
    addRule(TOKEN_ENBLPI, makeHandler(&CfgSpanAddParser::onEnablePi));
    addRule(TOKEN_FORCE, makeHandler(&CfgSpanAddParser::onForce));
}

CfgSpanAddParser::~CfgSpanAddParser()
{
}

Parser* CfgSpanAddParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgSpanAddParser(commandToken);
}

ArrayList<unsigned short>* CfgSpanAddParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCFGSPANADD});
}

int CfgSpanAddParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPCFGSPANADD});
}

int CfgSpanAddParser::onArray(ArrayList<Token*>* tokens, unsigned char position)
{
    int number = 0;
    return ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_ARRAY, 0x7FFFFFFF, &number);
}

int CfgSpanAddParser::onEnablePi(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENBLPI, &enablePi);
}

int CfgSpanAddParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* CfgSpanAddParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || raidLevel <= HIGHEST_SINGLE_ARRAY_LEVEL || raidLevel == NOT_GIVEN)
        return nullptr;
    return makeAddRequests(TOKEN_ADPCFGSPANADD, force, enablePi);
}

namespace {
const ParserFactoryRegistration<CfgSpanAddParser> registration;
}  // namespace
