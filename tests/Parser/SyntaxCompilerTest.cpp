// The compiler of syntax descriptions, which turns the grammar into the program's tables when
// the program is built.
#include "Parser/Grammar.h"
#include "Parser/GrammarGen/SyntaxCompiler.h"
#include "Parser/TokenIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string compile(const GrammarRule* rules, int count, const char* start, SyntaxDfa& out)
{
    return compileSyntax(rules, count, start, tokenIdByName, out);
}

TEST(SyntaxCompilerTest, EveryDescriptionCompiles)
{
    // Every nonterminal of the table, not only those the start symbol reaches, compiles.
    for (int i = 0; i < GRAMMAR_RULE_COUNT; ++i) {
        SyntaxDfa rule;
        EXPECT_EQ("", compile(GRAMMAR_RULES, GRAMMAR_RULE_COUNT, GRAMMAR_RULES[i].name, rule))
            << GRAMMAR_RULES[i].name;
        EXPECT_GT(rule.stateCount(), 1u) << GRAMMAR_RULES[i].name;
    }
}

// The program's tables are the compiled descriptions of this source tree.
TEST(SyntaxCompilerTest, ProgramTablesAreTheCompiledGrammar)
{
    SyntaxDfa grammar;
    ASSERT_EQ("", compile(GRAMMAR_RULES, GRAMMAR_RULE_COUNT, GRAMMAR_RULES[0].name, grammar));
    const SyntaxTables& built = COMMAND_GRAMMAR_TABLES;
    ASSERT_EQ(grammar.stateCount(), built.stateCount);
    EXPECT_EQ(grammar.firstEdge,
              std::vector<unsigned int>(built.firstEdge, built.firstEdge + built.stateCount + 1));
    size_t edges = grammar.edgeToken.size();
    EXPECT_EQ(grammar.edgeToken,
              std::vector<unsigned short>(built.edgeToken, built.edgeToken + edges));
    EXPECT_EQ(grammar.edgeTarget,
              std::vector<unsigned int>(built.edgeTarget, built.edgeTarget + edges));
}

TEST(SyntaxCompilerTest, BrokenDescriptionsAreReported)
{
    const GrammarRule unknownTerminal[] = {{"start", "ADAPTER NOSUCHTOKEN"}};
    const GrammarRule unknownRule[] = {{"start", "ADAPTER missing"}};
    const GrammarRule recursive[] = {{"start", "ADAPTER start"}};
    const GrammarRule unbalanced[] = {{"start", "[ADAPTER"}};
    const GrammarRule stray[] = {{"start", "ADAPTER ]"}};
    const GrammarRule crowded[] = {{"start", "<A B C D E F G>"}};
    struct Broken {
        const GrammarRule* rules;
        const char* error;
    };
    const Broken cases[] = {{unknownTerminal, "unknown terminal NOSUCHTOKEN"},
                            {unknownRule, "unknown nonterminal missing"},
                            {recursive, "recursive description start"},
                            {unbalanced, "unbalanced brackets in a description"},
                            {stray, "unbalanced brackets in a description"},
                            {crowded, "too many parts in an any-order group"}};
    for (const Broken& c : cases) {
        SyntaxDfa automaton;
        EXPECT_EQ(c.error, compile(c.rules, 1, "start", automaton));
    }
}

// The description operators on a small grammar of their own.
TEST(SyntaxCompilerTest, AutomatonOperators)
{
    const GrammarRule grammar[] = {
        {"start", "ADAPTER NUMBER+ [FORCE] <wp rp> NOLOG*"},
        {"wp", "WT | WB"},
        {"rp", "RA NUMBER"},
    };
    SyntaxDfa automaton;
    ASSERT_EQ("", compile(grammar, 3, "start", automaton));
    const SyntaxTables tables = automaton.tables();
    struct Run {
        std::vector<unsigned short> tokens;
        size_t acceptedTokens;  // how many tokens are taken before the first refusal
    };
    const Run runs[] = {
        {{TOKEN_ADAPTER, TOKEN_NUMBER, 0}, 3},
        {{TOKEN_ADAPTER, 0}, 1},
        {{TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_NUMBER, TOKEN_FORCE, TOKEN_RA, TOKEN_NUMBER, TOKEN_WB,
          TOKEN_NOLOG, TOKEN_NOLOG, 0},
         10},
        {{TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_WT, TOKEN_WB}, 3},
        {{TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_RA, TOKEN_NUMBER, TOKEN_RA}, 4},
        {{TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_NOLOG, TOKEN_FORCE}, 3},
        // After the end of the line nothing more is taken.
        {{TOKEN_ADAPTER, TOKEN_NUMBER, 0, 0}, 3},
    };
    for (const Run& run : runs) {
        SyntaxMatcher matcher(tables);
        matcher.start();
        size_t taken = 0;
        while (taken < run.tokens.size() && matcher.step(run.tokens[taken]))
            ++taken;
        EXPECT_EQ(run.acceptedTokens, taken);
    }
}

// A refused token leaves the run where it was; accepts() only looks.
TEST(SyntaxCompilerTest, RefusedTokenKeepsTheState)
{
    const GrammarRule grammar[] = {{"start", "ADAPTER (NUMBER | ALL_ADAPTER)"}};
    SyntaxDfa automaton;
    ASSERT_EQ("", compile(grammar, 1, "start", automaton));
    const SyntaxTables tables = automaton.tables();
    SyntaxMatcher matcher(tables);
    matcher.start();
    EXPECT_FALSE(matcher.accepts(TOKEN_NUMBER));
    EXPECT_TRUE(matcher.step(TOKEN_ADAPTER));
    EXPECT_FALSE(matcher.step(TOKEN_ADAPTER));
    EXPECT_TRUE(matcher.accepts(TOKEN_ALL_ADAPTER));
    EXPECT_TRUE(matcher.accepts(TOKEN_NUMBER));
    EXPECT_TRUE(matcher.step(TOKEN_NUMBER));
    EXPECT_FALSE(matcher.accepts(TOKEN_NUMBER));
    EXPECT_TRUE(matcher.step(0));
}

}  // namespace
