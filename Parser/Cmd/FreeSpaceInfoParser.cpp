#include "Parser/Cmd/FreeSpaceInfoParser.h"

#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/TokenIds.h"

FreeSpaceInfoParser::FreeSpaceInfoParser(int commandToken) : AdapterOnlyParser(commandToken, TOKEN_ADPFREESPACEINFO)
{
}

Parser* FreeSpaceInfoParser::create(unsigned short commandToken)
{
    return ParserFrame::create<FreeSpaceInfoParser>(commandToken);
}

ArrayList<unsigned short>* FreeSpaceInfoParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPFREESPACEINFO});
}

namespace {

ParserFactoryRegistration<FreeSpaceInfoParser> registration;

}  // namespace
