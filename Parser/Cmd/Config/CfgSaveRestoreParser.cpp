#include "Parser/Cmd/Config/CfgSaveRestoreParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CfgSaveRestoreParser::CfgSaveRestoreParser(int commandToken) : Parser(commandToken)
{
    addRule(TOKEN_ADPCFGSAVE, makeHandler(&CfgSaveRestoreParser::onCommandWord));
    addRule(TOKEN_ADPCFGRESTORE, makeHandler(&CfgSaveRestoreParser::onCommandWord));
    addRule(TOKEN_FILE, makeHandler(&CfgSaveRestoreParser::onFileOption));
}

CfgSaveRestoreParser::~CfgSaveRestoreParser()
{
}

Parser* CfgSaveRestoreParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgSaveRestoreParser(commandToken);
}

ArrayList<unsigned short>* CfgSaveRestoreParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE});
}

int CfgSaveRestoreParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPCFGSAVE, TOKEN_ADPCFGRESTORE});
}

int CfgSaveRestoreParser::onFileOption(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeTextAfterWord(tokens, position, TOKEN_FILE, &fileName);
}

ArrayList<ParsedObject*>* CfgSaveRestoreParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) CfgSaveRestorePo(getCommandToken(), fileName, adapter);
    });
}

namespace {
const ParserFactoryRegistration<CfgSaveRestoreParser> registration;
}  // namespace
