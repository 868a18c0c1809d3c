#include "Parser/Cmd/LdPdInfoParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

LdPdInfoParser::LdPdInfoParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_LDPDINFO)
{
}

Parser* LdPdInfoParser::create(unsigned short commandToken)
{
    return ParserFrame::create<LdPdInfoParser>(commandToken);
}

ArrayList<unsigned short>* LdPdInfoParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_LDPDINFO});
}

namespace {

ParserFactoryRegistration<LdPdInfoParser> registration;

}  // namespace
