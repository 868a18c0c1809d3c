#include "Parser/Cmd/Drive/PdListParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

PdListParser::PdListParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
}

Parser* PdListParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdListParser(commandToken);
}

ArrayList<unsigned short>* PdListParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDLIST, TOKEN_PRESERVEDCACHELIST});
}

namespace {

const ParserFactoryRegistration<PdListParser> registration;

}  // namespace
