#include "Parser/Cmd/Firmware/AdpVerifyParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"

AdpVerifyParser::AdpVerifyParser(int commandToken) : Parser(commandToken)
{
    addRule(TOKEN_FILE, makeFunctionHandler(&ParserUtil::onFileOption));
}

Parser* AdpVerifyParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpVerifyParser(commandToken);
}

ArrayList<unsigned short>* AdpVerifyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPSETVERIFY});
}

ArrayList<ParsedObject*>* AdpVerifyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    string fileName = ParserUtil::getFileName();
    // Nothing to compare with: the command would report every setting as differing.
    if (fileName.length() == 0)
        return nullptr;
    unsigned short token = getCommandToken();
    return makeRequestsPerAdapter([token, &fileName](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) AdpSetVerifyPo(token, fileName, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpVerifyParser> registration;

}  // namespace
