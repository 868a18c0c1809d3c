#include "Parser/Cmd/Adapter/AdpShutDownParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpShutDownParser::AdpShutDownParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_ADPSHUTDOWN)
{
}

Parser* AdpShutDownParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpShutDownParser(commandToken);
}

ArrayList<unsigned short>* AdpShutDownParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPSHUTDOWN});
}

namespace {

const ParserFactoryRegistration<AdpShutDownParser> registration;

}  // namespace
