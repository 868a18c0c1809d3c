#include "Parser/Cmd/Adapter/AdpBiosParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

namespace {

const unsigned short BIOS_ACTIONS[] = {
    TOKEN_ENABLE,      TOKEN_DISABLE,  TOKEN_DISPLAY,
    TOKEN_STOPONERROR, TOKEN_BYPASSERROR,
    TOKEN_HEADLESSCONTINUEONERROR, TOKEN_HEADLESSAFEMODE,
    TOKEN_ENBLAUTOSELECTBOOTLD,    TOKEN_DSBLAUTOSELECTBOOTLD,
};

}  // namespace

AdpBiosParser::AdpBiosParser(int commandToken)
    : ActionWordParser(commandToken, BIOS_ACTIONS, sizeof BIOS_ACTIONS / sizeof BIOS_ACTIONS[0])
{
}

Parser* AdpBiosParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpBiosParser(commandToken);
}

ArrayList<unsigned short>* AdpBiosParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPBIOS});
}

namespace {

const ParserFactoryRegistration<AdpBiosParser> registration;

}  // namespace
