#include "Parser/Cmd/Adapter/AdpRestartParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpRestartParser::AdpRestartParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_ADPRESTART)
{
}

Parser* AdpRestartParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpRestartParser(commandToken);
}

ArrayList<unsigned short>* AdpRestartParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPRESTART});
}

namespace {

const ParserFactoryRegistration<AdpRestartParser> registration;

}  // namespace
