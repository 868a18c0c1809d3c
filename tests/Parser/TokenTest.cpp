#include "Parser/Grammar.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Counts how often values of this class are destroyed.
int destroyedValues = 0;

class CountingValue : public TokenValue {
public:
    ~CountingValue() override { ++destroyedValues; }
    string toString() const override { return string("counted"); }
};

TEST(TokenTest, DeletingATokenDeletesItsValueOnce)
{
    destroyedValues = 0;
    Token* token = new Token(TOKEN_NUMBER, new CountingValue);
    EXPECT_EQ(0, token->isConsumed());
    token->setConsumed(1);
    EXPECT_EQ(1, token->isConsumed());
    delete token;
    EXPECT_EQ(1, destroyedValues);
}

TEST(TokenTest, IntValueFormatsWithPercentD)
{
    EXPECT_STREQ("-5", TokenValueInt(-5).toString().c_str());
    EXPECT_STREQ("0", TokenValueInt(0).toString().c_str());
    EXPECT_STREQ("-2147483648", TokenValueInt(-2147483647 - 1).toString().c_str());
    EXPECT_EQ(42, TokenValueInt(42).getValue());
}

TEST(TokenTest, StrValueKeepsItsOwnCopyAndCase)
{
    char text[] = "aALL";
    TokenValueStr value{apstring(text)};
    text[0] = 'X';
    EXPECT_STREQ("aALL", value.getValue().c_str());
    EXPECT_STREQ("aALL", value.toString().c_str());
}

TEST(TokenTest, TokenizerDeletesEveryTokenOfAnAcceptedLineOnce)
{
    // Under the sanitizers a double or missing delete shows here.
    destroyedValues = 0;
    ArrayList<Token*>* tokens = new ArrayList<Token*>(4);
    for (int i = 0; i < 10; ++i) {
        Token* token = new Token(TOKEN_NUMBER, new CountingValue);
        token->setConsumed(static_cast<unsigned char>(i % 2));
        tokens->add(token);
    }
    deleteTokenList(tokens);
    EXPECT_EQ(10, destroyedValues);
}

TEST(TokenTest, TokenNamesRoundTrip)
{
    EXPECT_STREQ("TOKEN_ADPALLINFO", tokenName(TOKEN_ADPALLINFO));
    EXPECT_STREQ("TOKEN_UNKNOWN", tokenName(TOKEN_UNKNOWN));
    EXPECT_EQ(nullptr, tokenName(200));
    EXPECT_EQ(TOKEN_PAGEBRK, tokenIdByName("PAGEBRK"));
    EXPECT_EQ(TOKEN_PAGE, tokenIdByName("PAGE"));
    EXPECT_EQ(TOKEN_UNKNOWN, tokenIdByName("NO_SUCH_TOKEN"));
}

}  // namespace
