#include "Parser/Cmd/VirtualDrive/LdPdInfoParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

LdPdInfoParser::LdPdInfoParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_LDPDINFO)
{
}

Parser* LdPdInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdPdInfoParser(commandToken);
}

ArrayList<unsigned short>* LdPdInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDPDINFO});
}

namespace {

const ParserFactoryRegistration<LdPdInfoParser> registration;

}  // namespace
