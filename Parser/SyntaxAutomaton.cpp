#include "Parser/SyntaxAutomaton.h"

#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

#include <cstdio>
#include <cstring>

namespace {

// Longest terminal or nonterminal name.
const int MAX_NAME = 63;
// Deepest nesting of nonterminals; a deeper one can only come from a recursive description.
const int MAX_RULE_DEPTH = 40;
// Most branches of one choice (the widest of the grammar, the command words, has about 130).
const int MAX_BRANCHES = 160;
// Most parts of one any-order group (the group makes one state per subset of its parts).
const int MAX_ANY_ORDER_PARTS = 6;

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// A word of capitals, digits and underscores names a terminal.
bool isTerminalName(const char* name)
{
    for (const char* c = name; *c != '\0'; ++c) {
        if (!((*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') || *c == '_'))
            return false;
    }
    return true;
}

}  // namespace

// Compiles syntax descriptions into the states of a SyntaxAutomaton (Thompson's construction:
// every construct becomes a fragment with one entry state and one exit state without edges).
class SyntaxCompiler {
public:
    SyntaxCompiler(SyntaxAutomaton& automaton, const GrammarRule* rules, int ruleCount)
        : automaton(automaton), rules(rules), ruleCount(ruleCount), depth(0), failed(false)
    {
    }

    struct Fragment {
        int entry;
        int exit;
    };

    bool compileRule(const char* name, Fragment& out);
    bool hasFailed() const { return failed; }

private:
    bool fail(const char* why, const char* name = "")
    {
        if (!failed)
            std::snprintf(automaton.error, sizeof(automaton.error), "%s%s%s", why,
                          name[0] != '\0' ? " " : "", name);
        failed = true;
        return false;
    }

    int newState()
    {
        int state = automaton.addState();
        if (state < 0)
            fail("out of memory");
        return state;
    }

    void link(int from, int to)
    {
        if (failed)
            return;
        SyntaxAutomaton::State& s = automaton.states[from];
        if (s.epsilon1 < 0)
            s.epsilon1 = to;
        else if (s.epsilon2 < 0)
            s.epsilon2 = to;
        else
            fail("internal error: a state with three empty edges");
    }

    static void skipSpaces(const char*& p)
    {
        while (*p == ' ')
            ++p;
    }

    bool readName(const char*& p, char* name);
    bool emptyFragment(Fragment& out);
    bool fanOut(int from, const int* targets, int targetCount);
    bool choice(const Fragment* branches, int branchCount, Fragment& out);
    bool parseAlternatives(const char*& p, Fragment& out);
    bool parseSequence(const char*& p, Fragment& out);
    bool parseItem(const char*& p, Fragment& out);
    bool parseUnit(const char*& p, Fragment& out);
    bool parseAnyOrder(const char*& p, Fragment& out);
    bool skipItem(const char*& p);

    SyntaxAutomaton& automaton;
    const GrammarRule* rules;
    int ruleCount;
    int depth;
    bool failed;
};

bool SyntaxCompiler::readName(const char*& p, char* name)
{
    int len = 0;
    while (isNameChar(*p)) {
        if (len == MAX_NAME)
            return fail("name too long");
        name[len++] = *p++;
    }
    name[len] = '\0';
    if (len == 0)
        return fail("syntax error in a description");
    return true;
}

bool SyntaxCompiler::emptyFragment(Fragment& out)
{
    out.entry = out.exit = newState();
    return out.entry >= 0;
}

// Empty edges from `from` (a state without edges) to every target: a chain of states with two
// empty edges each when there are more than two targets.
bool SyntaxCompiler::fanOut(int from, const int* targets, int targetCount)
{
    int split = from;
    for (int i = 0; i < targetCount; ++i) {
        if (i >= targetCount - 2) {
            link(split, targets[i]);
            continue;
        }
        int nextSplit = newState();
        if (nextSplit < 0)
            return false;
        link(split, targets[i]);
        link(split, nextSplit);
        split = nextSplit;
    }
    return !failed;
}

// A fragment that goes through any one of the branches.
bool SyntaxCompiler::choice(const Fragment* branches, int branchCount, Fragment& out)
{
    if (branchCount == 1) {
        out = branches[0];
        return true;
    }
    out.entry = newState();
    out.exit = newState();
    if (out.entry < 0 || out.exit < 0)
        return false;
    int targets[MAX_BRANCHES];
    for (int i = 0; i < branchCount; ++i) {
        targets[i] = branches[i].entry;
        link(branches[i].exit, out.exit);
    }
    return fanOut(out.entry, targets, branchCount);
}

bool SyntaxCompiler::compileRule(const char* name, Fragment& out)
{
    const GrammarRule* rule = nullptr;
    for (int i = 0; i < ruleCount; ++i) {
        if (std::strcmp(rules[i].name, name) == 0) {
            rule = &rules[i];
            break;
        }
    }
    if (rule == nullptr)
        return fail("unknown nonterminal", name);
    if (depth >= MAX_RULE_DEPTH)
        return fail("recursive description", name);
    ++depth;
    const char* p = rule->syntax;
    bool ok = parseAlternatives(p, out);
    skipSpaces(p);
    if (ok && *p != '\0')
        ok = fail("unbalanced brackets in a description");
    --depth;
    return ok;
}

// sequence ('|' sequence)*
bool SyntaxCompiler::parseAlternatives(const char*& p, Fragment& out)
{
    Fragment branches[MAX_BRANCHES];
    int branchCount = 0;
    for (;;) {
        if (branchCount == MAX_BRANCHES)
            return fail("too many alternatives");
        if (!parseSequence(p, branches[branchCount]))
            return false;
        ++branchCount;
        skipSpaces(p);
        if (*p != '|')
            break;
        ++p;
    }
    return choice(branches, branchCount, out);
}

// item*, up to '|', a closing bracket or the end.
bool SyntaxCompiler::parseSequence(const char*& p, Fragment& out)
{
    if (!emptyFragment(out))
        return false;
    for (;;) {
        skipSpaces(p);
        if (*p == '\0' || *p == '|' || *p == ')' || *p == ']' || *p == '>')
            return true;
        Fragment item;
        if (!parseItem(p, item))
            return false;
        link(out.exit, item.entry);
        out.exit = item.exit;
    }
}

// unit, optionally followed by '+' (one or more) or '*' (zero or more).
bool SyntaxCompiler::parseItem(const char*& p, Fragment& out)
{
    Fragment unit;
    if (!parseUnit(p, unit))
        return false;
    if (*p == '+') {
        ++p;
        int loop = newState();
        int exit = newState();
        if (loop < 0 || exit < 0)
            return false;
        link(unit.exit, loop);
        link(loop, unit.entry);
        link(loop, exit);
        out.entry = unit.entry;
        out.exit = exit;
    } else if (*p == '*') {
        ++p;
        int loop = newState();
        int exit = newState();
        if (loop < 0 || exit < 0)
            return false;
        link(loop, unit.entry);
        link(loop, exit);
        link(unit.exit, loop);
        out.entry = loop;
        out.exit = exit;
    } else {
        out = unit;
    }
    return true;
}

bool SyntaxCompiler::parseUnit(const char*& p, Fragment& out)
{
    skipSpaces(p);
    if (*p == '(' || *p == '[') {
        char close = (*p == '(') ? ')' : ']';
        bool optional = (*p == '[');
        ++p;
        Fragment inner;
        if (!parseAlternatives(p, inner))
            return false;
        skipSpaces(p);
        if (*p != close)
            return fail("unbalanced brackets in a description");
        ++p;
        if (!optional) {
            out = inner;
            return true;
        }
        Fragment skip;
        if (!emptyFragment(skip))
            return false;
        Fragment branches[2] = {inner, skip};
        return choice(branches, 2, out);
    }
    if (*p == '<')
        return parseAnyOrder(p, out);

    char name[MAX_NAME + 1];
    if (!readName(p, name))
        return false;
    if (!isTerminalName(name))
        return compileRule(name, out);
    unsigned short id = tokenIdByName(name);
    if (id == TOKEN_UNKNOWN)
        return fail("unknown terminal", name);
    out.entry = newState();
    out.exit = newState();
    if (out.entry < 0 || out.exit < 0)
        return false;
    automaton.states[out.entry].terminal = id;
    automaton.states[out.entry].target = out.exit;
    return true;
}

// Steps over one item without compiling it.
bool SyntaxCompiler::skipItem(const char*& p)
{
    skipSpaces(p);
    int nesting = 0;
    do {
        char c = *p;
        if (c == '\0')
            return fail("unbalanced brackets in a description");
        if (c == '(' || c == '[' || c == '<') {
            ++nesting;
            ++p;
        } else if (c == ')' || c == ']' || c == '>') {
            if (nesting == 0)
                return fail("unbalanced brackets in a description");
            --nesting;
            ++p;
        } else if (isNameChar(c)) {
            while (isNameChar(*p))
                ++p;
        } else {
            ++p;
        }
    } while (nesting > 0);
    if (*p == '+' || *p == '*')
        ++p;
    return true;
}

// '<' item item ... '>': each item at most once, in any order, every one optional. One state
// per subset of the items used so far; from each, any unused item leads to the larger subset,
// and the group may end at any of them.
bool SyntaxCompiler::parseAnyOrder(const char*& p, Fragment& out)
{
    ++p;  // '<'
    const char* parts[MAX_ANY_ORDER_PARTS];
    int partCount = 0;
    for (;;) {
        skipSpaces(p);
        if (*p == '>')
            break;
        if (partCount == MAX_ANY_ORDER_PARTS)
            return fail("too many parts in an any-order group");
        parts[partCount++] = p;
        if (!skipItem(p))
            return false;
    }
    ++p;  // '>'

    const int subsets = 1 << partCount;
    int node[1 << MAX_ANY_ORDER_PARTS];
    for (int mask = 0; mask < subsets; ++mask) {
        node[mask] = newState();
        if (node[mask] < 0)
            return false;
    }
    int exit = newState();
    if (exit < 0)
        return false;
    for (int mask = 0; mask < subsets; ++mask) {
        // Any unused part leads to the larger subset; the group may also end here.
        int targets[MAX_ANY_ORDER_PARTS + 1];
        int targetCount = 0;
        for (int i = 0; i < partCount; ++i) {
            if (mask & (1 << i))
                continue;
            const char* part = parts[i];
            Fragment copy;
            if (!parseItem(part, copy))
                return false;
            link(copy.exit, node[mask | (1 << i)]);
            targets[targetCount++] = copy.entry;
        }
        targets[targetCount++] = exit;
        if (!fanOut(node[mask], targets, targetCount))
            return false;
    }
    out.entry = node[0];
    out.exit = exit;
    return true;
}

SyntaxAutomaton::SyntaxAutomaton()
    : states(nullptr), count(0), capacity(0), startState(-1), acceptState(-1), built(false)
{
    error[0] = '\0';
}

SyntaxAutomaton::~SyntaxAutomaton()
{
    delete[] states;
}

void SyntaxAutomaton::reset()
{
    delete[] states;
    states = nullptr;
    count = 0;
    capacity = 0;
    startState = -1;
    acceptState = -1;
    built = false;
    error[0] = '\0';
}

int SyntaxAutomaton::addState()
{
    if (count == capacity) {
        int larger = capacity == 0 ? 1024 : capacity * 2;
        State* grown = new (noThrowNew) State[larger];
        if (grown == nullptr)
            return -1;
        if (count > 0)
            std::memcpy(grown, states, sizeof(State) * static_cast<size_t>(count));
        delete[] states;
        states = grown;
        capacity = larger;
    }
    State& s = states[count];
    s.terminal = -1;
    s.target = -1;
    s.epsilon1 = -1;
    s.epsilon2 = -1;
    return count++;
}

int SyntaxAutomaton::build(const GrammarRule* rules, int ruleCount, const char* startName)
{
    reset();
    SyntaxCompiler compiler(*this, rules, ruleCount);
    SyntaxCompiler::Fragment line;
    if (!compiler.compileRule(startName, line))
        return -1;
    int endEntry = addState();
    int endExit = addState();
    if (endEntry < 0 || endExit < 0) {
        std::snprintf(error, sizeof(error), "out of memory");
        return -1;
    }
    states[endEntry].terminal = TOKEN_END_OF_LINE;
    states[endEntry].target = endExit;
    State& last = states[line.exit];
    if (last.epsilon1 < 0)
        last.epsilon1 = endEntry;
    else
        last.epsilon2 = endEntry;
    startState = line.entry;
    acceptState = endExit;
    built = true;
    return 0;
}

SyntaxMatcher::SyntaxMatcher(const SyntaxAutomaton& automaton)
    : automaton(automaton), current(nullptr), currentCount(0), next(nullptr), nextCount(0),
      stack(nullptr), mark(nullptr), generation(0)
{
}

SyntaxMatcher::~SyntaxMatcher()
{
    delete[] current;
    delete[] next;
    delete[] stack;
    delete[] mark;
}

bool SyntaxMatcher::start()
{
    if (!automaton.built)
        return false;
    int n = automaton.count;
    if (current == nullptr) {
        current = new (noThrowNew) int[n];
        next = new (noThrowNew) int[n];
        // Every state pushes at most its two empty edges once it is marked.
        stack = new (noThrowNew) int[2 * n + 1];
        mark = new (noThrowNew) unsigned int[n]();
        if (current == nullptr || next == nullptr || stack == nullptr || mark == nullptr)
            return false;
    }
    ++generation;
    nextCount = 0;
    addClosure(automaton.startState);
    int* swap = current;
    current = next;
    next = swap;
    currentCount = nextCount;
    return true;
}

// Adds the state and every state its empty edges reach to `next`; only states with a token
// edge (and the accepting state) are kept, the others only pass on.
void SyntaxMatcher::addClosure(int state)
{
    int depth = 0;
    stack[depth++] = state;
    while (depth > 0) {
        int s = stack[--depth];
        if (mark[s] == generation)
            continue;
        mark[s] = generation;
        const SyntaxAutomaton::State& st = automaton.states[s];
        if (st.terminal >= 0 || s == automaton.acceptState)
            next[nextCount++] = s;
        if (st.epsilon2 >= 0)
            stack[depth++] = st.epsilon2;
        if (st.epsilon1 >= 0)
            stack[depth++] = st.epsilon1;
    }
}

bool SyntaxMatcher::accepts(unsigned short token) const
{
    for (int i = 0; i < currentCount; ++i) {
        if (automaton.states[current[i]].terminal == token)
            return true;
    }
    return false;
}

bool SyntaxMatcher::step(unsigned short token)
{
    if (current == nullptr || !accepts(token))
        return false;
    ++generation;
    nextCount = 0;
    for (int i = 0; i < currentCount; ++i) {
        const SyntaxAutomaton::State& st = automaton.states[current[i]];
        if (st.terminal == token)
            addClosure(st.target);
    }
    int* swap = current;
    current = next;
    next = swap;
    currentCount = nextCount;
    return true;
}
