#include "Parser/Cmd/VirtualDrive/LdPropParser.h"

#include "Output/VoMessage.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

namespace {

// The property words of each command.
const unsigned short READ_WORDS[] = {TOKEN_CONSISTENCY, TOKEN_CACHE, TOKEN_ACCESS, TOKEN_DSKCACHE, TOKEN_PSPOLICY};
const unsigned short CHANGE_WORDS[] = {
    TOKEN_CONSISTENT, TOKEN_INCONSISTENT, TOKEN_CACHE_BADBBU_NO, TOKEN_WB, TOKEN_WT, TOKEN_CIO, TOKEN_DIO,
    TOKEN_RA, TOKEN_RAA, TOKEN_RAN, TOKEN_CACHE_BADBBU, TOKEN_ACCESS_RW, TOKEN_ACCESS_RO, TOKEN_ACCESS_BLK,
    TOKEN_DSKCACHE_EN, TOKEN_DSKCACHE_DIS, TOKEN_FORCED_WB, TOKEN_REMOVE_BLKACCESS};

template <size_t N>
bool listed(const unsigned short (&words)[N], unsigned short id)
{
    for (unsigned short word : words) {
        if (word == id)
            return true;
    }
    return false;
}

const short NO_PROPERTY = -1;

}  // namespace

LdPropParser::LdPropParser(int commandToken)
    : LdObjectsParser(commandToken), property(NO_PROPERTY), immediate(0), force(0)
{
    addRule(TOKEN_GET_LDPROPERTY, makeHandler(&LdPropParser::onCommandWord));
    addRule(TOKEN_SET_LDPROPERTY, makeHandler(&LdPropParser::onCommandWord));
    addRule(TOKEN_NAME, makeHandler(&LdPropParser::onName));
    addRule(TOKEN_DSBLPI, makeHandler(&LdPropParser::onDisablePi));
    addRule(TOKEN_FORCE, makeHandler(&LdPropParser::onForce));
    addRule(TOKEN_IMMEDIATE, makeHandler(&LdPropParser::onImmediate));
}

LdPropParser::~LdPropParser()
{
}

Parser* LdPropParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdPropParser(commandToken);
}

ArrayList<unsigned short>* LdPropParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_GET_LDPROPERTY, TOKEN_SET_LDPROPERTY});
}

int LdPropParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* command = ParserUtil::takeWord(tokens, position, {TOKEN_GET_LDPROPERTY, TOKEN_SET_LDPROPERTY});
    if (command == nullptr)
        return -1;
    Token* word = ParserUtil::tokenAt(tokens, position + 1);
    if (word == nullptr)
        return -1;
    bool reading = command->getId() == TOKEN_GET_LDPROPERTY;
    bool readWord = listed(READ_WORDS, word->getId());
    bool changeWord = listed(CHANGE_WORDS, word->getId());
    if (!readWord && !changeWord)
        return 0;  // -Name, -DsblPI and the rest have rules of their own
    if (readWord != reading) {
        printMessage(MSG_PARSER_INVALID_OPTION);
        return -1;
    }
    word->setConsumed(1);
    property = static_cast<short>(word->getId());
    return 0;
}

int LdPropParser::onName(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_NAME}) == nullptr)
        return -1;
    property = TOKEN_NAME;
    // "-LDGetProp -Name" has no text; a text follows only to set the name.
    Token* text = ParserUtil::tokenAt(tokens, position + 1);
    if (text != nullptr && text->getId() == TOKEN_ALPHANUM_CONSTANT) {
        if (!ParserUtil::getText(text, &name))
            return -1;
        text->setConsumed(1);
    }
    return 0;
}

int LdPropParser::onDisablePi(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_DSBLPI}) == nullptr)
        return -1;
    property = TOKEN_DSBLPI;
    return 0;
}

int LdPropParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

int LdPropParser::onImmediate(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_IMMEDIATE, &immediate);
}

ArrayList<ParsedObject*>* LdPropParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0 || property == NO_PROPERTY)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        LdPropParsedObject* request = new (noThrowNew) LdPropParsedObject(
            getCommandToken(), &logicalDrives, static_cast<unsigned short>(property), immediate, name.c_str(), adapter);
        // A request that lost its name text would rename the drive to nothing.
        if (request != nullptr && request->getName() == nullptr) {
            delete request;
            return nullptr;
        }
        return request;
    });
}

namespace {
const ParserFactoryRegistration<LdPropParser> registration;
}  // namespace
