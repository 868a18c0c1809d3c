#include "Parser/Cmd/Reports/AdpAllInfoParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpAllInfoParser::AdpAllInfoParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpAllInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpAllInfoParser(commandToken);
}

ArrayList<unsigned short>* AdpAllInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPALLINFO});
}

namespace {

const ParserFactoryRegistration<AdpAllInfoParser> registration;

}  // namespace
