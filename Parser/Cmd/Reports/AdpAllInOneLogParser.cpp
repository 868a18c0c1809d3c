#include "Parser/Cmd/Reports/AdpAllInOneLogParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpAllInOneLogParser::AdpAllInOneLogParser(int commandToken) : AdapterOnlyParser(commandToken, commandToken)
{
    addOwnCommandWordRule();
}

Parser* AdpAllInOneLogParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpAllInOneLogParser(commandToken);
}

ArrayList<unsigned short>* AdpAllInOneLogParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPALILOG});
}

namespace {

const ParserFactoryRegistration<AdpAllInOneLogParser> registration;

}  // namespace
