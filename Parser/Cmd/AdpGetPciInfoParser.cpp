#include "Parser/Cmd/AdpGetPciInfoParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpGetPciInfoParser::AdpGetPciInfoParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpGetPciInfoParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpGetPciInfoParser>(commandToken);
}

ArrayList<unsigned short>* AdpGetPciInfoParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPGETPCIINFO});
}

namespace {

ParserFactoryRegistration<AdpGetPciInfoParser> registration;

}  // namespace
