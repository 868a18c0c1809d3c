// The text type of the program.
//
// Plain value semantics: every object owns one heap buffer, copies are deep, there is no
// sharing and no in-object short-string storage. Characters are plain bytes compared as the C
// string functions compare them; a text ends at its first NUL.
//
// Invariants after every operation: the character pointer is never null, the byte at index
// length() is NUL and the buffer holds at least length() + 1 bytes. Constructors allocate
// exactly length() + 1 bytes; assignment and append reuse the buffer when it is large enough
// and otherwise reallocate to exactly the size needed; a buffer never shrinks.
//
// When memory runs out (the out-of-memory line is printed by the allocator) a constructor
// yields the empty text and an assignment or append leaves the object unchanged.
//
// A null C string for construction or assignment and an index outside 0 .. length() - 1 are
// caller errors: they fail an assertion, which prints the C library's assertion message on
// standard error and aborts. The checks stay active in every build type.
#ifndef PAVUTIL_APSTRING_H
#define PAVUTIL_APSTRING_H

class apstring {
public:
    apstring();
    apstring(const char* s);
    apstring(const apstring& other);
    virtual ~apstring();

    const apstring& operator=(const apstring& other);
    const apstring& operator=(const char* s);
    const apstring& operator=(char c);

    int length() const { return myLength; }
    const char* c_str() const { return myChars; }

    char& operator[](int k);
    char operator[](int k) const;

    const apstring& operator+=(const apstring& s);
    const apstring& operator+=(char c);

    // Smallest index at which s occurs; -1 when it does not; 0 for an empty s.
    int find(const apstring& s) const;
    // Smallest index holding c; -1 when there is none.
    int find(char c) const;

    // The characters from pos (a negative pos counts as 0) for at most len characters; the
    // empty text when pos is at or beyond the end or len is not positive.
    apstring substr(int pos, int len) const;

    // Writes `width` characters and a NUL to dst (which holds width + 1 bytes): the text cut
    // to width characters, padded with `fill` when it is shorter. A negative width writes only
    // the NUL.
    void copyToBuffer(char* dst, int width, char fill) const;

protected:
    int myLength;       // characters, terminating NUL not counted
    int myBufferSize;   // bytes of the buffer, terminating NUL included
    char* myChars;      // owned, NUL-terminated

private:
    void releaseBuffer();
    // Replaces the text by the first `len` bytes of `text`, reusing the buffer when it is
    // large enough. Returns false (object unchanged) when out of memory.
    bool assign(const char* text, int len);
};

class string : public apstring {
public:
    string() : apstring() {}
    string(const char* s) : apstring(s) {}
    string(const apstring& other) : apstring(other) {}
    string(const string& other) : apstring(other) {}
    ~string() override {}

    using apstring::operator=;
    string& operator=(const string& other)
    {
        apstring::operator=(other);
        return *this;
    }
};

apstring operator+(const apstring& lhs, const apstring& rhs);
apstring operator+(char ch, const apstring& str);
apstring operator+(const apstring& str, char ch);

bool operator==(const apstring& lhs, const apstring& rhs);
bool operator!=(const apstring& lhs, const apstring& rhs);
bool operator<(const apstring& lhs, const apstring& rhs);
bool operator<=(const apstring& lhs, const apstring& rhs);
bool operator>(const apstring& lhs, const apstring& rhs);
bool operator>=(const apstring& lhs, const apstring& rhs);

#endif
