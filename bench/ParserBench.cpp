// Scanning and grammar of one command line: what every run spends before it knows its command.
#include "Output/VoPrint.h"
#include "Parser/Grammar.h"
#include "Parser/Scanner.h"
#include "Parser/Token.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// The lines are chosen so that the scanner echoes nothing; the printer's texts go nowhere.
void quietConsole()
{
    static FILE* nowhere = std::fopen("/dev/null", "w");
    VoPrint* printer = VoPrint::instance();
    printer->setConsoleStreams(nowhere, nullptr);
    printer->setMode(VOPRINT_MODE_SCREEN);
    printer->setPageLength(0);
}

void checkLine(benchmark::State& state, const char* line, bool valid)
{
    quietConsole();
    for (auto _ : state) {
        scannerResetState();
        ArrayList<Token*>* tokens = tokenize(line);
        if ((tokens != nullptr) != valid) {
            state.SkipWithError(valid ? "the line was rejected" : "the line was accepted");
            deleteTokenList(tokens);
            break;
        }
        deleteTokenList(tokens);
    }
}

void LongValidLine(benchmark::State& state)
{
    checkLine(state,
              "-CfgLdAdd -r1 [32:1,32:2] -Hsp[32:5] -AfterLd 2 -FDE -Maximum -Cache -EnblPI "
              "-Force -a0 -Silent -AppLogFile my.log -SetDbgLevel 3 -NoLog -page 20 ",
              true);
}
BENCHMARK(LongValidLine);

// A first word that is no command word: the line of a mistyped command.
void RejectedLine(benchmark::State& state)
{
    checkLine(state, "-Foo ", false);
}
BENCHMARK(RejectedLine);

// A line that stops fitting only at its last word.
void RejectedAtLastWord(benchmark::State& state)
{
    checkLine(state,
              "-CfgLdAdd -r1 [32:1,32:2] -Hsp[32:5] -AfterLd 2 -FDE -Maximum -Cache -EnblPI "
              "-Force -a0 -Silent -AppLogFile my.log -SetDbgLevel 3 -NoLog -Force ",
              false);
}
BENCHMARK(RejectedAtLastWord);

}  // namespace
