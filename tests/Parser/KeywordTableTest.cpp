#include "Parser/Scanner.h"
#include "Parser/TokenIds.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <strings.h>

namespace {

TEST(KeywordTableTest, HoldsTheCommandAndOptionWords)
{
    ASSERT_EQ(466, KEYWORD_TABLE_SIZE);
    int commands = 0;
    int options = 0;
    for (int i = 0; i < KEYWORD_TABLE_SIZE; ++i) {
        const KeywordEntry& row = KeywordTable[i];
        if (row.key == KEYWORD_KEY_COMMAND) {
            ++commands;
            EXPECT_NE(0, row.next) << row.word;  // a command word never lets another one match
        } else {
            ASSERT_EQ(KEYWORD_KEY_ANY, row.key) << row.word;
            ++options;
            EXPECT_TRUE(row.next == KEYWORD_NEXT_TEXT || row.next == KEYWORD_NEXT_SAME) << row.word;
        }
    }
    EXPECT_EQ(152, commands);
    EXPECT_EQ(314, options);
}

// Of a word that stands twice only the first row is ever found; apart from PAGE both rows
// carry the same id.
TEST(KeywordTableTest, RepeatedWordsCarryOneIdExceptPage)
{
    for (int i = 0; i < KEYWORD_TABLE_SIZE; ++i) {
        for (int j = i + 1; j < KEYWORD_TABLE_SIZE; ++j) {
            if (strcasecmp(KeywordTable[i].word, KeywordTable[j].word) != 0)
                continue;
            if (std::string(KeywordTable[i].word) == "PAGE") {
                EXPECT_EQ(TOKEN_PAGEBRK, KeywordTable[i].tokenId);
                EXPECT_EQ(TOKEN_PAGE, KeywordTable[j].tokenId);
            } else {
                EXPECT_EQ(KeywordTable[i].tokenId, KeywordTable[j].tokenId) << KeywordTable[i].word;
            }
        }
    }
}

struct LookupCase {
    int key;
    const char* word;
    unsigned short id;
};

TEST(KeywordTableTest, LookupIgnoresCaseAndHonoursTheKey)
{
    const LookupCase cases[] = {
        {0, "PAGE", TOKEN_PAGEBRK},
        {KEYWORD_NEXT_OPTION, "page", TOKEN_PAGEBRK},
        {0, "CFGSAVE", TOKEN_ADPCFGSAVE},
        {0, "AdpCfgSave", TOKEN_ADPCFGSAVE},
        {0, "enclist", TOKEN_ENCLSHOWENCLLIST},
        {0, "ENCLLIST", TOKEN_ENCLSHOWENCLLIST},
        {0, "ShowEnclList", TOKEN_ENCLSHOWENCLLIST},
        {KEYWORD_NEXT_OPTION, "DSBL", TOKEN_DISABLE},
        {KEYWORD_NEXT_OPTION, "disable", TOKEN_DISABLE},
        {KEYWORD_NEXT_OPTION, "Abort", TOKEN_STOP},
        {KEYWORD_NEXT_OPTION, "STOP", TOKEN_STOP},
        {KEYWORD_NEXT_OPTION, "cachedbadbbu", TOKEN_CACHE_BADBBU},
        {KEYWORD_NEXT_OPTION, "NOCACHEDBADBBU", TOKEN_CACHE_BADBBU_NO},
        // Command words match only under key 0, the first word of a line.
        {KEYWORD_NEXT_OPTION, "AdpAllInfo", TOKEN_UNKNOWN},
        {0, "AdpAllInfo", TOKEN_ADPALLINFO},
        // Option rows serving as command words match under any key.
        {0, "ADPDOWNGRADE", TOKEN_ADPDOWNGRADE},
        {KEYWORD_NEXT_OPTION, "AdpDowngrade", TOKEN_ADPDOWNGRADE},
        {0, "FullStrSeekTest", TOKEN_FULLSTRSEEKTEST},
        {0, "Silent", TOKEN_SILENT},
        {0, "PDHSP", TOKEN_PDHSP},
        {0, "", TOKEN_UNKNOWN},
        {0, "ADPALLINF", TOKEN_UNKNOWN},
        {0, "ADPALLINFOX", TOKEN_UNKNOWN},
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(c.id, lookupKeyword(c.key, c.word, nullptr)) << c.word << " under " << c.key;
    }
}

TEST(KeywordTableTest, LookupGivesTheRowsNext)
{
    unsigned short next = 0;
    EXPECT_EQ(TOKEN_FILE, lookupKeyword(KEYWORD_NEXT_OPTION, "f", &next));
    EXPECT_EQ(KEYWORD_NEXT_TEXT, next);
    EXPECT_EQ(TOKEN_ADAPTER, lookupKeyword(KEYWORD_NEXT_OPTION, "A", &next));
    EXPECT_EQ(KEYWORD_NEXT_SAME, next);
    EXPECT_EQ(TOKEN_ADPALLINFO, lookupKeyword(0, "ADPALLINFO", &next));
    EXPECT_EQ(KEYWORD_NEXT_OPTION, next);
    next = 7;
    EXPECT_EQ(TOKEN_UNKNOWN, lookupKeyword(0, "nothing", &next));
    EXPECT_EQ(7, next);
}

// The words whose following word is free text.
TEST(KeywordTableTest, TextFollowsMarks)
{
    const char* marked[] = {"F", "PAGETYPE", "LOGFILE", "APPLOGFILE", "OFFSET", "STARTTIME",
                            "STARTOFFSET", "ENDOFFSET", "ESM", "KEYID", "OLDSECURITYKEY",
                            "OLDPASSPHRASE", "PASSPHRASE", "SECURITYKEY", "CHECKFW", "CHECKID",
                            "ERASEPATTERN", "ADDVD", "REMVD", "ADDCDEV", "REMCDEV", "ONLINEVD",
                            "NAME"};
    int count = 0;
    for (int i = 0; i < KEYWORD_TABLE_SIZE; ++i) {
        if (KeywordTable[i].key == KEYWORD_KEY_ANY && KeywordTable[i].next == KEYWORD_NEXT_TEXT)
            ++count;
    }
    EXPECT_EQ(static_cast<int>(sizeof(marked) / sizeof(marked[0])), count);
    for (const char* word : marked) {
        unsigned short next = 0;
        EXPECT_NE(TOKEN_UNKNOWN, lookupKeyword(KEYWORD_NEXT_OPTION, word, &next)) << word;
        EXPECT_EQ(KEYWORD_NEXT_TEXT, next) << word;
    }
}

TEST(KeywordTableTest, TrimHelpers)
{
    char a[] = " \t word \n";
    EXPECT_STREQ(" \t word", trimTrailingBlanks(a));
    EXPECT_STREQ("word", trimLeadingBlanks(a));
    char blank[] = " \t ";
    EXPECT_STREQ("", trimTrailingBlanks(blank));
    char dashes[] = "--x";
    EXPECT_STREQ("-x", skipOneDash(dashes));
    char none[] = "x";
    EXPECT_STREQ("x", skipOneDash(none));
}

}  // namespace
