#include "Parser/Scanner.h"

#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The input is read in chunks of this size.
const int READ_CHUNK = 8192;

struct ScannerState {
    ScanPosition position = SCAN_COMMAND;
    int key = 0;
    int nameFlag = 0;
    char* lastWordText = nullptr;  // owned, new[]

    const char* input = nullptr;    // the line given to scannerInit
    const char* readPtr = nullptr;  // its unread rest
    char* buffer = nullptr;         // what was read of the line, NUL-terminated; owned, new[]
    int bufferLength = 0;
    int bufferPos = 0;
    bool loaded = false;

    ArrayList<Token*>* tokens = nullptr;
};

ScannerState scanner;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isWhiteSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

int skipBlanks(const char* text, int i)
{
    while (isBlank(text[i]))
        ++i;
    return i;
}

int skipBlanksBounded(const char* text, int i, int end)
{
    while (i < end && isBlank(text[i]))
        ++i;
    return i;
}

int skipDigitsBounded(const char* text, int i, int end)
{
    while (i < end && isDigit(text[i]))
        ++i;
    return i;
}

// A heap copy of the first len characters of text; null when out of memory.
char* copyText(const char* text, int len)
{
    char* copy = new (noThrowNew) char[len + 1];
    if (copy == nullptr)
        return nullptr;
    std::memcpy(copy, text, static_cast<size_t>(len));
    copy[len] = '\0';
    return copy;
}

void setLastWordText(char* text)
{
    delete[] scanner.lastWordText;
    scanner.lastWordText = text;
}

// Appends a token made of id and value to the scanner's list. The value is deleted when the
// token cannot be made or the list is full; false then.
bool appendToken(unsigned short id, TokenValue* value)
{
    if (value == nullptr)
        return false;
    if (scanner.tokens == nullptr || scanner.tokens->count() >= SCANNER_MAX_TOKENS) {
        delete value;
        return false;
    }
    Token* token = new (noThrowNew) Token(id, value);
    if (token == nullptr) {
        delete value;
        return false;
    }
    if (scanner.tokens->add(token) != 0) {
        delete token;
        return false;
    }
    return true;
}

bool appendTextToken(unsigned short id, const char* text)
{
    return appendToken(id, new (noThrowNew) TokenValueStr(apstring(text)));
}

// ---- shapes: each returns the length of its longest match at p, 0 for none ----------------

// Blanks, an optional '-', blanks, every character up to the next blank, line feed or '-',
// then blanks.
int matchCommandWord(const char* p)
{
    int i = skipBlanks(p, 0);
    if (p[i] == '-')
        ++i;
    i = skipBlanks(p, i);
    while (p[i] != '\0' && !isBlank(p[i]) && p[i] != '\n' && p[i] != '-')
        ++i;
    return skipBlanks(p, i);
}

// An optional '-', blanks, one or more letters, blanks.
int matchOptionWord(const char* p)
{
    int i = (p[0] == '-') ? 1 : 0;
    i = skipBlanks(p, i);
    int letters = i;
    while (isLetter(p[i]))
        ++i;
    if (i == letters)
        return 0;
    return skipBlanks(p, i);
}

int matchLineFeed(const char* p)
{
    return p[0] == '\n' ? 1 : 0;
}

// Digits, '.', one to three digits; or '.', one to three digits, blanks.
int matchDecimalNumber(const char* p)
{
    int i = 0;
    bool leadingDigits = false;
    while (isDigit(p[i])) {
        ++i;
        leadingDigits = true;
    }
    if (p[i] != '.' || !isDigit(p[i + 1]))
        return 0;
    ++i;
    for (int n = 0; n < 3 && isDigit(p[i]); ++n)
        ++i;
    return leadingDigits ? i : skipBlanks(p, i);
}

// Digits, blanks.
int matchNumber(const char* p)
{
    int i = 0;
    while (isDigit(p[i]))
        ++i;
    return i == 0 ? 0 : skipBlanks(p, i);
}

int matchPercent(const char* p)
{
    return p[0] == '%' ? skipBlanks(p, 1) : 0;
}

// One drive item from c[i]: an enclosure part (digits, a single '?' or nothing), blanks, ':',
// blanks, slot digits. An item that directly follows slot digits has no digit enclosure.
// The index after the item, or -1.
int driveItem(const char* c, int i, int end, bool directlyAfterSlot)
{
    if (i < end && c[i] == '?')
        ++i;
    else if (!directlyAfterSlot)
        i = skipDigitsBounded(c, i, end);
    i = skipBlanksBounded(c, i, end);
    if (i >= end || c[i] != ':')
        return -1;
    i = skipBlanksBounded(c, i + 1, end);
    if (i >= end || !isDigit(c[i]))
        return -1;
    return skipDigitsBounded(c, i, end);
}

// The characters between '[' and ']' form drive items separated by blanks, by one ',' (with
// or without blanks around it), or by nothing before an item with a '?' or empty enclosure.
bool isDriveListContent(const char* c, int end)
{
    int i = driveItem(c, skipBlanksBounded(c, 0, end), end, false);
    while (i >= 0) {
        int j = skipBlanksBounded(c, i, end);
        if (j == end)
            return true;
        if (c[j] == ',')
            i = driveItem(c, skipBlanksBounded(c, j + 1, end), end, false);
        else
            i = driveItem(c, j, end, j == i);
    }
    return false;
}

// The characters between '[' and ']' form numbers separated by blanks, by one ',' or both.
bool isDeviceListContent(const char* c, int end)
{
    int i = skipBlanksBounded(c, 0, end);
    if (i >= end || !isDigit(c[i]))
        return false;
    i = skipDigitsBounded(c, i, end);
    for (;;) {
        int j = skipBlanksBounded(c, i, end);
        if (j == end)
            return true;
        if (c[j] == ',')
            j = skipBlanksBounded(c, j + 1, end);
        else if (j == i)
            return false;
        if (j >= end || !isDigit(c[j]))
            return false;
        i = skipDigitsBounded(c, j, end);
    }
}

// Index of the ']' that closes the bracket at p[0], or -1 when a character that no list may
// hold comes first. Stopping there keeps the scan of a line of stray brackets linear.
int findListEnd(const char* p)
{
    for (int i = 1;; ++i) {
        char c = p[i];
        if (c == ']')
            return i;
        if (!(isDigit(c) || isBlank(c) || c == ',' || c == ':' || c == '?'))
            return -1;
    }
}

// '[', contents the check accepts, ']', blanks.
int matchList(const char* p, bool (*isContent)(const char*, int))
{
    if (p[0] != '[')
        return 0;
    int close = findListEnd(p);
    if (close < 0 || !isContent(p + 1, close - 1))
        return 0;
    return skipBlanks(p, close + 1);
}

int matchDriveList(const char* p)
{
    return matchList(p, isDriveListContent);
}

int matchDeviceList(const char* p)
{
    return matchList(p, isDeviceListContent);
}

// A double quote, anything but a double quote (line feeds too), a double quote, blanks.
int matchQuotedText(const char* p)
{
    if (p[0] != '"')
        return 0;
    const char* close = std::strchr(p + 1, '"');
    if (close == nullptr)
        return 0;
    return skipBlanks(p, static_cast<int>(close - p) + 1);
}

// Every character up to the next blank or line feed, then blanks.
int matchFreeText(const char* p)
{
    int i = 0;
    while (p[i] != '\0' && !isBlank(p[i]) && p[i] != '\n')
        ++i;
    return i == 0 ? 0 : skipBlanks(p, i);
}

// ---- actions ----------------------------------------------------------------------------

// Makes a token of id and tokenText, and keeps lastWord (an owned copy that tokenText may point
// into) as the last word text, whether the token was made or not. The id, or TOKEN_UNKNOWN when
// id is unknown or no token could be made.
int finishToken(unsigned short id, const char* tokenText, char* lastWord)
{
    bool made = id != TOKEN_UNKNOWN && appendTextToken(id, tokenText);
    setLastWordText(lastWord);
    return made ? id : TOKEN_UNKNOWN;
}

// A copy of the match without the white space around it; null when out of memory.
char* trimmedCopy(const char* match, int len)
{
    char* text = copyText(match, len);
    if (text != nullptr) {
        trimTrailingBlanks(text);
        trimLeadingBlanks(text);
    }
    return text;
}

// Looks up the word that copy holds after one optional '-' and makes its token.
int keywordToken(char* copy, unsigned short* next)
{
    char* word = skipOneDash(copy);
    trimTrailingBlanks(word);
    trimLeadingBlanks(word);
    return finishToken(lookupKeyword(scanner.key, word, next), word, copy);
}

int commandWordAction(const char* match, int len)
{
    char* copy = copyText(match, len);
    if (copy == nullptr)
        return TOKEN_UNKNOWN;
    trimLeadingBlanks(copy);
    // Trimming the word in place leaves the copy reading '-' and the word.
    unsigned short next = 0;
    int id = keywordToken(copy, &next);
    if (id == TOKEN_UNKNOWN)
        return TOKEN_UNKNOWN;
    scanner.key = next;
    switch (id) {
    case TOKEN_HELP:
    case TOKEN_HELP_SHT:
    case TOKEN_Q_MARK:
        // The help topic is free text, looked up once more (see freeTextAction).
        scanner.position = SCAN_TEXT;
        scanner.nameFlag = 1;
        break;
    case TOKEN_ADPSETSASA:
    case TOKEN_ADPSETSUBOEMID:
        scanner.position = SCAN_TEXT;
        break;
    case TOKEN_SET_LDPROPERTY:
    case TOKEN_SNAPSHOT:
    case TOKEN_CFGTIDEWELLADD:
        // Commands whose NAME option takes free text.
        scanner.position = SCAN_OPTION;
        scanner.nameFlag = 1;
        break;
    default:
        scanner.position = SCAN_OPTION;
        break;
    }
    return id;
}

int optionWordAction(const char* match, int len)
{
    char* copy = copyText(match, len);
    if (copy == nullptr)
        return TOKEN_UNKNOWN;
    unsigned short next = 0;
    int id = keywordToken(copy, &next);
    if (id == TOKEN_UNKNOWN)
        return TOKEN_UNKNOWN;
    switch (id) {
    case TOKEN_STARTOFFSET:
    case TOKEN_ENDOFFSET:
    case TOKEN_SNAPSHOT_NAME:
    case TOKEN_VIEW_NAME:
        scanner.position = SCAN_TEXT;
        break;
    case TOKEN_NAME:
        // NAME takes free text only after the commands that set the name flag.
        if (scanner.nameFlag == 1)
            scanner.position = SCAN_TEXT;
        break;
    default:
        if (next == KEYWORD_NEXT_TEXT)
            scanner.position = SCAN_TEXT;
        break;
    }
    return id;
}

int freeTextAction(const char* match, int len)
{
    char* text = trimmedCopy(match, len);
    if (text == nullptr)
        return TOKEN_UNKNOWN;

    unsigned short id = TOKEN_ALPHANUM_CONSTANT;
    ScanPosition position = SCAN_OPTION;
    if (scanner.nameFlag == 1) {
        // After a help word a global option may stand in the place of the topic.
        scanner.nameFlag = 0;
        unsigned short found = lookupKeyword(scanner.key, skipOneDash(text), nullptr);
        if (found == TOKEN_APP_LOG_FILE_NAME) {
            id = found;
            position = SCAN_TEXT;  // the file name follows
        } else if (found == TOKEN_PAGEBRK || found == TOKEN_SILENT || found == TOKEN_NOLOG) {
            id = found;
        }
    }
    int result = finishToken(id, text, text);
    if (result != TOKEN_UNKNOWN)
        scanner.position = position;
    return result;
}

int decimalNumberAction(const char* match, int len)
{
    char* text = trimmedCopy(match, len);
    if (text == nullptr)
        return TOKEN_UNKNOWN;
    return finishToken(TOKEN_DEC_NUMBER, text, text);
}

// A number beyond the range of int is no valid operand: the line is rejected at it rather
// than scanned as a wrapped value.
int numberAction(const char* match, int len)
{
    char* text = copyText(match, len);
    if (text == nullptr)
        return TOKEN_UNKNOWN;
    trimTrailingBlanks(text);
    long long value = 0;
    bool inRange = true;
    for (const char* d = text; *d != '\0'; ++d) {
        value = value * 10 + (*d - '0');
        if (value > INT_MAX) {
            inRange = false;
            break;
        }
    }
    bool made = inRange &&
                appendToken(TOKEN_NUMBER, new (noThrowNew) TokenValueInt(static_cast<int>(value)));
    setLastWordText(text);
    return made ? TOKEN_NUMBER : TOKEN_UNKNOWN;
}

// A '-' directly before a number: no shape takes the sign, so it would be echoed and dropped
// and "-L-1" would aim at drive 1. The signed number is no operand anywhere in the grammar: it
// is reported as an unknown word (no token), so the line is rejected at it before anything is
// sent. Free text and quoted text keep their '-' as typed; this is reached only where a number
// may stand.
int signedNumberAction(const char* match, int len)
{
    char* text = trimmedCopy(match, len);
    if (text == nullptr)
        return TOKEN_UNKNOWN;
    setLastWordText(text);
    return TOKEN_UNKNOWN;
}

int percentAction()
{
    char* text = copyText("%", 1);
    if (text == nullptr)
        return TOKEN_UNKNOWN;
    return finishToken(TOKEN_PERCENT, text, text);
}

// Drive and device lists: the token's text is what stands between the brackets, without
// surrounding white space; the last word text is '[' and that text.
int listAction(unsigned short id, const char* match, int len)
{
    const char* close = static_cast<const char*>(std::memchr(match, ']', static_cast<size_t>(len)));
    int inner = static_cast<int>(close - match) - 1;
    char* text = copyText(match, inner + 1);  // '[' and the contents
    if (text == nullptr)
        return TOKEN_UNKNOWN;
    char* contents = text + 1;
    trimTrailingBlanks(contents);
    trimLeadingBlanks(contents);
    return finishToken(id, contents, text);
}

int quotedTextAction(const char* match, int len)
{
    char* text = trimmedCopy(match, len);
    if (text == nullptr)
        return TOKEN_UNKNOWN;
    // Without its quotes; blanks inside stay.
    int textLength = static_cast<int>(std::strlen(text));
    std::memmove(text, text + 1, static_cast<size_t>(textLength - 2));
    text[textLength - 2] = '\0';
    return finishToken(TOKEN_ALPHANUM_CONSTANT, text, text);
}

// ---- input --------------------------------------------------------------------------------

bool loadInput()
{
    if (scanner.loaded)
        return scanner.buffer != nullptr;
    scanner.loaded = true;
    int capacity = READ_CHUNK + 1;
    char* buffer = new (noThrowNew) char[capacity];
    if (buffer == nullptr)
        return false;
    int length = 0;
    for (;;) {
        if (capacity - 1 - length < READ_CHUNK) {
            if (capacity > INT_MAX / 2) {
                delete[] buffer;
                return false;
            }
            char* larger = new (noThrowNew) char[capacity * 2];
            if (larger == nullptr) {
                delete[] buffer;
                return false;
            }
            std::memcpy(larger, buffer, static_cast<size_t>(length));
            delete[] buffer;
            buffer = larger;
            capacity *= 2;
        }
        int count = scannerReadInput(buffer + length, READ_CHUNK);
        if (count <= 0)
            break;
        length += count;
    }
    buffer[length] = '\0';
    scanner.buffer = buffer;
    scanner.bufferLength = length;
    scanner.bufferPos = 0;
    return true;
}

void echo(char c)
{
    std::fputc(c, stdout);
}

// A match longer than the scanner's limit ends the process.
void checkMatchLength(int len)
{
    if (len > SCANNER_MAX_MATCH) {
        std::fputs("token too large, exceeds YYLMAX\n", stderr);
        std::exit(2);
    }
}

enum OptionShape {
    SHAPE_NONE,
    SHAPE_OPTION_WORD,
    SHAPE_LINE_FEED,
    SHAPE_DECIMAL_NUMBER,
    SHAPE_NUMBER,
    SHAPE_PERCENT,
    SHAPE_DRIVE_LIST,
    SHAPE_DEVICE_LIST,
    SHAPE_QUOTED_TEXT
};

struct OptionShapeEntry {
    OptionShape shape;
    int (*match)(const char*);
};

// The shapes of the option position in priority order: of two matches of the same length the
// earlier shape wins.
const OptionShapeEntry OPTION_SHAPES[] = {
    {SHAPE_OPTION_WORD, matchOptionWord},   {SHAPE_LINE_FEED, matchLineFeed},
    {SHAPE_DECIMAL_NUMBER, matchDecimalNumber}, {SHAPE_NUMBER, matchNumber},
    {SHAPE_PERCENT, matchPercent},          {SHAPE_DRIVE_LIST, matchDriveList},
    {SHAPE_DEVICE_LIST, matchDeviceList},   {SHAPE_QUOTED_TEXT, matchQuotedText},
};

}  // namespace

void scannerInit(const char* text)
{
    delete[] scanner.buffer;
    scanner.buffer = nullptr;
    scanner.bufferLength = 0;
    scanner.bufferPos = 0;
    scanner.loaded = false;
    scanner.input = text != nullptr ? text : "";
    scanner.readPtr = scanner.input;
    // A list that nobody took from an abandoned scan still belongs to the scanner.
    if (scanner.tokens != nullptr) {
        for (unsigned char i = 0; i < scanner.tokens->count(); ++i)
            delete scanner.tokens->get(i);
        delete scanner.tokens;
    }
    scanner.tokens = new (noThrowNew) ArrayList<Token*>(4);
}

int scannerReadInput(void* buffer, int max)
{
    if (scanner.readPtr == nullptr || max <= 0)
        return 0;
    int count = 0;
    char* out = static_cast<char*>(buffer);
    while (count < max && scanner.readPtr[count] != '\0') {
        out[count] = scanner.readPtr[count];
        ++count;
    }
    scanner.readPtr += count;
    return count;
}

int yywrap()
{
    return 1;
}

int yylex()
{
    if (!loadInput())
        return 0;
    for (;;) {
        const char* p = scanner.buffer + scanner.bufferPos;
        if (*p == '\0') {
            yywrap();
            return 0;
        }
        if (scanner.position == SCAN_COMMAND) {
            if (*p == '\n') {
                ++scanner.bufferPos;
                continue;
            }
            int len = matchCommandWord(p);
            checkMatchLength(len);
            scanner.bufferPos += len;
            return commandWordAction(p, len);
        }
        if (scanner.position == SCAN_TEXT) {
            int len = matchFreeText(p);
            if (len == 0) {
                echo(*p);
                ++scanner.bufferPos;
                continue;
            }
            checkMatchLength(len);
            scanner.bufferPos += len;
            return freeTextAction(p, len);
        }

        if (isBlank(*p)) {
            // Only an option word can start with blanks, and only when letters follow them; a
            // run of blanks before anything else is echoed in one go (the same result as blank
            // by blank, without scanning the run again from each of its blanks).
            int run = skipBlanks(p, 0);
            if (!isLetter(p[run])) {
                for (int i = 0; i < run; ++i)
                    echo(p[i]);
                scanner.bufferPos += run;
                continue;
            }
        }

        OptionShape best = SHAPE_NONE;
        int bestLength = 0;
        for (const OptionShapeEntry& entry : OPTION_SHAPES) {
            int len = entry.match(p);
            if (len > bestLength) {
                bestLength = len;
                best = entry.shape;
            }
        }
        if (best == SHAPE_NONE && p[0] == '-' && isDigit(p[1])) {
            int numberLength = std::max(matchDecimalNumber(p + 1), matchNumber(p + 1));
            checkMatchLength(numberLength + 1);
            scanner.bufferPos += numberLength + 1;
            return signedNumberAction(p, numberLength + 1);
        }
        if (best == SHAPE_NONE) {
            echo(*p);
            ++scanner.bufferPos;
            continue;
        }
        checkMatchLength(bestLength);
        scanner.bufferPos += bestLength;
        switch (best) {
        case SHAPE_OPTION_WORD:
            return optionWordAction(p, bestLength);
        case SHAPE_LINE_FEED:
            // A line feed starts a new command word.
            scanner.key = 0;
            scanner.position = SCAN_COMMAND;
            continue;
        case SHAPE_DECIMAL_NUMBER:
            return decimalNumberAction(p, bestLength);
        case SHAPE_NUMBER:
            return numberAction(p, bestLength);
        case SHAPE_PERCENT:
            return percentAction();
        case SHAPE_DRIVE_LIST:
            return listAction(TOKEN_CHANNEL_TARGET_LIST, p, bestLength);
        case SHAPE_DEVICE_LIST:
            return listAction(TOKEN_ENCDEVID_LIST, p, bestLength);
        case SHAPE_QUOTED_TEXT:
            return quotedTextAction(p, bestLength);
        case SHAPE_NONE:
            break;
        }
    }
}

char* trimTrailingBlanks(char* text)
{
    size_t len = std::strlen(text);
    while (len > 0 && isWhiteSpace(text[len - 1]))
        --len;
    text[len] = '\0';
    return text;
}

char* trimLeadingBlanks(char* text)
{
    size_t skip = 0;
    while (text[skip] != '\0' && isWhiteSpace(text[skip]))
        ++skip;
    if (skip > 0)
        std::memmove(text, text + skip, std::strlen(text + skip) + 1);
    return text;
}

char* skipOneDash(char* text)
{
    return text[0] == '-' ? text + 1 : text;
}

const char* scannerLastWordText()
{
    return scanner.lastWordText;
}

ArrayList<Token*>* scannerTokenList()
{
    return scanner.tokens;
}

ArrayList<Token*>* scannerTakeTokenList()
{
    ArrayList<Token*>* tokens = scanner.tokens;
    scanner.tokens = nullptr;
    return tokens;
}

void scannerRelease()
{
    delete[] scanner.buffer;
    scanner.buffer = nullptr;
    scanner.bufferLength = 0;
    scanner.bufferPos = 0;
    scanner.loaded = false;
    scanner.input = nullptr;
    scanner.readPtr = nullptr;
    setLastWordText(nullptr);
}

void scannerResetState()
{
    scanner.position = SCAN_COMMAND;
    scanner.key = 0;
    scanner.nameFlag = 0;
}
