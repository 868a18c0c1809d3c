// A recognizer of token sequences described by a table of syntax descriptions.
//
// SyntaxAutomaton compiles the descriptions (GrammarRule rows: a nonterminal's name and its
// syntax, in the notation of GrammarTables.cpp) into one nondeterministic automaton, with every
// nonterminal expanded in place; the description language has no recursion, only the
// repetitions x+ and x*, so this is exact. SyntaxMatcher runs it as a set of live states over
// one token at a time: the first token after which no state is live is exactly the first token
// at which the tokens read so far stop being the beginning of any valid sequence, which is
// where the command line is rejected.
//
// The "each at most once, in any order" groups (<a b c d>) become one state per subset of the
// parts already used, so no order of the parts has to be written out.
#ifndef PARSER_SYNTAXAUTOMATON_H
#define PARSER_SYNTAXAUTOMATON_H

struct GrammarRule {
    const char* name;    // the nonterminal
    const char* syntax;  // its syntax description
};

class SyntaxAutomaton {
public:
    SyntaxAutomaton();
    virtual ~SyntaxAutomaton();

    // Compiles the start nonterminal of the rules, followed by the end-of-line token (0).
    // 0 on success; -1 when a description is malformed, names an unknown terminal or
    // nonterminal, is recursive, or memory runs out (buildError says which).
    int build(const GrammarRule* rules, int ruleCount, const char* startName);

    // Why the last build failed; "" after a successful one.
    const char* buildError() const { return error; }
    bool isBuilt() const { return built; }
    int stateCount() const { return count; }

    SyntaxAutomaton(const SyntaxAutomaton&) = delete;
    SyntaxAutomaton& operator=(const SyntaxAutomaton&) = delete;

private:
    friend class SyntaxMatcher;
    friend class SyntaxCompiler;

    struct State {
        int terminal;  // token id of the state's one token edge, -1 for none
        int target;    // where the token edge leads
        int epsilon1;  // empty edges, -1 for none
        int epsilon2;
    };

    // A new state without edges; -1 when out of memory.
    int addState();
    void reset();

    State* states;
    int count;
    int capacity;
    int startState;
    int acceptState;
    bool built;
    char error[128];
};

// The live states of one run of an automaton over a token sequence.
class SyntaxMatcher {
public:
    explicit SyntaxMatcher(const SyntaxAutomaton& automaton);
    virtual ~SyntaxMatcher();

    // Makes the start states live; false when the automaton is not built or out of memory.
    bool start();
    // Advances over one token. False when the token continues no live state: the sequence
    // read so far, with this token, begins no valid sequence (the live states stay as they
    // were). After the end-of-line token (0) a true result means the sequence is valid.
    bool step(unsigned short token);
    // True when the token would continue a live state (nothing changes).
    bool accepts(unsigned short token) const;

    SyntaxMatcher(const SyntaxMatcher&) = delete;
    SyntaxMatcher& operator=(const SyntaxMatcher&) = delete;

private:
    void addClosure(int state);

    const SyntaxAutomaton& automaton;
    int* current;
    int currentCount;
    int* next;
    int nextCount;
    int* stack;
    unsigned int* mark;
    unsigned int generation;
};

#endif
