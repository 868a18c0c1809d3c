#include "Parser/Cmd/VirtualDrive/LdPowerPolicyParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdPowerPolicyParser::LdPowerPolicyParser(int commandToken) : LdObjectsParser(commandToken), policy(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_LDSETPOWERPOLICY, "LDSetPowerPolicy"}, {TOKEN_NONE, "None"}, {TOKEN_MAX, "Maximum"},
        {TOKEN_AUTO, "Automatic"}, {TOKEN_DONOTCACHE, "MaximumWithoutCaching"}, {TOKEN_DEFAULT, "Default"},
        {TOKEN_LOGICAL_DRIVE, "L"}, {TOKEN_ALL_LOGICAL_DRIVE, "LAll"}, {TOKEN_ADAPTER, "a"},
        {TOKEN_ALL_ADAPTER, "aAll"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    for (unsigned short id : {TOKEN_NONE, TOKEN_MAX, TOKEN_AUTO, TOKEN_DONOTCACHE, TOKEN_DEFAULT})
        addRule(id, makeHandler(&LdPowerPolicyParser::onPowerSavePolicy));
}

LdPowerPolicyParser::~LdPowerPolicyParser()
{
}

Parser* LdPowerPolicyParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdPowerPolicyParser(commandToken);
}

ArrayList<unsigned short>* LdPowerPolicyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDSETPOWERPOLICY});
}

int LdPowerPolicyParser::onPowerSavePolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    if (policy != 0)
        return -1;
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_NONE, TOKEN_MAX, TOKEN_AUTO, TOKEN_DONOTCACHE,
                                                          TOKEN_DEFAULT});
    if (word == nullptr)
        return -1;
    policy = static_cast<short>(word->getId());
    return 0;
}

ArrayList<ParsedObject*>* LdPowerPolicyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdPowerPolicyParsedObject(getCommandToken(), &logicalDrives,
                                                          static_cast<unsigned short>(policy), adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdPowerPolicyParser> registration;
}  // namespace
