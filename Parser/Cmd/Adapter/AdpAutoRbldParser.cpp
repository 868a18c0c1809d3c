#include "Parser/Cmd/Adapter/AdpAutoRbldParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

namespace {

const unsigned short AUTO_REBUILD_ACTIONS[] = {TOKEN_ENABLE, TOKEN_DISABLE, TOKEN_DISPLAY};

}  // namespace

AdpAutoRbldParser::AdpAutoRbldParser(int commandToken)
    : ActionWordParser(commandToken, AUTO_REBUILD_ACTIONS,
                       sizeof AUTO_REBUILD_ACTIONS / sizeof AUTO_REBUILD_ACTIONS[0])
{
}

Parser* AdpAutoRbldParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpAutoRbldParser(commandToken);
}

ArrayList<unsigned short>* AdpAutoRbldParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPAUTORBLD});
}

namespace {

const ParserFactoryRegistration<AdpAutoRbldParser> registration;

}  // namespace
