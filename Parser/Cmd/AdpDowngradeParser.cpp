#include "Parser/Cmd/AdpDowngradeParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpDowngradeParser::AdpDowngradeParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpDowngradeParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpDowngradeParser>(commandToken);
}

ArrayList<unsigned short>* AdpDowngradeParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPDOWNGRADE});
}

namespace {

ParserFactoryRegistration<AdpDowngradeParser> registration;

}  // namespace
