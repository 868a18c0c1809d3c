// The tokens of a command line: a token id that says which word was read and a value that
// carries what the user typed.
//
// Which value a token carries follows from its id alone: TOKEN_NUMBER tokens carry a
// TokenValueInt, every other token a TokenValueStr. Readers test the id before they read the
// value of the matching class. A token owns its value; a value is never shared, so whoever
// wants to keep a text or number copies it out.
#ifndef PARSER_TOKEN_H
#define PARSER_TOKEN_H

#include "PavUtil/apstring.h"

class TokenValue {
public:
    // The text form of the value.
    virtual string toString() const = 0;
    virtual ~TokenValue() = 0;

protected:
    TokenValue() {}

private:
    TokenValue(const TokenValue&) = delete;
    TokenValue& operator=(const TokenValue&) = delete;
};

class TokenValueInt : public TokenValue {
public:
    explicit TokenValueInt(int value) : value(value) {}
    ~TokenValueInt() override {}

    int getValue() const { return value; }
    // The number formatted with "%d".
    string toString() const override;

private:
    int value;
};

class TokenValueStr : public TokenValue {
public:
    explicit TokenValueStr(const apstring& text) : value(text) {}
    ~TokenValueStr() override {}

    // The held text; the caller copies what it keeps.
    apstring& getValue() { return value; }
    const apstring& getValue() const { return value; }
    string toString() const override { return value; }

private:
    string value;
};

class Token {
public:
    // Takes ownership of the value; the consumed flag starts at 0.
    Token(unsigned short id, TokenValue* value) : id(id), value(value), consumed(0) {}
    // Deletes the value.
    virtual ~Token();

    unsigned short getId() const { return id; }
    // The value, still owned by the token.
    TokenValue* getValue() const { return value; }
    unsigned char isConsumed() const { return consumed; }
    void setConsumed(unsigned char flag) { consumed = flag; }

    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;

private:
    unsigned short id;
    TokenValue* value;
    unsigned char consumed;  // set to 1 by the rule or pass that has taken the token
};

#endif
