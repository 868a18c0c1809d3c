#include "Parser/Cmd/Adapter/AdpDowngradeParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpDowngradeParser::AdpDowngradeParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpDowngradeParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpDowngradeParser(commandToken);
}

ArrayList<unsigned short>* AdpDowngradeParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPDOWNGRADE});
}

namespace {

const ParserFactoryRegistration<AdpDowngradeParser> registration;

}  // namespace
