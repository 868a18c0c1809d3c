// The parsers of commands that take exactly one action word out of a fixed set, wherever it
// stands after the command word ("-AdpBIOS -Dsply -aN", "-AdpAutoRbld -Enbl -a0,1"): one request
// per adapter named, carrying the action word's token id, on which the processor branches.
#ifndef ACTIONWORDPARSER_H
#define ACTIONWORDPARSER_H

#include "Parser/ParsedObject.h"
#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"

#include <cstddef>

template <class Request>
class ActionWordParser : public Parser {
public:
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override
    {
        // A line without an action would leave the processor nothing to do but guess.
        if (acceptTokens(tokens) != 0 || action == 0)
            return nullptr;
        unsigned short token = getCommandToken();
        unsigned short chosen = action;
        return makeRequestsPerAdapter([token, chosen](unsigned char adapter) -> ParsedObject* {
            return new (noThrowNew) Request(token, chosen, adapter);
        });
    }

    // The command word; it also takes every action word of the class that follows it, up to
    // the end of the line. A second action word refuses the command: the line would ask for
    // two settings at once.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
    {
        Token* word = ParserUtil::tokenAt(tokens, position);
        if (word == nullptr || static_cast<short>(word->getId()) != commandToken)
            return -1;
        word->setConsumed(1);
        for (int next = position + 1; next < tokens->count(); ++next) {
            Token* token = ParserUtil::tokenAt(tokens, next);
            if (token == nullptr || !isActionWord(token->getId()))
                continue;
            token->setConsumed(1);
            if (action != 0)
                return -1;
            action = token->getId();
        }
        return 0;
    }

    // The action word's token id; 0 until one is read.
    unsigned short getAction() const { return action; }

protected:
    // `words` (count entries) are the class's action words; the array outlives the parser.
    ActionWordParser(int commandToken, const unsigned short* words, std::size_t count)
        : Parser(commandToken), actionWords(words), actionWordCount(count), action(0)
    {
        addRule(this->commandToken, makeHandler(&ActionWordParser::onCommandWord));
    }

private:
    bool isActionWord(unsigned short id) const
    {
        for (std::size_t i = 0; i < actionWordCount; ++i) {
            if (actionWords[i] == id)
                return true;
        }
        return false;
    }

    const unsigned short* actionWords;
    std::size_t actionWordCount;
    unsigned short action;
};

#endif
