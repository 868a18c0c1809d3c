#include "Parser/Cmd/Adapter/AdpCacheFlushParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpCacheFlushParser::AdpCacheFlushParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpCacheFlushParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpCacheFlushParser(commandToken);
}

ArrayList<unsigned short>* AdpCacheFlushParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCACHEFLUSH});
}

namespace {

const ParserFactoryRegistration<AdpCacheFlushParser> registration;

}  // namespace
