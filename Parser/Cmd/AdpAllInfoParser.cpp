#include "Parser/Cmd/AdpAllInfoParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpAllInfoParser::AdpAllInfoParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpAllInfoParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpAllInfoParser>(commandToken);
}

ArrayList<unsigned short>* AdpAllInfoParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPALLINFO});
}

namespace {

ParserFactoryRegistration<AdpAllInfoParser> registration;

}  // namespace
