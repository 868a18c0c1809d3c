#include "Parser/Grammar.h"

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "Parser/Scanner.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

namespace {

// Printed after a valid line: back to the start of the line, blanks over whatever the scanner
// echoed there, and the line end.
const char* const BLANK_OUT_LINE = "\r                                     \n";

}  // namespace

void yyerror(const char* /*text*/)
{
    const char* word = scannerLastWordText();
    printMessage(MSG_INVALID_INPUT_AT_TOKEN, word != nullptr ? word : "");
}

int yyparse()
{
    SyntaxMatcher matcher(COMMAND_GRAMMAR_TABLES);

    int token = yylex();
    if (token == TOKEN_UNKNOWN) {
        // A first word that is not in the keyword table: nothing more is read.
        yyerror("unknown command");
        return GRAMMAR_NOT_A_COMMAND;
    }
    if (!matcher.step(static_cast<unsigned short>(token))) {
        // A first word that is no command word (an option word, or the end of the line): the
        // rest of the line is still read.
        yyerror("not a command");
        while (yylex() != TOKEN_END_OF_LINE) {
        }
        return GRAMMAR_NOT_A_COMMAND;
    }
    while (token != TOKEN_END_OF_LINE) {
        token = yylex();
        if (!matcher.step(static_cast<unsigned short>(token))) {
            yyerror("syntax error");
            return GRAMMAR_SYNTAX_ERROR;
        }
    }
    return GRAMMAR_ACCEPTED;
}

void deleteTokenList(ArrayList<Token*>* tokens)
{
    if (tokens == nullptr)
        return;
    for (unsigned char i = 0; i < tokens->count(); ++i)
        delete tokens->get(i);
    delete tokens;
}

ArrayList<Token*>* tokenize(const char* text)
{
    scannerInit(text);
    if (scannerTokenList() == nullptr) {
        scannerRelease();
        return nullptr;
    }
    int result = yyparse();
    ArrayList<Token*>* tokens = scannerTakeTokenList();
    if (result == GRAMMAR_ACCEPTED) {
        printMessage(MSG_TEXT, BLANK_OUT_LINE);
    } else {
        deleteTokenList(tokens);
        tokens = nullptr;
    }
    scannerRelease();
    return tokens;
}

Tokenizer::~Tokenizer()
{
    release();
}

void Tokenizer::release()
{
    deleteTokenList(tokens);
    tokens = nullptr;
}

ArrayList<Token*>* Tokenizer::tokenize(const apstring& commandLine)
{
    release();
    tokens = ::tokenize(commandLine.c_str());
    return tokens;
}
