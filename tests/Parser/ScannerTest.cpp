#include "GrammarTestSupport.h"

#include <string>

using grammartest::scan;
using grammartest::Scanned;

namespace {

struct ScanCase {
    const char* line;    // as the entry point joins it: every word followed by one blank
    const char* tokens;  // render() of the tokens made
    const char* echo;    // what was written to standard output
};

// Words, shapes and positions: what each line becomes and what is echoed.
TEST(ScannerTest, LinesBecomeTokensAndEcho)
{
    const ScanCase cases[] = {
        {"-AdpAllInfo -aALL ", "ADPALLINFO ALL_ADAPTER", ""},
        {"-ADPALLINFO ", "ADPALLINFO", ""},
        {"-adpallinfo ", "ADPALLINFO", ""},
        {"AdpAllInfo ", "ADPALLINFO", ""},
        {"- AdpAllInfo ", "ADPALLINFO", ""},
        {"-PDList -a0,1,2 -page20 ",
         "PDLIST ADAPTER NUMBER(0) NUMBER(1) NUMBER(2) PAGEBRK NUMBER(20)", ",,"},
        {"-CfgLdAdd -r5 [32:1,32:2] -sz1.5 -a0 ",
         "ADPCFGADD RAID NUMBER(5) CHANNEL_TARGET_LIST(32:1,32:2) SIZE DEC_NUMBER(1.5) ADAPTER "
         "NUMBER(0)",
         " "},
        {"-LDSetProp -Name My-VD -L0 -a0 ",
         "SET_LDPROPERTY NAME ALPHANUM_CONSTANT(My-VD) LOGICAL_DRIVE NUMBER(0) ADAPTER NUMBER(0)",
         ""},
        // NAME takes free text only after LDSETPROP, SNAPSHOT and CFGTIDEWELLADD.
        {"-AdpSetProp -Name x ", "SET_ADPPROPERTY NAME", ""},
        {"-CfgTidewellAdd -PhysDrv[1:2] -Name -a0 ",
         "CFGTIDEWELLADD PHYSDRV CHANNEL_TARGET_LIST(1:2) NAME ALPHANUM_CONSTANT(-a0)", ""},
        // The word after a help word is free text, looked up once more.
        {"-h -page ", "HELP_SHT PAGEBRK", ""},
        {"-h topic -a0 ", "HELP_SHT ALPHANUM_CONSTANT(topic) ADAPTER NUMBER(0)", ""},
        {"-h -AppLogFile -x.log ", "HELP_SHT APP_LOG_FILE_NAME ALPHANUM_CONSTANT(-x.log)", ""},
        {"-h -Silent -NoLog ", "HELP_SHT SILENT NOLOG", ""},
        {"-h -a0 ", "HELP_SHT ALPHANUM_CONSTANT(-a0)", ""},
        {"-AdpAllInfo -a ALL ", "ADPALLINFO ADAPTER ALL", ""},
        {"-AdpSetSasA -50060b0 -a0 ", "ADPSETSASA ALPHANUM_CONSTANT(-50060b0) ADAPTER NUMBER(0)", ""},
        // Option words are recognised as the first word too.
        {"-Silent -a0 ", "SILENT ADAPTER NUMBER(0)", ""},
        {"-AdpDowngrade -a0 ", "ADPDOWNGRADE ADAPTER NUMBER(0)", ""},
        {"-SetDelay 5 -a0 ", "PRSETDELAY NUMBER(5) ADAPTER NUMBER(0)", ""},
        {"-AdpAllInfo -AdpDowngrade ", "ADPALLINFO ADPDOWNGRADE", ""},
        // The word after a text-follows option is taken whole, '-' and all.
        {"-AdpCfgSave -f -x.txt -a0 ", "ADPCFGSAVE FILE ALPHANUM_CONSTANT(-x.txt) ADAPTER NUMBER(0)", ""},
        {"-CfgSave -f a[1] ", "ADPCFGSAVE FILE ALPHANUM_CONSTANT(a[1])", ""},
        {"-CfgSave -f \"a b\" ", "ADPCFGSAVE FILE ALPHANUM_CONSTANT(\"a)", "\" "},
        // Numbers and decimal numbers.
        {"-AdpAllInfo -sz 1.2345 ", "ADPALLINFO SIZE DEC_NUMBER(1.234) NUMBER(5)", ""},
        {"-AdpAllInfo -sz .5 ", "ADPALLINFO SIZE DEC_NUMBER(.5)", ""},
        {"-AdpAllInfo -sz 1. ", "ADPALLINFO SIZE NUMBER(1)", ". "},
        {"-AdpAllInfo -p 50% ", "ADPALLINFO PERCENTAGE NUMBER(50) PERCENT", ""},
        {"-AdpAllInfo -a 0007 ", "ADPALLINFO ADAPTER NUMBER(7)", ""},
        // Drive and device lists.
        {"-PDInfo -PhysDrv[1:2 3:4] ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(1:2 3:4)", ""},
        {"-PDInfo -PhysDrv[32:1,32:2, :3,?:4] ",
         "PDINFO PHYSDRV CHANNEL_TARGET_LIST(32:1,32:2, :3,?:4)", ""},
        {"-PDInfo -PhysDrv [ 1:2 , 3:4 ] ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(1:2 , 3:4)", ""},
        {"-PDInfo -PhysDrv[1:2:3?:4] ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(1:2:3?:4)", ""},
        {"-PDInfo -PhysDrv[:1] ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(:1)", ""},
        {"-PDInfo -PhysDrv[1:2] ", "PDINFO PHYSDRV CHANNEL_TARGET_LIST(1:2)", ""},
        {"-PDInfo -EncDevId[1] ", "PDINFO ENCDEVID ENCDEVID_LIST(1)", ""},
        {"-PDInfo -EncDevId[1,2,3] ", "PDINFO ENCDEVID ENCDEVID_LIST(1,2,3)", ""},
        {"-PDInfo -EncDevId[1 2 3] ", "PDINFO ENCDEVID ENCDEVID_LIST(1 2 3)", ""},
        {"-PDInfo -EncDevId[1 , 2] ", "PDINFO ENCDEVID ENCDEVID_LIST(1 , 2)", ""},
        {"-PDInfo -EncDevId[12] ", "PDINFO ENCDEVID ENCDEVID_LIST(12)", ""},
        // No list: the bracket is echoed and the rest scanned bit by bit.
        {"-PDInfo -PhysDrv[1:2,] ", "PDINFO PHYSDRV NUMBER(1) NUMBER(2)", "[:,] "},
        {"-PDInfo -PhysDrv[1:2,,3:4] ", "PDINFO PHYSDRV NUMBER(1) NUMBER(2) NUMBER(3) NUMBER(4)",
         "[:,,:] "},
        {"-PDInfo -PhysDrv[1:2,3] ", "PDINFO PHYSDRV NUMBER(1) NUMBER(2) NUMBER(3)", "[:,] "},
        {"-PDInfo -PhysDrv[1:] ", "PDINFO PHYSDRV NUMBER(1)", "[:] "},
        {"-PDInfo -PhysDrv[1:2 ", "PDINFO PHYSDRV NUMBER(1) NUMBER(2)", "[:"},
        {"-PDInfo -EncDevId[1,] ", "PDINFO ENCDEVID NUMBER(1)", "[,] "},
        {"-PDInfo -EncDevId[] ", "PDINFO ENCDEVID", "[] "},
        // Quoted text keeps its inner blanks; an unclosed quote is echoed.
        {"-AdpAllInfo -a0 \"my vd\" ", "ADPALLINFO ADAPTER NUMBER(0) ALPHANUM_CONSTANT(my vd)", ""},
        {"-AdpAllInfo -a0 \"abc ", "ADPALLINFO ADAPTER NUMBER(0)", "\""},
        // Unmatched characters, blanks included, are echoed one by one.
        {"-AdpAllInfo -a0 ;; ", "ADPALLINFO ADAPTER NUMBER(0)", ";; "},
        {"-AdpAllInfo -sz1.5    -L1 ", "ADPALLINFO SIZE DEC_NUMBER(1.5) LOGICAL_DRIVE NUMBER(1)",
         "    "},
        {"-AdpAllInfo -a0 - 5 ", "ADPALLINFO ADAPTER NUMBER(0) NUMBER(5)", "- "},
        // A line feed in option position starts a new command word.
        {"-AdpAllInfo -a0\n-PDList ", "ADPALLINFO ADAPTER NUMBER(0) PDLIST", ""},
        // The command word stops at the second '-'.
        {"-Adp-AllInfo ", "", ""},
    };
    for (const ScanCase& c : cases) {
        Scanned s = scan(c.line);
        EXPECT_EQ(c.tokens, s.tokens) << c.line;
        EXPECT_EQ(c.echo, s.echo) << c.line;
    }
}

TEST(ScannerTest, TokenTextsKeepTheUsersSpelling)
{
    Scanned s = scan("-AdpAllInfo -aALL ");
    EXPECT_EQ("AdpAllInfo|aALL", s.texts);
    s = scan("- AdpAllInfo -  aAll  -cachedbadbbu ");
    EXPECT_EQ("AdpAllInfo|aAll|cachedbadbbu", s.texts);
    s = scan("-PDList -PhysDrv[ 32:1 ] -p 50% ");
    EXPECT_EQ("PDList|PhysDrv|32:1|p|50|%", s.texts);
}

// The word named by a rejection is the most recent word as the user typed it.
TEST(ScannerTest, LastWordText)
{
    EXPECT_EQ("-aALL", scan("-AdpAllInfo -aALL ").lastWord);
    EXPECT_EQ("-AdpAllInfo", scan("- AdpAllInfo ").lastWord);
    EXPECT_EQ("20", scan("-AdpAllInfo -page20 ").lastWord);
    EXPECT_EQ("1.5", scan("-AdpAllInfo 1.5 ").lastWord);
    EXPECT_EQ("[32:1,32:2", scan("-PDInfo [ 32:1,32:2 ] ").lastWord);
    EXPECT_EQ("[1 2", scan("-PDInfo [1 2] ").lastWord);
    EXPECT_EQ("my vd", scan("-PDInfo \"my vd\" ").lastWord);
    EXPECT_EQ("%", scan("-PDInfo 5% ").lastWord);
    EXPECT_EQ("-x.txt", scan("-CfgSave -f -x.txt ").lastWord);
    EXPECT_EQ("-x", scan("-CfgSave -x ").lastWord);
    EXPECT_EQ("<none>", scan("").lastWord);
}

TEST(ScannerTest, UnknownWordsMakeNoToken)
{
    // An unknown first word leaves the scanner in the command position.
    Scanned s = scan("-Bogus -a0 ");
    EXPECT_EQ((std::vector<int>{TOKEN_UNKNOWN, TOKEN_UNKNOWN}), s.ids);
    EXPECT_EQ("", s.tokens);

    // A command word is recognised only as the first word; later it is unknown.
    s = scan("-AdpAllInfo -AdpAllInfo ");
    EXPECT_EQ((std::vector<int>{TOKEN_ADPALLINFO, TOKEN_UNKNOWN}), s.ids);
}

TEST(ScannerTest, ScannerInitKeepsThePositionOfThePreviousLine)
{
    scannerResetState();
    testsupport::StreamCapture captured;
    scannerInit("-AdpAllInfo ");
    while (yylex() != 0) {
    }
    deleteTokenList(scannerTakeTokenList());
    scannerRelease();

    scannerInit("-AdpAllInfo ");
    int id = yylex();
    deleteTokenList(scannerTakeTokenList());
    scannerRelease();
    captured.take();
    EXPECT_EQ(TOKEN_UNKNOWN, id);

    scannerResetState();
    EXPECT_EQ(std::vector<int>{TOKEN_ADPALLINFO}, scan("-AdpAllInfo ").ids);
}

TEST(ScannerTest, NumbersBeyondIntAreNoOperands)
{
    Scanned s = scan("-PDList -a2147483647 ");
    EXPECT_EQ("PDLIST ADAPTER NUMBER(2147483647)", s.tokens);

    s = scan("-PDList -a2147483648 ");
    EXPECT_EQ("PDLIST ADAPTER", s.tokens);
    EXPECT_EQ((std::vector<int>{TOKEN_PDLIST, TOKEN_ADAPTER, TOKEN_UNKNOWN}), s.ids);
    EXPECT_EQ("2147483648", s.lastWord);

    s = scan("-PDList -a99999999999999999999999999 -L1 ");
    EXPECT_EQ("PDLIST ADAPTER LOGICAL_DRIVE NUMBER(1)", s.tokens);

    s = scan("-PDList -a000000000000000000000000001 ");
    EXPECT_EQ("PDLIST ADAPTER NUMBER(1)", s.tokens);
}

// A '-' directly before a number would otherwise be echoed and dropped, so that -L-1 named
// drive 1: the signed number is an unknown word (no token), named by the rejection. A '-' that
// is not directly before a digit, and a '-' inside free or quoted text, stay as they were.
TEST(ScannerTest, SignedNumbersAreUnknownWords)
{
    struct SignedCase {
        const char* line;
        std::vector<int> ids;
        const char* tokens;
        const char* echo;
        const char* lastWord;
    };
    const SignedCase cases[] = {
        {"-CfgLdDel -L-1 ", {TOKEN_LDDEL, TOKEN_LOGICAL_DRIVE, TOKEN_UNKNOWN}, "LDDEL LOGICAL_DRIVE", "", "-1"},
        {"-PDOffline -PhysDrv[252:0] -a-1 ",
         {TOKEN_PDOFFLINE, TOKEN_PHYSDRV, TOKEN_CHANNEL_TARGET_LIST, TOKEN_ADAPTER, TOKEN_UNKNOWN},
         "PDOFFLINE PHYSDRV CHANNEL_TARGET_LIST(252:0) ADAPTER", "", "-1"},
        {"-PDInfo -PhysDrv[252:-1] ", {TOKEN_PDINFO, TOKEN_PHYSDRV, TOKEN_NUMBER, TOKEN_UNKNOWN},
         "PDINFO PHYSDRV NUMBER(252)", "[:] ", "-1"},
        // (A decimal number takes no blanks after it: the blank is echoed, as after -sz1.5.)
        {"-CfgLdAdd -sz-1.5 ", {TOKEN_ADPCFGADD, TOKEN_SIZE, TOKEN_UNKNOWN}, "ADPCFGADD SIZE", " ", "-1.5"},
        {"-PDList -a -12 ", {TOKEN_PDLIST, TOKEN_ADAPTER, TOKEN_UNKNOWN}, "PDLIST ADAPTER", "", "-12"},
        {"-PDList -a0 --7 ", {TOKEN_PDLIST, TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_UNKNOWN},
         "PDLIST ADAPTER NUMBER(0)", "-", "-7"},
        // Not a signed number: a '-' before a blank, free text, quoted text.
        {"-PDList -a0 - 5 ", {TOKEN_PDLIST, TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_NUMBER},
         "PDLIST ADAPTER NUMBER(0) NUMBER(5)", "- ", "5"},
        {"-CfgSave -f my-1.bin ", {TOKEN_ADPCFGSAVE, TOKEN_FILE, TOKEN_ALPHANUM_CONSTANT},
         "ADPCFGSAVE FILE ALPHANUM_CONSTANT(my-1.bin)", "", "my-1.bin"},
        {"-CfgSave -f -1.bin ", {TOKEN_ADPCFGSAVE, TOKEN_FILE, TOKEN_ALPHANUM_CONSTANT},
         "ADPCFGSAVE FILE ALPHANUM_CONSTANT(-1.bin)", "", "-1.bin"},
        {"-LDSetProp -Name -1 -L0 ",
         {TOKEN_SET_LDPROPERTY, TOKEN_NAME, TOKEN_ALPHANUM_CONSTANT, TOKEN_LOGICAL_DRIVE, TOKEN_NUMBER},
         "SET_LDPROPERTY NAME ALPHANUM_CONSTANT(-1) LOGICAL_DRIVE NUMBER(0)", "", "0"},
        {"-PDList -a0 \"-1\" ", {TOKEN_PDLIST, TOKEN_ADAPTER, TOKEN_NUMBER, TOKEN_ALPHANUM_CONSTANT},
         "PDLIST ADAPTER NUMBER(0) ALPHANUM_CONSTANT(-1)", "", "-1"},
        {"-h -1 ", {TOKEN_HELP_SHT, TOKEN_ALPHANUM_CONSTANT}, "HELP_SHT ALPHANUM_CONSTANT(-1)", "", "-1"},
    };
    for (const SignedCase& c : cases) {
        Scanned s = scan(c.line);
        EXPECT_EQ(c.ids, s.ids) << c.line;
        EXPECT_EQ(c.tokens, s.tokens) << c.line;
        EXPECT_EQ(c.echo, s.echo) << c.line;
        EXPECT_EQ(c.lastWord, s.lastWord) << c.line;
    }
}

TEST(ScannerTest, EndOfInputIsZeroInEveryPosition)
{
    EXPECT_TRUE(scan("").ids.empty());
    EXPECT_TRUE(scan("   ").ids.size() == 1);  // blanks alone are an (unknown) empty word
    Scanned s = scan("-CfgSave -f ");
    EXPECT_EQ("ADPCFGSAVE FILE", s.tokens);
}

TEST(ScannerTest, ReadInputCopiesChunks)
{
    scannerInit("abcdef");
    char buffer[4];
    EXPECT_EQ(4, scannerReadInput(buffer, 4));
    EXPECT_EQ(0, std::string(buffer, 4).compare("abcd"));
    EXPECT_EQ(2, scannerReadInput(buffer, 4));
    EXPECT_EQ(0, scannerReadInput(buffer, 4));
    EXPECT_EQ(1, yywrap());
    deleteTokenList(scannerTakeTokenList());
    scannerRelease();
}

TEST(ScannerTest, LongestMatchLimit)
{
    // 8191 characters are one word; one more ends the process with status 2.
    std::string longest = "-CfgSave -f " + std::string(8191 - 1, 'x') + " ";
    Scanned s = scan(longest);
    EXPECT_EQ("ADPCFGSAVE FILE ALPHANUM_CONSTANT(" + std::string(8190, 'x') + ")", s.tokens);

    std::string tooLong = "-CfgSave -f " + std::string(8191, 'x') + " ";
    EXPECT_EXIT(scan(tooLong), testing::ExitedWithCode(2), "token too large, exceeds YYLMAX");
}

// Lines of stray characters, long blank runs and unclosed brackets and quotes are echoed,
// not scanned again and again.
TEST(ScannerTest, HostileLinesAreEchoedOnce)
{
    struct Hostile {
        std::string run;
        std::string tokens;  // after PDLIST ALL_ADAPTER
        std::string echo;    // after the ';'
    };
    const std::string blanks(50000, ' ');
    const Hostile cases[] = {
        {std::string(200000, ' '), "", std::string(200000, ' ')},
        {std::string(200000, '['), "", std::string(200000, '[')},
        {std::string(100000, '-'), "", std::string(100000, '-')},
        // (The blanks after a number belong to its match, which may not exceed the limit.)
        {blanks + "[1:2" + std::string(8000, ' '), " NUMBER(1) NUMBER(2)", blanks + "[:"},
        {"\"" + std::string(150000, ','), "", "\"" + std::string(150000, ',')},
        {std::string(100000, '\t') + "%", " PERCENT", std::string(100000, '\t')},
    };
    for (const Hostile& c : cases) {
        Scanned s = scan("-PDList -aALL ;" + c.run);
        EXPECT_EQ("PDLIST ALL_ADAPTER" + c.tokens, s.tokens);
        EXPECT_TRUE(";" + c.echo == s.echo) << c.run.substr(0, 8);
    }
}

}  // namespace
