#include "Parser/GrammarGen/SyntaxCompiler.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

// Longest terminal or nonterminal name.
const int MAX_NAME = 63;
// Deepest nesting of nonterminals; a deeper one can only come from a recursive description.
const int MAX_RULE_DEPTH = 40;
// Most parts of one any-order group (the group makes one state per subset of its parts).
const int MAX_ANY_ORDER_PARTS = 6;
// The id a terminal resolver gives for an unknown name.
const unsigned short NO_TERMINAL = 0xFFFF;

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

// The nondeterministic automaton: every state has at most one token edge and two empty edges.
struct Nfa {
    struct State {
        int terminal = -1;  // token id of the state's one token edge, -1 for none
        int target = -1;    // where the token edge leads
        int epsilon1 = -1;  // empty edges, -1 for none
        int epsilon2 = -1;
    };
    std::vector<State> states;
    int startState = -1;
    int acceptState = -1;

    int addState()
    {
        states.emplace_back();
        return static_cast<int>(states.size()) - 1;
    }
};

// Compiles syntax descriptions into the states of an Nfa (Thompson's construction: every
// construct becomes a fragment with one entry state and one exit state without edges).
class NfaCompiler {
public:
    NfaCompiler(Nfa& nfa, const GrammarRule* rules, int ruleCount, const TerminalIds& terminalId)
        : nfa(nfa), rules(rules), ruleCount(ruleCount), terminalId(terminalId), depth(0),
          failed(false)
    {
    }

    struct Fragment {
        int entry;
        int exit;
    };

    bool compileRule(const char* name, Fragment& out);
    const std::string& error() const { return why; }

private:
    bool fail(const char* reason, const char* name = "")
    {
        if (!failed)
            why = std::string(reason) + (name[0] != '\0' ? " " : "") + name;
        failed = true;
        return false;
    }

    void link(int from, int to)
    {
        if (failed)
            return;
        Nfa::State& s = nfa.states[from];
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
    void fanOut(int from, const std::vector<int>& targets);
    void choice(const std::vector<Fragment>& branches, Fragment& out);
    bool parseAlternatives(const char*& p, Fragment& out);
    bool parseSequence(const char*& p, Fragment& out);
    bool parseItem(const char*& p, Fragment& out);
    bool parseUnit(const char*& p, Fragment& out);
    bool parseAnyOrder(const char*& p, Fragment& out);
    bool skipItem(const char*& p);

    Nfa& nfa;
    const GrammarRule* rules;
    int ruleCount;
    const TerminalIds& terminalId;
    int depth;
    bool failed;
    std::string why;
};

bool NfaCompiler::readName(const char*& p, char* name)
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

// Empty edges from `from` (a state without edges) to every target: a chain of states with two
// empty edges each when there are more than two targets.
void NfaCompiler::fanOut(int from, const std::vector<int>& targets)
{
    int split = from;
    size_t count = targets.size();
    for (size_t i = 0; i < count; ++i) {
        if (i + 2 >= count) {
            link(split, targets[i]);
            continue;
        }
        int nextSplit = nfa.addState();
        link(split, targets[i]);
        link(split, nextSplit);
        split = nextSplit;
    }
}

// A fragment that goes through any one of the branches.
void NfaCompiler::choice(const std::vector<Fragment>& branches, Fragment& out)
{
    if (branches.size() == 1) {
        out = branches[0];
        return;
    }
    out.entry = nfa.addState();
    out.exit = nfa.addState();
    std::vector<int> targets;
    for (const Fragment& branch : branches) {
        targets.push_back(branch.entry);
        link(branch.exit, out.exit);
    }
    fanOut(out.entry, targets);
}

bool NfaCompiler::compileRule(const char* name, Fragment& out)
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
    return ok && !failed;
}

// sequence ('|' sequence)*
bool NfaCompiler::parseAlternatives(const char*& p, Fragment& out)
{
    std::vector<Fragment> branches;
    for (;;) {
        Fragment branch;
        if (!parseSequence(p, branch))
            return false;
        branches.push_back(branch);
        skipSpaces(p);
        if (*p != '|')
            break;
        ++p;
    }
    choice(branches, out);
    return !failed;
}

// item*, up to '|', a closing bracket or the end.
bool NfaCompiler::parseSequence(const char*& p, Fragment& out)
{
    out.entry = out.exit = nfa.addState();
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
bool NfaCompiler::parseItem(const char*& p, Fragment& out)
{
    Fragment unit;
    if (!parseUnit(p, unit))
        return false;
    if (*p == '+' || *p == '*') {
        bool atLeastOnce = *p == '+';
        ++p;
        int loop = nfa.addState();
        int exit = nfa.addState();
        link(unit.exit, loop);
        link(loop, unit.entry);
        link(loop, exit);
        out.entry = atLeastOnce ? unit.entry : loop;
        out.exit = exit;
    } else {
        out = unit;
    }
    return !failed;
}

bool NfaCompiler::parseUnit(const char*& p, Fragment& out)
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
        skip.entry = skip.exit = nfa.addState();
        choice({inner, skip}, out);
        return !failed;
    }
    if (*p == '<')
        return parseAnyOrder(p, out);

    char name[MAX_NAME + 1];
    if (!readName(p, name))
        return false;
    if (!isTerminalName(name))
        return compileRule(name, out);
    unsigned short id = terminalId(name);
    if (id == NO_TERMINAL)
        return fail("unknown terminal", name);
    out.entry = nfa.addState();
    out.exit = nfa.addState();
    nfa.states[out.entry].terminal = id;
    nfa.states[out.entry].target = out.exit;
    return true;
}

// Steps over one item without compiling it.
bool NfaCompiler::skipItem(const char*& p)
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
bool NfaCompiler::parseAnyOrder(const char*& p, Fragment& out)
{
    ++p;  // '<'
    std::vector<const char*> parts;
    for (;;) {
        skipSpaces(p);
        if (*p == '>')
            break;
        if (parts.size() == MAX_ANY_ORDER_PARTS)
            return fail("too many parts in an any-order group");
        parts.push_back(p);
        if (!skipItem(p))
            return false;
    }
    ++p;  // '>'

    const int partCount = static_cast<int>(parts.size());
    const int subsets = 1 << partCount;
    std::vector<int> node(static_cast<size_t>(subsets));
    for (int mask = 0; mask < subsets; ++mask)
        node[static_cast<size_t>(mask)] = nfa.addState();
    int exit = nfa.addState();
    for (int mask = 0; mask < subsets; ++mask) {
        // Any unused part leads to the larger subset; the group may also end here.
        std::vector<int> targets;
        for (int i = 0; i < partCount; ++i) {
            if (mask & (1 << i))
                continue;
            const char* part = parts[static_cast<size_t>(i)];
            Fragment copy;
            if (!parseItem(part, copy))
                return false;
            link(copy.exit, node[static_cast<size_t>(mask | (1 << i))]);
            targets.push_back(copy.entry);
        }
        targets.push_back(exit);
        fanOut(node[static_cast<size_t>(mask)], targets);
    }
    out.entry = node[0];
    out.exit = exit;
    return !failed;
}

// The states that the state and its empty edges reach and that matter to a run: those with a
// token edge and the accepting state. Sorted, without repeats.
void addClosure(const Nfa& nfa, int state, std::vector<char>& seen, std::vector<int>& out)
{
    std::vector<int> stack{state};
    while (!stack.empty()) {
        int s = stack.back();
        stack.pop_back();
        if (seen[static_cast<size_t>(s)])
            continue;
        seen[static_cast<size_t>(s)] = 1;
        const Nfa::State& st = nfa.states[static_cast<size_t>(s)];
        if (st.terminal >= 0 || s == nfa.acceptState)
            out.push_back(s);
        if (st.epsilon1 >= 0)
            stack.push_back(st.epsilon1);
        if (st.epsilon2 >= 0)
            stack.push_back(st.epsilon2);
    }
}

// Subset construction: a deterministic state per set of live states that some token sequence
// reaches; the start set gets number 0, the others are numbered as they are found.
void determinize(const Nfa& nfa, SyntaxDfa& out)
{
    std::map<std::vector<int>, unsigned int> numbers;
    std::vector<std::vector<int>> sets;
    std::vector<char> seen(nfa.states.size(), 0);

    auto number = [&](std::vector<int>& set) {
        std::sort(set.begin(), set.end());
        auto found = numbers.emplace(set, static_cast<unsigned int>(sets.size()));
        if (found.second)
            sets.push_back(set);
        return found.first->second;
    };

    std::vector<int> start;
    addClosure(nfa, nfa.startState, seen, start);
    number(start);
    out.firstEdge.assign(1, 0);
    out.edgeToken.clear();
    out.edgeTarget.clear();
    for (size_t d = 0; d < sets.size(); ++d) {
        // The targets of each token, in token order.
        std::map<unsigned short, std::vector<int>> byToken;
        for (int s : sets[d]) {
            const Nfa::State& st = nfa.states[static_cast<size_t>(s)];
            if (st.terminal >= 0)
                byToken[static_cast<unsigned short>(st.terminal)].push_back(st.target);
        }
        for (auto& edge : byToken) {
            std::fill(seen.begin(), seen.end(), 0);
            std::vector<int> target;
            for (int s : edge.second)
                addClosure(nfa, s, seen, target);
            unsigned int targetNumber = number(target);
            out.edgeToken.push_back(edge.first);
            out.edgeTarget.push_back(targetNumber);
        }
        out.firstEdge.push_back(static_cast<unsigned int>(out.edgeToken.size()));
    }
}

}  // namespace

SyntaxTables SyntaxDfa::tables() const
{
    return SyntaxTables{firstEdge.data(), edgeToken.data(), edgeTarget.data(), stateCount()};
}

std::string compileSyntax(const GrammarRule* rules, int ruleCount, const char* startName,
                          const TerminalIds& terminalId, SyntaxDfa& out)
{
    Nfa nfa;
    NfaCompiler compiler(nfa, rules, ruleCount, terminalId);
    NfaCompiler::Fragment line;
    if (!compiler.compileRule(startName, line))
        return compiler.error();
    int endEntry = nfa.addState();
    int endExit = nfa.addState();
    nfa.states[static_cast<size_t>(endEntry)].terminal = 0;  // the end of the line
    nfa.states[static_cast<size_t>(endEntry)].target = endExit;
    Nfa::State& last = nfa.states[static_cast<size_t>(line.exit)];
    if (last.epsilon1 < 0)
        last.epsilon1 = endEntry;
    else
        last.epsilon2 = endEntry;
    nfa.startState = line.entry;
    nfa.acceptState = endExit;
    determinize(nfa, out);
    return "";
}
