#include "Parser/Cmd/Drive/PdReplaceMissingParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

PdReplaceMissingParser::PdReplaceMissingParser(int commandToken)
    : PdInfoParser(commandToken), arrayNumber(-1), rowNumber(-1)
{
    addRule(TOKEN_ARRAY, makeHandler(&PdReplaceMissingParser::onArrayOrRow));
    addRule(TOKEN_ROWNUM, makeHandler(&PdReplaceMissingParser::onArrayOrRow));
}

PdReplaceMissingParser::~PdReplaceMissingParser()
{
}

Parser* PdReplaceMissingParser::create(unsigned short commandToken)
{
    return new (noThrowNew) PdReplaceMissingParser(commandToken);
}

ArrayList<unsigned short>* PdReplaceMissingParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_PDREPLACEMISSING});
}

int PdReplaceMissingParser::onArrayOrRow(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::tokenAt(tokens, position);
    if (word == nullptr || (word->getId() != TOKEN_ARRAY && word->getId() != TOKEN_ROWNUM))
        return -1;
    bool array = word->getId() == TOKEN_ARRAY;
    return ParserUtil::takeNumberAfterWord(tokens, position, word->getId(),
                                           array ? MAX_ARRAY_NUMBER : MAX_ROW_NUMBER,
                                           array ? &arrayNumber : &rowNumber);
}

ArrayList<ParsedObject*>* PdReplaceMissingParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || driveList.get() == nullptr || arrayNumber < 0 || rowNumber < 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) PdReplaceMissingParsedObject(TOKEN_PDREPLACEMISSING, driveList.get(),
                                                             static_cast<unsigned char>(arrayNumber),
                                                             static_cast<unsigned char>(rowNumber), adapter);
    });
}

namespace {
const ParserFactoryRegistration<PdReplaceMissingParser> registration;
}  // namespace
