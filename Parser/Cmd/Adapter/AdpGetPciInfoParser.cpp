#include "Parser/Cmd/Adapter/AdpGetPciInfoParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpGetPciInfoParser::AdpGetPciInfoParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpGetPciInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpGetPciInfoParser(commandToken);
}

ArrayList<unsigned short>* AdpGetPciInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPGETPCIINFO});
}

namespace {

const ParserFactoryRegistration<AdpGetPciInfoParser> registration;

}  // namespace
