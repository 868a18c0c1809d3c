#include "Parser/Cmd/PdListParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

PdListParser::PdListParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
}

Parser* PdListParser::create(unsigned short commandToken)
{
    return ParserFrame::create<PdListParser>(commandToken);
}

ArrayList<unsigned short>* PdListParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_PDLIST, TOKEN_PRESERVEDCACHELIST});
}

namespace {

ParserFactoryRegistration<PdListParser> registration;

}  // namespace
