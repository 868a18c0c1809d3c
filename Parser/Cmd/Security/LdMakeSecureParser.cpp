#include "Parser/Cmd/Security/LdMakeSecureParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdMakeSecureParser::LdMakeSecureParser(int commandToken) : LdObjectsParser(commandToken)
{
    addSyntaxWord(TOKEN_LDMAKESECURE, "LDMakeSecure");
    addSyntaxWord(TOKEN_LOGICAL_DRIVE, "L");
    addSyntaxWord(TOKEN_ALL_LOGICAL_DRIVE, "LAll");
    addSyntaxWord(TOKEN_ADAPTER, "a");
}

LdMakeSecureParser::~LdMakeSecureParser()
{
}

Parser* LdMakeSecureParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdMakeSecureParser(commandToken);
}

ArrayList<unsigned short>* LdMakeSecureParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDMAKESECURE});
}

ArrayList<ParsedObject*>* LdMakeSecureParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdMakeSecureParsedObject(getCommandToken(), &logicalDrives, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdMakeSecureParser> registration;
}  // namespace
