#include "Parser/Cmd/Config/FreeSpaceInfoParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

FreeSpaceInfoParser::FreeSpaceInfoParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_ADPFREESPACEINFO)
{
}

Parser* FreeSpaceInfoParser::create(unsigned short commandToken)
{
    return new (noThrowNew) FreeSpaceInfoParser(commandToken);
}

ArrayList<unsigned short>* FreeSpaceInfoParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPFREESPACEINFO});
}

namespace {

const ParserFactoryRegistration<FreeSpaceInfoParser> registration;

}  // namespace
