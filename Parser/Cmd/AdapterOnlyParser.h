// The parsers of commands that take nothing but their command word and the adapter choice
// ("-AdpAllInfo -aN|-a0,1,2|-aALL" and the like): one request per adapter named, carrying only
// a command token and the adapter number.
#ifndef ADAPTERONLYPARSER_H
#define ADAPTERONLYPARSER_H

#include "Parser/ParsedObject.h"
#include "Parser/Parser.h"

template <class Request>
class AdapterOnlyParser : public Parser {
public:
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override
    {
        if (acceptTokens(tokens) != 0)
            return nullptr;
        unsigned short token = requestToken;
        return makeRequestsPerAdapter([token](unsigned char adapter) -> ParsedObject* {
            return new (noThrowNew) Request(token, adapter);
        });
    }

    // The own command-word rule of the classes that add one (it replaces the base's): the
    // token must be the parser's command word; it is taken and the parser's command token is
    // the word's id.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
    {
        return Parser::onCommandWord(tokens, position);
    }

    // The command token every request carries.
    unsigned short getRequestToken() const { return requestToken; }

protected:
    // `requestToken` is the parser's own command token for most commands and a fixed id for
    // the commands whose requests always carry one.
    AdapterOnlyParser(int commandToken, unsigned short requestToken)
        : Parser(commandToken), requestToken(requestToken)
    {
    }

    void addOwnCommandWordRule()
    {
        addRule(commandToken, makeHandler(&AdapterOnlyParser::onCommandWord));
    }

private:
    unsigned short requestToken;
};

#endif
