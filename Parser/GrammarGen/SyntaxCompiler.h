// The compiler of syntax descriptions into a SyntaxMatcher's tables. It runs when the program
// is built (GrammarGenMain.cpp writes the command grammar's tables as constant data) and in
// the tests; the program itself never compiles a description.
//
// A table of GrammarRule rows (a nonterminal's name and its syntax, in the notation of
// GrammarTables.cpp) is compiled into one nondeterministic automaton, every nonterminal
// expanded in place; the description language has no recursion, only the repetitions x+ and
// x*, so this is exact. The "each at most once, in any order" groups (<a b c d>) become one
// state per subset of the parts already used, so no order of the parts has to be written out.
// The automaton is then made deterministic (subset construction), which keeps exactly the
// sequences it accepts and every prefix at which it refuses a token.
#ifndef PARSER_GRAMMARGEN_SYNTAXCOMPILER_H
#define PARSER_GRAMMARGEN_SYNTAXCOMPILER_H

#include "Parser/SyntaxAutomaton.h"

#include <functional>
#include <string>
#include <vector>

struct GrammarRule {
    const char* name;    // the nonterminal
    const char* syntax;  // its syntax description
};

// The command grammar's descriptions (GrammarTables.cpp); the first row is the start symbol.
extern const GrammarRule GRAMMAR_RULES[];
extern const int GRAMMAR_RULE_COUNT;

// The id of a terminal's name (the name without "TOKEN_"); 0xFFFF when there is none.
using TerminalIds = std::function<unsigned short(const char* name)>;

// A deterministic automaton in the layout of SyntaxTables.
struct SyntaxDfa {
    std::vector<unsigned int> firstEdge;
    std::vector<unsigned short> edgeToken;
    std::vector<unsigned int> edgeTarget;

    unsigned int stateCount() const { return static_cast<unsigned int>(firstEdge.size()) - 1; }
    // A view for SyntaxMatcher, valid while the automaton lives unchanged.
    SyntaxTables tables() const;
};

// Compiles the start nonterminal of the rules, followed by the end-of-line token (0).
// "" on success; otherwise why it failed (a description is malformed, names an unknown
// terminal or nonterminal, or is recursive), and `out` is undefined.
std::string compileSyntax(const GrammarRule* rules, int ruleCount, const char* startName,
                          const TerminalIds& terminalId, SyntaxDfa& out);

#endif
