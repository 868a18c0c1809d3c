// The command grammar: every command line is checked against it before any command parser
// runs. A line that is not a sentence of the grammar is rejected with one message naming the
// word at which it stopped fitting; a valid line is handed on as the scanner's token list.
//
// The grammar fixes the command words, the options of each command and their order, where the
// adapter choice stands and that the global options come last, in their fixed order, each at
// most once. Its syntax descriptions are the table GRAMMAR_RULES (GrammarGen/GrammarTables.cpp),
// compiled into constant tables when the program is built.
#ifndef PARSER_GRAMMAR_H
#define PARSER_GRAMMAR_H

#include "Parser/SyntaxAutomaton.h"
#include "PavUtil/List.h"
#include "PavUtil/apstring.h"

class Token;

// Results of yyparse.
constexpr int GRAMMAR_ACCEPTED = 0;
constexpr int GRAMMAR_SYNTAX_ERROR = 1;
constexpr int GRAMMAR_NOT_A_COMMAND = -1;  // the line does not start with a command word

// The grammar's recognizer: the tables generated from GRAMMAR_RULES by the build.
extern const SyntaxTables COMMAND_GRAMMAR_TABLES;

// Runs the grammar over the tokens that it pulls one at a time from the scanner (yylex).
// 0: the line is valid; 1: a syntax error (the first word at which the line stops being the
// beginning of any valid line, or the end of a line that ends too early, is named);
// -1: the first word is no command word. In the last case a word that is not in the keyword
// table ends the reading at once; any other first word is named and the rest of the line is
// still read (its stray characters are echoed). Every failure prints the rejection message once.
int yyparse();

// Prints the rejection message naming the scanner's last word; the argument is not used.
void yyerror(const char* text);

// Checks one command line (the program's arguments joined, each followed by one blank).
// Returns the token list when the line is valid, after printing "\r", 37 blanks and a line end
// (which overwrites the stray characters the scanner echoed); the caller owns the list and
// its tokens. Returns null when the line is not valid (the message has been printed).
ArrayList<Token*>* tokenize(const char* text);

// Holds the token list of one accepted line for the run.
class Tokenizer {
public:
    Tokenizer() : tokens(nullptr) {}
    // Deletes every token of the list, in list order, and the list.
    virtual ~Tokenizer();

    // Checks the line with tokenize and keeps the result (a null result too).
    ArrayList<Token*>* tokenize(const apstring& commandLine);

    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;

private:
    void release();

    ArrayList<Token*>* tokens;
};

// Deletes every token of the list in list order, then the list; null does nothing.
void deleteTokenList(ArrayList<Token*>* tokens);

#endif
