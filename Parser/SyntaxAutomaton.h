// A recognizer of token sequences: a deterministic automaton held as constant tables.
//
// The command grammar's automaton is compiled from its syntax descriptions when the program
// is built (Parser/GrammarGen), so a run only walks the tables. State 0 is the start; a
// state's edges are sorted by token, so a step is one binary search. The first token for
// which the current state has no edge is exactly the first token at which the tokens read so
// far stop being the beginning of any valid sequence, which is where the command line is
// rejected; a sequence is valid once the end-of-line token (0) has been taken.
#ifndef PARSER_SYNTAXAUTOMATON_H
#define PARSER_SYNTAXAUTOMATON_H

struct SyntaxTables {
    const unsigned int* firstEdge;    // per state, its first edge; stateCount + 1 entries
    const unsigned short* edgeToken;  // per edge, its token, ascending within a state
    const unsigned int* edgeTarget;   // per edge, the state it leads to
    unsigned int stateCount;
};

// One run of an automaton over a token sequence.
class SyntaxMatcher {
public:
    explicit SyntaxMatcher(const SyntaxTables& tables) : tables(tables), state(0) {}

    // Back to the start state.
    void start() { state = 0; }
    // Advances over one token. False when the token continues no valid sequence: the sequence
    // read so far, with this token, begins no valid sequence (the state stays as it was).
    // After the end-of-line token (0) a true result means the sequence is valid.
    bool step(unsigned short token);
    // True when the token would continue the sequence (nothing changes).
    bool accepts(unsigned short token) const { return findEdge(token) >= 0; }

private:
    // The current state's edge for the token; -1 when it has none.
    long findEdge(unsigned short token) const;

    const SyntaxTables& tables;
    unsigned int state;
};

#endif
