#include "Parser/Cmd/Help/CliVersionParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

namespace {

struct VersionSelector {
    unsigned short token;
    unsigned char kind;
};

// In the order the rules are added.
const VersionSelector VERSION_SELECTORS[] = {
    {TOKEN_CTRL, CliVersionParser::KIND_CONTROLLER},
    {TOKEN_CLI, CliVersionParser::KIND_TOOL},
    {TOKEN_UEFI, CliVersionParser::KIND_UEFI},
    {TOKEN_DRIVER, CliVersionParser::KIND_DRIVER},
    {TOKEN_PD, CliVersionParser::KIND_DRIVES},
};

}  // namespace

CliVersionParser::CliVersionParser(int commandToken) : Parser(commandToken), versionKind(KIND_ALL)
{
    for (const VersionSelector& selector : VERSION_SELECTORS)
        addRule(selector.token, makeHandler(&CliVersionParser::onVersionKind));
}

Parser* CliVersionParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CliVersionParser(commandToken);
}

ArrayList<unsigned short>* CliVersionParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_CLIVERSION});
}

int CliVersionParser::onVersionKind(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr)
        return -1;
    for (const VersionSelector& selector : VERSION_SELECTORS) {
        if (token->getId() == selector.token) {
            token->setConsumed(1);
            versionKind = selector.kind;
            return 0;
        }
    }
    return -1;
}

ArrayList<ParsedObject*>* CliVersionParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned short token = getCommandToken();
    unsigned char kind = versionKind;
    return makeRequestsPerAdapter([token, kind](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) CliVersionPo(token, kind, adapter);
    });
}

namespace {

const ParserFactoryRegistration<CliVersionParser> registration;

}  // namespace
