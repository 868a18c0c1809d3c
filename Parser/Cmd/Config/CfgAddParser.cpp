#include "Parser/Cmd/Config/CfgAddParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CfgAddParser::CfgAddParser(int commandToken) : CfgParser(commandToken), force(0), enablePi(0)
{
    addSyntaxWord(TOKEN_ADPCFGADD, "LDADD");
    addRule(TOKEN_ADPCFGADD, makeHandler(&CfgAddParser::onCfgLdAdd));
    addRule(TOKEN_ADPCFGEACHDSKRAID0, makeHandler(&CfgAddParser::onCfgEachDskRaid0));
    addRule(TOKEN_HOTSPARE, makeHandler(&CfgAddParser::onHotSpare));
    addRule(TOKEN_ENBLPI, makeHandler(&CfgAddParser::onEnablePi));
    addRule(TOKEN_FORCE, makeHandler(&CfgAddParser::onForce));
}

CfgAddParser::~CfgAddParser()
{
}

Parser* CfgAddParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgAddParser(commandToken);
}

ArrayList<unsigned short>* CfgAddParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCFGADD, TOKEN_ADPCFGEACHDSKRAID0});
}

int CfgAddParser::onCfgLdAdd(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPCFGADD});
}

int CfgAddParser::onCfgEachDskRaid0(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPCFGEACHDSKRAID0});
}

int CfgAddParser::onHotSpare(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_HOTSPARE}) == nullptr)
        return -1;
    expectHotSpareList();
    return 0;
}

int CfgAddParser::onEnablePi(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENBLPI, &enablePi);
}

int CfgAddParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* CfgAddParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeAddRequests(getCommandToken(), force, enablePi);
}

namespace {
const ParserFactoryRegistration<CfgAddParser> registration;
}  // namespace
