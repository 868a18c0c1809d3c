#include "Parser/Cmd/AdpCacheFlushParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

AdpCacheFlushParser::AdpCacheFlushParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpCacheFlushParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpCacheFlushParser>(commandToken);
}

ArrayList<unsigned short>* AdpCacheFlushParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPCACHEFLUSH});
}

namespace {

ParserFactoryRegistration<AdpCacheFlushParser> registration;

}  // namespace
