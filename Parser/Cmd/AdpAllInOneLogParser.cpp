#include "Parser/Cmd/AdpAllInOneLogParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpAllInOneLogParser::AdpAllInOneLogParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpAllInOneLogParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpAllInOneLogParser>(commandToken);
}

ArrayList<unsigned short>* AdpAllInOneLogParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPALILOG});
}

namespace {

ParserFactoryRegistration<AdpAllInOneLogParser> registration;

}  // namespace
