#include "E2eHarness.h"

#include <gtest/gtest.h>

// The harness itself: runs a program with arguments, environment and standard input in a
// fresh folder and returns both outputs, the exit code and the files left behind.
TEST(E2eHarness, CapturesOutputsExitCodeStdinAndFiles)
{
    RunSpec spec;
    spec.program = "/bin/sh";
    spec.args = {"-c", "read x; echo \"$x $GREETING\"; echo err >&2; echo data > left.txt; exit 3"};
    spec.env = {{"GREETING", "world"}};
    spec.stdinText = "hello\n";
    RunResult r = runProgram(spec);
    EXPECT_EQ(r.out, "hello world\n");
    EXPECT_EQ(r.err, "err\n");
    EXPECT_EQ(r.exitCode, 3);
    ASSERT_EQ(r.files.count("left.txt"), 1u);
    EXPECT_EQ(r.files["left.txt"], "data\n");
    removeTree(r.workDir);
}
