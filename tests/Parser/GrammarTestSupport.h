// Helpers of the scanner and grammar tests: a fresh scanner state per line, the console
// printer on the screen only, and the captured standard output (the echo and the messages
// share it).
#ifndef TESTS_GRAMMAR_GRAMMARTESTSUPPORT_H
#define TESTS_GRAMMAR_GRAMMARTESTSUPPORT_H

#include "Output/VoPrint.h"
#include "Parser/Grammar.h"
#include "Parser/Scanner.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace grammartest {

// "\r", 37 blanks and a line end: printed after a valid line.
inline std::string blankOutLine()
{
    return "\r" + std::string(37, ' ') + "\n";
}

// The rejection message naming a word.
inline std::string rejection(const std::string& word)
{
    return "\rInvalid input at or near token " + word + std::string(43, ' ') + "\n";
}

inline bool showsValue(unsigned short id)
{
    return id == TOKEN_NUMBER || id == TOKEN_DEC_NUMBER || id == TOKEN_ALPHANUM_CONSTANT ||
           id == TOKEN_CHANNEL_TARGET_LIST || id == TOKEN_ENCDEVID_LIST;
}

// Token names without their prefix, value tokens with their value: "PDLIST ADAPTER NUMBER(0)".
inline std::string render(ArrayList<Token*>* tokens)
{
    if (tokens == nullptr)
        return "<null>";
    std::string out;
    for (unsigned char i = 0; i < tokens->count(); ++i) {
        Token* token = tokens->get(i);
        const char* name = tokenName(token->getId());
        if (!out.empty())
            out += ' ';
        out += name != nullptr ? name + 6 : "?";
        if (showsValue(token->getId()))
            out += "(" + std::string(token->getValue()->toString().c_str()) + ")";
    }
    return out;
}

// Every token's text, separated by '|'.
inline std::string texts(ArrayList<Token*>* tokens)
{
    std::string out;
    for (unsigned char i = 0; tokens != nullptr && i < tokens->count(); ++i) {
        if (i > 0)
            out += '|';
        out += tokens->get(i)->getValue()->toString().c_str();
    }
    return out;
}

// The outcome of checking one line.
struct Checked {
    std::string tokens;  // render() of the list, "<null>" when rejected
    std::string texts;
    std::string output;  // everything written to standard output
};

inline void quietPrinter()
{
    VoPrint::instance()->setMode(VOPRINT_MODE_SCREEN);
    VoPrint::instance()->setPageLength(0);
}

// Checks one line from a fresh scanner state, as a new process would.
inline Checked check(const std::string& line)
{
    quietPrinter();
    scannerResetState();
    testsupport::StreamCapture captured;
    ArrayList<Token*>* tokens = tokenize(line.c_str());
    std::fflush(stdout);
    Checked result;
    result.output = captured.take();
    result.tokens = render(tokens);
    result.texts = texts(tokens);
    deleteTokenList(tokens);
    return result;
}

// The scanner alone over one line: every id yylex returns until the end, the tokens made and
// the echo.
struct Scanned {
    std::vector<int> ids;
    std::string tokens;
    std::string texts;
    std::string echo;
    std::string lastWord;
};

inline Scanned scan(const std::string& line)
{
    scannerResetState();
    testsupport::StreamCapture captured;
    scannerInit(line.c_str());
    Scanned result;
    for (int id = yylex(); id != 0; id = yylex())
        result.ids.push_back(id);
    std::fflush(stdout);
    result.echo = captured.take();
    const char* last = scannerLastWordText();
    result.lastWord = last != nullptr ? last : "<none>";
    ArrayList<Token*>* tokens = scannerTakeTokenList();
    result.tokens = render(tokens);
    result.texts = texts(tokens);
    deleteTokenList(tokens);
    scannerRelease();
    return result;
}

}  // namespace grammartest

#endif
