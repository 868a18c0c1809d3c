#include "Parser/Parser.h"

#include "Output/VoMessage.h"
#include "Parser/ParsedObject.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

namespace {

// Consumes the option token at position and the numbers that follow it, each handed to take
// first (0 taken; anything else fails the option). A number token without a number reaches
// take as -1.
template <typename Take>
int takeOptionNumbers(ArrayList<Token*>* tokens, unsigned char position, unsigned short optionId,
                      Take take)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || token->getId() != optionId)
        return -1;
    token->setConsumed(1);

    for (int next = position + 1;; ++next) {
        Token* number = ParserUtil::tokenAt(tokens, next);
        if (number == nullptr || number->getId() != TOKEN_NUMBER)
            break;
        int value = -1;  // stays -1 when the token holds no number
        ParserUtil::getNumber(number, &value);
        if (take(value) != 0)
            return -1;
        number->setConsumed(1);
    }
    return 0;
}

}  // namespace

int checkSyntaxList(ArrayList<Token*>* /*syntaxList*/)
{
    return 1;
}

// ---- Parser ---------------------------------------------------------------------------------

Parser::Parser(int commandToken)
    : syntaxList(nullptr),
      ruleCount(0),
      adapters(4),
      commandToken(static_cast<short>(commandToken))
{
    defaultRule = makeHandler(&Parser::onUnexpectedToken);
    addRule(this->commandToken, makeHandler(&Parser::onCommandWord));
    addRule(TOKEN_ADAPTER, makeHandler(&Parser::onAdapterOption));
    addRule(TOKEN_ALL_ADAPTER, makeHandler(&Parser::onAllAdapters));
}

Parser::~Parser()
{
    if (syntaxList != nullptr) {
        for (unsigned char i = 0; i < syntaxList->count(); ++i)
            delete syntaxList->get(i);
        delete syntaxList;
    }
}

int Parser::addRule(short tokenId, TokenHandler handler)
{
    if (ruleCount >= MAX_RULES)
        return -1;
    rules[ruleCount].tokenId = tokenId;
    rules[ruleCount].handler = handler;
    ++ruleCount;
    return 0;
}

TokenHandler Parser::findRule(short tokenId) const
{
    for (int i = ruleCount - 1; i >= 0; --i) {
        if (rules[i].tokenId == tokenId)
            return rules[i].handler;
    }
    return defaultRule;
}

int Parser::dispatchTokens(ArrayList<Token*>* tokens)
{
    if (tokens == nullptr)
        return -1;
    int result = 0;
    // A list holds at most 255 tokens, so every position fits the handlers' 8-bit argument.
    for (int position = 0; position < tokens->count(); ++position) {
        Token* token = tokens->get(static_cast<unsigned char>(position));
        if (token == nullptr || token->isConsumed())
            continue;
        TokenHandler handler = findRule(static_cast<short>(token->getId()));
        result = handler.call(tokens, static_cast<unsigned char>(position));
        if (result != 0)
            break;
    }
    return result;
}

int Parser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || static_cast<short>(token->getId()) != commandToken)
        return -1;
    token->setConsumed(1);
    return 0;
}

int Parser::onAdapterOption(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeOptionNumbers(tokens, position, TOKEN_ADAPTER, [this](int value) {
        // The whole number is checked: 256 is no adapter 0.
        if (value < 0 || value > MAX_ADAPTER_NUMBER) {
            printMessage(MSG_TEXT, "Invalid Adapter number.\n");
            return -1;
        }
        return adapters.addUnique(static_cast<unsigned char>(value), true);
    });
}

int Parser::onAllAdapters(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || token->getId() != TOKEN_ALL_ADAPTER)
        return -1;
    if (adapters.add(ALL_ADAPTERS) != 0)
        return -1;
    token->setConsumed(1);
    return 0;
}

int Parser::onUnexpectedToken(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr)
        return 0;
    int number = 0;
    if (ParserUtil::getNumber(token, &number)) {
        printMessage(MSG_PARSER_UNEXPECTED_NUMBER, number);
    } else {
        string text;
        ParserUtil::getText(token, &text);
        printMessage(MSG_PARSER_UNEXPECTED_TEXT, text.c_str());
    }
    // The token stays unconsumed and the command is not rejected for it.
    return 0;
}

int Parser::createSyntaxList()
{
    if (syntaxList == nullptr)
        syntaxList = new (noThrowNew) ArrayList<Token*>(4);
    return syntaxList == nullptr ? -1 : 0;
}

int Parser::addSyntaxWord(unsigned short tokenId, const char* word)
{
    if (createSyntaxList() != 0)
        return -1;
    TokenValueStr* value = new (noThrowNew) TokenValueStr(string(word));
    if (value == nullptr)
        return -1;
    Token* token = new (noThrowNew) Token(tokenId, value);
    if (token == nullptr) {
        delete value;
        return -1;
    }
    if (syntaxList->add(token) != 0) {
        delete token;
        return -1;
    }
    return 0;
}

int Parser::acceptTokens(ArrayList<Token*>* tokens)
{
    if (!checkSyntaxList(syntaxList))
        return -1;
    // Handlers answer 0 or -1; any other answer has stopped the walk early, so the line has
    // not been read whole and is not acted on either.
    return dispatchTokens(tokens) == 0 ? 0 : -1;
}

void Parser::deleteRequests(ArrayList<ParsedObject*>* requests)
{
    if (requests == nullptr)
        return;
    for (unsigned char i = 0; i < requests->count(); ++i)
        delete requests->get(i);
    delete requests;
}

void Parser::deleteRequest(ParsedObject* request)
{
    delete request;
}

// ---- LdObjectsParser ------------------------------------------------------------------------

LdObjectsParser::LdObjectsParser(int commandToken) : Parser(commandToken), logicalDrives(4)
{
    addRule(TOKEN_LOGICAL_DRIVE, makeHandler(&LdObjectsParser::onLogicalDriveOption));
    addRule(TOKEN_ALL_LOGICAL_DRIVE, makeHandler(&LdObjectsParser::onAllLogicalDrives));
}

LdObjectsParser::~LdObjectsParser()
{
}

int LdObjectsParser::onLogicalDriveOption(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeLogicalDriveOption(tokens, position, &logicalDrives);
}

int LdObjectsParser::onAllLogicalDrives(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || token->getId() != TOKEN_ALL_LOGICAL_DRIVE)
        return -1;
    if (logicalDrives.add(ALL_LDS) != 0)
        return -1;
    token->setConsumed(1);
    return 0;
}

int LdObjectsParser::acceptLogicalDriveTokens(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0 || logicalDrives.count() == 0)
        return -1;
    return 0;
}
