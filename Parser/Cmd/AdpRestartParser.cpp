#include "Parser/Cmd/AdpRestartParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpRestartParser::AdpRestartParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_ADPRESTART)
{
}

Parser* AdpRestartParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpRestartParser>(commandToken);
}

ArrayList<unsigned short>* AdpRestartParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPRESTART});
}

namespace {

ParserFactoryRegistration<AdpRestartParser> registration;

}  // namespace
