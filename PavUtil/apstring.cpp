// The checks of this class call the C library's assertion routine in every build type.
#ifdef NDEBUG
#undef NDEBUG
#endif
#include <assert.h>

#include "PavUtil/apstring.h"

#include "PavUtil/Memory.h"

#include <climits>
#include <cstring>

namespace {

// The source name reported by a failed check; part of the assertion message.
const char* const SOURCE_NAME = "PavUtil/CppStr";

// Shared 1-byte buffer of a text made while memory ran out: never written beyond its NUL
// (every write of a longer text reallocates first) and never released.
char emptyChars[1] = {'\0'};

// The C library's assertion routine: message on standard error, then abort. Called directly
// so that the checks stay active whatever NDEBUG says.
[[noreturn]] void failCheck(const char* expression, unsigned int line, const char* function)
{
    __assert_fail(expression, SOURCE_NAME, line, function);
}

// A buffer for `size` bytes, or null (out-of-memory line printed) when it cannot be had;
// sizes that the int fields cannot describe count as out of memory.
char* allocateChars(long long size)
{
    if (size <= 0 || size > INT_MAX) {
        reportOutOfMemory();
        return nullptr;
    }
    return new (noThrowNew) char[static_cast<std::size_t>(size)];
}

} // namespace

void apstring::releaseBuffer()
{
    if (myChars != nullptr && myChars != emptyChars)
        delete[] myChars;
}

apstring::apstring() : myLength(0), myBufferSize(1), myChars(allocateChars(1))
{
    if (myChars == nullptr)
        myChars = emptyChars;
    myChars[0] = '\0';
}

apstring::apstring(const char* s) : myLength(0), myBufferSize(1), myChars(emptyChars)
{
    if (s == nullptr)
        failCheck("s != 0", 46, "apstring::apstring(const char*)");
    std::size_t len = std::strlen(s);
    char* chars = allocateChars(static_cast<long long>(len) + 1);
    if (chars == nullptr)
        return;
    std::memcpy(chars, s, len + 1);
    myChars = chars;
    myLength = static_cast<int>(len);
    myBufferSize = myLength + 1;
}

apstring::apstring(const apstring& other) : myLength(0), myBufferSize(1), myChars(emptyChars)
{
    // Exact size: the source's spare buffer room is not copied.
    char* chars = allocateChars(static_cast<long long>(other.myLength) + 1);
    if (chars == nullptr)
        return;
    std::memcpy(chars, other.myChars, static_cast<std::size_t>(other.myLength) + 1);
    myChars = chars;
    myLength = other.myLength;
    myBufferSize = myLength + 1;
}

apstring::~apstring() { releaseBuffer(); }

bool apstring::assign(const char* text, int len)
{
    if (myBufferSize < len + 1) {
        char* chars = allocateChars(static_cast<long long>(len) + 1);
        if (chars == nullptr)
            return false;
        releaseBuffer();
        myChars = chars;
        myBufferSize = len + 1;
    }
    // memmove: the text may lie inside this object's own buffer.
    std::memmove(myChars, text, static_cast<std::size_t>(len));
    myChars[len] = '\0';
    myLength = len;
    return true;
}

const apstring& apstring::operator=(const apstring& other)
{
    if (this != &other)
        assign(other.myChars, other.myLength);
    return *this;
}

const apstring& apstring::operator=(const char* s)
{
    if (s == nullptr)
        failCheck("s != 0", 117, "const apstring& apstring::operator=(const char*)");
    std::size_t len = std::strlen(s);
    if (len >= static_cast<std::size_t>(INT_MAX))
        reportOutOfMemory();
    else
        assign(s, static_cast<int>(len));
    return *this;
}

const apstring& apstring::operator=(char c)
{
    if (myBufferSize <= 1) {
        char* chars = allocateChars(2);
        if (chars == nullptr)
            return *this;
        releaseBuffer();
        myChars = chars;
        myBufferSize = 2;
    }
    myChars[0] = c;
    myChars[1] = '\0';
    // A NUL character leaves the empty text: a text ends at its first NUL.
    myLength = c == '\0' ? 0 : 1;
    return *this;
}

char& apstring::operator[](int k)
{
    if (!(0 <= k && k < myLength))
        failCheck("0 <= k && k < myLength", 186, "char& apstring::operator[](int)");
    return myChars[k];
}

char apstring::operator[](int k) const
{
    if (!(0 <= k && k < myLength))
        failCheck("0 <= k && k < myLength", 203, "char apstring::operator[](int) const");
    return myChars[k];
}

const apstring& apstring::operator+=(const apstring& s)
{
    // A copy first, so that a text can be appended to itself.
    apstring copy(s);
    if (copy.myLength != s.myLength)
        return *this;  // out of memory: unchanged
    long long newLength = static_cast<long long>(myLength) + copy.myLength;
    if (newLength >= myBufferSize) {
        char* chars = allocateChars(newLength + 1);
        if (chars == nullptr)
            return *this;
        std::memcpy(chars, myChars, static_cast<std::size_t>(myLength) + 1);
        releaseBuffer();
        myChars = chars;
        myBufferSize = static_cast<int>(newLength + 1);
    }
    std::memcpy(myChars + myLength, copy.myChars, static_cast<std::size_t>(copy.myLength) + 1);
    myLength = static_cast<int>(newLength);
    return *this;
}

const apstring& apstring::operator+=(char c)
{
    apstring one;
    one = c;
    if (one.myLength == 1 || c == '\0')
        *this += one;
    return *this;
}

int apstring::find(const apstring& s) const
{
    int len = s.myLength;
    for (int i = 0; i <= myLength - len; ++i) {
        if (std::memcmp(myChars + i, s.myChars, static_cast<std::size_t>(len)) == 0)
            return i;
    }
    return -1;
}

int apstring::find(char c) const
{
    for (int i = 0; i < myLength; ++i) {
        if (myChars[i] == c)
            return i;
    }
    return -1;
}

apstring apstring::substr(int pos, int len) const
{
    if (pos < 0)
        pos = 0;
    apstring result;
    if (pos >= myLength || len <= 0)
        return result;
    long long last = static_cast<long long>(pos) + len - 1;
    if (last >= myLength)
        last = myLength - 1;
    result.assign(myChars + pos, static_cast<int>(last - pos + 1));
    return result;
}

void apstring::copyToBuffer(char* dst, int width, char fill) const
{
    if (dst == nullptr)
        return;
    if (width < 0)
        width = 0;
    int copied = myLength < width ? myLength : width;
    std::memcpy(dst, myChars, static_cast<std::size_t>(copied));
    for (int i = copied; i < width; ++i)
        dst[i] = fill;
    dst[width] = '\0';
}

apstring operator+(const apstring& lhs, const apstring& rhs)
{
    apstring result(lhs);
    result += rhs;
    return result;
}

apstring operator+(char ch, const apstring& str)
{
    apstring result;
    result = ch;
    result += str;
    return result;
}

apstring operator+(const apstring& str, char ch)
{
    apstring result(str);
    result += ch;
    return result;
}

bool operator==(const apstring& lhs, const apstring& rhs)
{
    return std::strcmp(lhs.c_str(), rhs.c_str()) == 0;
}

bool operator!=(const apstring& lhs, const apstring& rhs) { return !(lhs == rhs); }

bool operator<(const apstring& lhs, const apstring& rhs)
{
    return std::strcmp(lhs.c_str(), rhs.c_str()) < 0;
}

bool operator<=(const apstring& lhs, const apstring& rhs) { return lhs < rhs || lhs == rhs; }

bool operator>(const apstring& lhs, const apstring& rhs) { return rhs < lhs; }

bool operator>=(const apstring& lhs, const apstring& rhs) { return rhs <= lhs; }
