#include "Parser/Cmd/AdpShutDownParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpShutDownParser::AdpShutDownParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_ADPSHUTDOWN)
{
}

Parser* AdpShutDownParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpShutDownParser>(commandToken);
}

ArrayList<unsigned short>* AdpShutDownParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPSHUTDOWN});
}

namespace {

ParserFactoryRegistration<AdpShutDownParser> registration;

}  // namespace
