#include "PavUtil/apstring.h"
#include "PavUtil/Memory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Exposes the buffer size, which decides when the class reallocates.
class Probe : public apstring {
public:
    explicit Probe(const char* s) : apstring(s) {}
    int bufferSize() const { return myBufferSize; }
    using apstring::operator=;
};


const char* const OUT_OF_MEMORY_LINE = "!!! SYSTEM IS OUT OF MEMORY !!!\n";

} // namespace

TEST(String, ConstructionMakesExactSizeBuffers)
{
    apstring empty;
    EXPECT_EQ(empty.length(), 0);
    EXPECT_STREQ(empty.c_str(), "");

    Probe hello("hello");
    EXPECT_EQ(hello.length(), 5);
    EXPECT_EQ(hello.bufferSize(), 6);

    // A copy of an object whose buffer is larger than its text has an exact-size buffer.
    Probe big("a much longer text");
    big = "x";
    EXPECT_EQ(big.bufferSize(), 19);
    Probe assigned("");
    assigned = big;  // too small a buffer: replaced by one of exactly 2 bytes
    EXPECT_EQ(assigned.bufferSize(), 2);
    string fromBig(big);
    EXPECT_STREQ(fromBig.c_str(), "x");
    Probe probeOfCopy(fromBig.c_str());
    EXPECT_EQ(probeOfCopy.bufferSize(), 2);
}

TEST(String, AssignmentReusesOrGrowsToExactSize)
{
    Probe s("hello");
    s = "x";
    EXPECT_STREQ(s.c_str(), "x");
    EXPECT_EQ(s.length(), 1);
    EXPECT_EQ(s.bufferSize(), 6);  // kept, never shrinks

    Probe t("x");
    t = "abcdefghijk";  // 11 characters
    EXPECT_EQ(t.bufferSize(), 12);
    EXPECT_STREQ(t.c_str(), "abcdefghijk");

    Probe e("");
    EXPECT_EQ(e.bufferSize(), 1);
    e = 'q';
    EXPECT_EQ(e.bufferSize(), 2);
    EXPECT_STREQ(e.c_str(), "q");

    string self("same");
    string& alias = self;
    self = alias;
    EXPECT_STREQ(self.c_str(), "same");
}

TEST(String, AppendAndConcatenation)
{
    string ab("ab");
    ab += ab;  // appending a text to itself
    EXPECT_STREQ(ab.c_str(), "abab");
    EXPECT_EQ(ab.length(), 4);

    string s("x");
    s += 'y';
    s += string("");
    EXPECT_STREQ(s.c_str(), "xy");

    string joined = string("foo") + string("bar");
    EXPECT_STREQ(joined.c_str(), "foobar");
    EXPECT_STREQ(('<' + string("a")).c_str(), "<a");
    EXPECT_STREQ((string("a") + '>').c_str(), "a>");
    string viaConversion = string("a") + "b";
    EXPECT_STREQ(viaConversion.c_str(), "ab");

    // Appending into spare room keeps the buffer.
    Probe p("hello world");
    p = "hi";
    p += string(" there");
    EXPECT_STREQ(p.c_str(), "hi there");
    EXPECT_EQ(p.bufferSize(), 12);
}

TEST(String, FindAndSubstr)
{
    struct FindCase { const char* text; const char* what; int expected; };
    const FindCase finds[] = {
        {"abc", "", 0}, {"abc", "abcd", -1}, {"abcabc", "bc", 1}, {"abc", "abc", 0},
        {"abc", "c", 2}, {"", "", 0}, {"", "a", -1}, {"aaab", "aab", 1},
    };
    for (const FindCase& c : finds)
        EXPECT_EQ(string(c.text).find(string(c.what)), c.expected) << c.text << " / " << c.what;
    EXPECT_EQ(string("hello").find('l'), 2);
    EXPECT_EQ(string("hello").find('z'), -1);

    struct SubCase { int pos; int len; const char* expected; };
    const SubCase subs[] = {
        {-3, 2, "he"}, {3, 100, "lo"}, {5, 1, ""}, {1, 0, ""}, {1, -4, ""},
        {0, 5, "hello"}, {4, 1, "o"}, {2, 0x7fffffff, "llo"}, {99, 1, ""},
    };
    string hello("hello");
    for (const SubCase& c : subs) {
        Probe result(hello.substr(c.pos, c.len).c_str());
        EXPECT_STREQ(result.c_str(), c.expected) << c.pos << "," << c.len;
    }
    // The result is an exact-size copy.
    apstring sub = hello.substr(1, 2);
    Probe exact(sub.c_str());
    EXPECT_EQ(exact.bufferSize(), 3);
}

TEST(String, ComparisonIsByteOrder)
{
    EXPECT_TRUE(string("B") < string("a"));
    EXPECT_TRUE(string("abc") <= string("abc"));
    EXPECT_TRUE(string("abc") > string("ab"));
    EXPECT_TRUE(string("abc") >= string("abc"));
    EXPECT_FALSE(string("abc") > string("abd"));
    EXPECT_TRUE(string("x") == "x");
    EXPECT_TRUE(string("x") != string("y"));
    // Plain bytes are signed chars compared as the C library compares them.
    EXPECT_TRUE(string("a") < string("\xe9"));
}

TEST(String, IndexingAndCopyToBuffer)
{
    string s("abc");
    s[1] = 'X';
    EXPECT_STREQ(s.c_str(), "aXc");
    const string& cs = s;
    EXPECT_EQ(cs[2], 'c');

    char buf[8];
    std::memset(buf, '#', sizeof buf);
    s.copyToBuffer(buf, s.length(), 0);
    EXPECT_STREQ(buf, "aXc");
    EXPECT_EQ(buf[4], '#');  // nothing beyond length + 1

    s.copyToBuffer(buf, 5, '.');
    EXPECT_STREQ(buf, "aXc..");
    s.copyToBuffer(buf, 2, '.');
    EXPECT_STREQ(buf, "aX");
}

TEST(String, NulCharacterKeepsTheTextConsistent)
{
    string s("abc");
    s = '\0';
    EXPECT_EQ(s.length(), 0);
    EXPECT_STREQ(s.c_str(), "");
    s += '\0';
    EXPECT_EQ(s.length(), 0);
}

TEST(StringDeathTest, BrokenPreconditionsFailTheAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* none = nullptr;
    EXPECT_DEATH({ apstring s(none); },
                 "PavUtil/CppStr:46: apstring::apstring\\(const char\\*\\): Assertion `s != 0' failed");
    EXPECT_DEATH({ apstring s; s = none; },
                 "PavUtil/CppStr:117: const apstring& apstring::operator=\\(const char\\*\\): "
                 "Assertion `s != 0' failed");
    EXPECT_DEATH({ apstring s("ab"); s[2] = 'x'; },
                 "PavUtil/CppStr:186: char& apstring::operator\\[\\]\\(int\\): "
                 "Assertion `0 <= k && k < myLength' failed");
    EXPECT_DEATH({ const apstring s("ab"); (void)s[-1]; },
                 "PavUtil/CppStr:203: char apstring::operator\\[\\]\\(int\\) const: "
                 "Assertion `0 <= k && k < myLength' failed");
}

TEST(String, OutOfMemoryLeavesValidTexts)
{
    // A constructor that cannot allocate yields the empty text.
    std::string out = testsupport::stdoutOf([] {
        failNextAllocations(1);
        string s("hello");
        EXPECT_EQ(s.length(), 0);
        EXPECT_STREQ(s.c_str(), "");
        s += string("later");  // the text stays usable
        EXPECT_STREQ(s.c_str(), "later");
    });
    EXPECT_EQ(out, OUT_OF_MEMORY_LINE);

    // An assignment or append that cannot allocate leaves the text unchanged.
    out = testsupport::stdoutOf([] {
        string s("ab");
        failNextAllocations(1);
        s = "a longer text";
        EXPECT_STREQ(s.c_str(), "ab");
        string cd("cd");
        failNextAllocations(1);
        s += cd;
        EXPECT_STREQ(s.c_str(), "ab");
        EXPECT_EQ(pendingAllocationFailures(), 0u);
        s += cd;
        EXPECT_STREQ(s.c_str(), "abcd");
    });
    EXPECT_EQ(out, std::string(OUT_OF_MEMORY_LINE) + OUT_OF_MEMORY_LINE);
}
