#include "Parser/Cmd/AdpFlashParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/ParserFrame.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

AdpFlashParser::AdpFlashParser(int commandToken)
    : Parser(commandToken), fwType(0), resetNow(0), noSigChk(0), noVerChk(0)
{
    addRule(TOKEN_ADPFWFLASH, makeHandler(&AdpFlashParser::onCommandWord));
    addRule(TOKEN_FILE, makeHandler(&AdpFlashParser::onFileOption));
    addRule(TOKEN_FWTYPE, makeHandler(&AdpFlashParser::onFwType));
}

Parser* AdpFlashParser::create(unsigned short commandToken)
{
    return ParserFrame::create<AdpFlashParser>(commandToken);
}

ArrayList<unsigned short>* AdpFlashParser::commandTokens()
{
    return ParserFrame::newTokenList({TOKEN_ADPFWFLASH});
}

int AdpFlashParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserFrame::takeWord(tokens, position, TOKEN_ADPFWFLASH) != 0)
        return -1;
    for (int next = position + 1; next < tokens->count(); ++next) {
        Token* token = ParserUtil::tokenAt(tokens, next);
        unsigned char* flag = nullptr;
        switch (token->getId()) {
        case TOKEN_NOSIGCHK: flag = &noSigChk; break;
        case TOKEN_NOVERCHK: flag = &noVerChk; break;
        case TOKEN_NORESETNOW: flag = &resetNow; break;
        default: break;
        }
        if (flag != nullptr) {
            token->setConsumed(1);
            *flag = 1;
        }
    }
    return 0;
}

int AdpFlashParser::onFileOption(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserFrame::takeFileName(tokens, position, &fileName);
}

int AdpFlashParser::onFwType(ArrayList<Token*>* tokens, unsigned char position)
{
    unsigned int type = 0;
    if (ParserFrame::takeWord(tokens, position, TOKEN_FWTYPE) != 0 ||
        ParserFrame::takeNumberAfter(tokens, position, 0xFF, &type) != 0)
        return -1;
    fwType = static_cast<unsigned char>(type);
    return 0;
}

ArrayList<ParsedObject*>* AdpFlashParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            AdpFwFlashPo(getCommandToken(), fileName, resetNow, noSigChk, noVerChk, adapter, fwType);
    });
}

namespace {

ParserFactoryRegistration<AdpFlashParser> registration;

}  // namespace
