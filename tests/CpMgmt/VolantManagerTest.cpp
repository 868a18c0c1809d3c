// The front end's global options and the exit code of a run.
#include "DispatchFakes.h"

#include <gtest/gtest.h>

#include "CpMgmt/FwErrorDescriptions.h"
#include "Output/PavaneLog.h"
#include "Output/VoPrint.h"
#include "Parser/Grammar.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "Parser/VolantManager.h"
#include "System/PavError.h"

namespace {

// A token list as the scanner would deliver it.
struct TokenSpec {
    unsigned short id;
    int number;
    const char* text;
};
TokenSpec word(unsigned short id) { return {id, 0, ""}; }
TokenSpec number(int n) { return {TOKEN_NUMBER, n, nullptr}; }
TokenSpec text(const char* t) { return {TOKEN_ALPHANUM_CONSTANT, 0, t}; }

ArrayList<Token*>* makeTokens(std::initializer_list<TokenSpec> specs)
{
    ArrayList<Token*>* tokens = new ArrayList<Token*>(4);
    for (const TokenSpec& s : specs) {
        TokenValue* value = s.id == TOKEN_NUMBER ? static_cast<TokenValue*>(new TokenValueInt(s.number))
                                                 : new TokenValueStr(s.text != nullptr ? s.text : "");
        tokens->add(new Token(s.id, value));
    }
    return tokens;
}

class GlobalOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VoPrint* printer = VoPrint::instance();
        savedMode = printer->getMode();
        savedPage = printer->getPageLength();
        savedLogName = printer->getLogFileName();
        savedAppLogName = applicationLogger()->getFileName();
        printer->setMode(VOPRINT_MODE_SCREEN | VOPRINT_MODE_LOG);
        printer->setPageLength(0);
    }
    void TearDown() override
    {
        VoPrint* printer = VoPrint::instance();
        printer->setMode(savedMode);
        printer->setPageLength(savedPage);
        printer->setLogFileName(savedLogName);
        setAppLogFileName(savedAppLogName);
        setAppLogMode(LOGMODE_APPEND);
        setDebugLogMode(LOGMODE_APPEND);
    }

    int apply(std::initializer_list<TokenSpec> specs, bool allConsumed = true)
    {
        ArrayList<Token*>* tokens = makeTokens(specs);
        int result = VolantManager::instance()->processGlobalOptions(tokens);
        for (unsigned char i = 1; i < tokens->count(); ++i) {
            if (allConsumed) {
                EXPECT_TRUE(tokens->get(i)->isConsumed()) << "token " << int(i);
            }
        }
        EXPECT_FALSE(tokens->get(0)->isConsumed()) << "the command word is the parser's";
        deleteTokenList(tokens);
        return result;
    }

    unsigned char savedMode = 0;
    unsigned char savedPage = 0;
    string savedLogName;
    string savedAppLogName;
};

TEST_F(GlobalOptionsTest, PageLength)
{
    struct Case {
        std::vector<TokenSpec> operand;
        int result;
        unsigned char pageLength;
    } cases[] = {
        {{}, 0, 24}, {{number(20)}, 0, 20}, {{number(0)}, 0, 0}, {{number(300)}, 0, 44}, {{text("x")}, -1, 0},
    };
    for (const Case& c : cases) {
        VoPrint::instance()->setPageLength(0);
        ArrayList<Token*>* tokens = makeTokens({word(TOKEN_ADPCOUNT), word(TOKEN_PAGEBRK)});
        for (const TokenSpec& s : c.operand)
            tokens->add(s.id == TOKEN_NUMBER ? new Token(s.id, new TokenValueInt(s.number))
                                             : new Token(s.id, new TokenValueStr(s.text)));
        EXPECT_EQ(VolantManager::instance()->processGlobalOptions(tokens), c.result);
        EXPECT_EQ(VoPrint::instance()->getPageLength(), c.pageLength);
        for (unsigned char i = 1; i < tokens->count(); ++i)
            EXPECT_TRUE(tokens->get(i)->isConsumed());
        deleteTokenList(tokens);
    }
}

TEST_F(GlobalOptionsTest, SilentSwitchesTheScreenOff)
{
    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_SILENT)}), 0);
    EXPECT_EQ(VoPrint::instance()->getMode(), VOPRINT_MODE_LOG);
}

TEST_F(GlobalOptionsTest, LogFileNames)
{
    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_APP_LOG_FILE_NAME), text("-console.txt")}), 0);
    EXPECT_STREQ(VoPrint::instance()->getLogFileName().c_str(), "-console.txt");
    EXPECT_STREQ(applicationLogger()->getFileName().c_str(), savedAppLogName.c_str());

    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_SET_LOG_FILE_NAME), text("app.txt")}), 0);
    EXPECT_STREQ(applicationLogger()->getFileName().c_str(), "app.txt");
    EXPECT_STREQ(VoPrint::instance()->getLogFileName().c_str(), "-console.txt");

    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_SET_LOG_FILE_NAME), number(5)}), -1);
    EXPECT_STREQ(applicationLogger()->getFileName().c_str(), "app.txt") << "an operand of the wrong kind has no effect";
}

TEST_F(GlobalOptionsTest, LogModes)
{
    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_NOLOG)}), 0);
    EXPECT_EQ(getAppLogMode(), LOGMODE_OFF);
    EXPECT_EQ(getDebugLogMode(), LOGMODE_OFF);
    EXPECT_EQ(VoPrint::instance()->getMode(), VOPRINT_MODE_SCREEN);

    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_NOLOG), word(TOKEN_NEWLOGFILE)}), 0);
    EXPECT_EQ(getAppLogMode(), LOGMODE_NEWFILE);
    EXPECT_EQ(getDebugLogMode(), LOGMODE_NEWFILE);
    EXPECT_EQ(VoPrint::instance()->getMode(), VOPRINT_MODE_SCREEN) << "the console log stays off";

    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_NOLOG), word(TOKEN_APPENDLOGFILE)}), 0);
    EXPECT_EQ(getAppLogMode(), LOGMODE_OFF) << "-Append never switches logs back on";
}

TEST_F(GlobalOptionsTest, DebugLevelNeedsANumber)
{
    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_SET_LOG_LEVEL), number(3)}), 0);
    EXPECT_EQ(apply({word(TOKEN_ADPCOUNT), word(TOKEN_SET_LOG_LEVEL), text("x")}), -1);
}

// A list filled to its 255-token limit whose last token is an option without its operand: the
// pass must end (the cursor never wraps around to the start of the list).
TEST_F(GlobalOptionsTest, OptionWithoutOperandAtTheEndOfAFullList)
{
    for (unsigned short option : {TOKEN_SET_LOG_LEVEL, TOKEN_SET_LOG_FILE_NAME, TOKEN_APP_LOG_FILE_NAME}) {
        SCOPED_TRACE(option);
        ArrayList<Token*>* tokens = new ArrayList<Token*>(255);
        while (tokens->count() < 254)
            ASSERT_EQ(tokens->add(new Token(TOKEN_ADPCOUNT, new TokenValueStr(""))), 0);
        ASSERT_EQ(tokens->add(new Token(option, new TokenValueStr(""))), 0);
        ASSERT_EQ(tokens->count(), 255);
        EXPECT_EQ(VolantManager::instance()->processGlobalOptions(tokens), -1);
        EXPECT_TRUE(tokens->get(254)->isConsumed());
        EXPECT_FALSE(tokens->get(0)->isConsumed());
        deleteTokenList(tokens);
    }
}

TEST(FinishRun, ExitCodeAndDescription)
{
    struct Case {
        const char* what;
        int result;
        uint32_t lastError;
        uint8_t oem2;
        int exitCode;
        std::string printed;
    } cases[] = {
        {"success ignores the word", 0, 0x0201000C, 0, 0, "\nExit Code: 0x00\n"},
        {"firmware status with its text", 12, 0x0201000C, 0, 12,
         "\nFW error description: \n The requested command cannot be completed, as the specified device does not "
         "exist.  \n\nExit Code: 0x0c\n"},
        {"drive wording", 0x46, 0x02010046, 1, 0x46,
         "\nFW error description: \n  The specified security key is not valid.  \n\nExit Code: 0x46\n"},
        {"text of the result, code of the status", 0x5A, 0x02010005, 0, 5,
         "\nFW error description: \n  Unknown error \n\nExit Code: 0x05\n"},
        {"failure after a firmware status", -1, 0x0201000C, 0, 1, "\nExit Code: 0x01\n"},
        {"ioctl failure is no firmware status", 7, 0x0202000C, 0, 7, "\nExit Code: 0x07\n"},
        {"completed without error", 7, 0x02010000, 0, 7, "\nExit Code: 0x07\n"},
        {"plain failure", -1, 0, 0, 1, "\nExit Code: 0x01\n"},
        {"other result", -2, 0, 0, -2, "\nExit Code: 0xfffffffe\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PavError::setLastError(c.lastError);
        useOem2FwErrorDescriptions = c.oem2;
        OutputCapture capture;
        EXPECT_EQ(finishRun(c.result), c.exitCode);
        EXPECT_EQ(capture.take(), c.printed);
        if (c.result != 0) {
            EXPECT_EQ(PavError::takeLastError(), 0u) << "the word is taken once";
        }
        PavError::takeLastError();
    }
    useOem2FwErrorDescriptions = 0;
}

}  // namespace
