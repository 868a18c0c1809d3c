#include "Parser/Cmd/Firmware/AdpFlashParser.h"

#include "Parser/AdpParsedObjects.h"
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
    return new (noThrowNew) AdpFlashParser(commandToken);
}

ArrayList<unsigned short>* AdpFlashParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPFWFLASH});
}

int AdpFlashParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::acceptWord(tokens, position, {TOKEN_ADPFWFLASH}) != 0)
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
    // The name stays with this parser, not in the process-wide file name.
    if (ParserUtil::takeWord(tokens, position, {TOKEN_FILE}) == nullptr)
        return -1;
    Token* name = ParserUtil::tokenAt(tokens, position + 1);
    if (name == nullptr)
        return -1;
    name->setConsumed(1);
    string text;
    if (name->getId() != TOKEN_ALPHANUM_CONSTANT || !ParserUtil::getText(name, &text))
        return -1;
    fileName = text;
    return 0;
}

int AdpFlashParser::onFwType(ArrayList<Token*>* tokens, unsigned char position)
{
    int type = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_FWTYPE, 0xFF, &type) != 0)
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

const ParserFactoryRegistration<AdpFlashParser> registration;

}  // namespace
