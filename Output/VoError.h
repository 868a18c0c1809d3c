// Error texts and the id-to-text tables of the error reporter and the two log files.
//
// A text id is 16 bits: the group in bits 8-15, the row in bits 0-7. Every table has
// TEXT_TABLE_GROUPS groups of TEXT_TABLE_ROWS rows; an id outside the table, in a group the table
// does not fill, or on a row without a text gives the shared empty text.
//
// Table texts are printf formats whose arguments come from the caller. Because the format is
// looked up at run time the compiler cannot check it, so the arguments are passed as typed
// `TextArg` values and every conversion is checked against its argument before anything is
// formatted: a text is only formatted when its conversions and the arguments agree, and a
// conversion without a fitting argument is never formatted.
#ifndef VOERROR_H
#define VOERROR_H

#include "PavUtil/apstring.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

const int TEXT_TABLE_GROUPS = 8;
const int TEXT_TABLE_ROWS = 32;

// Largest formatted error or log text, terminating NUL included; a longer text is cut.
const size_t TEXT_FORMAT_BUFFER = 1024;

// Text ids of the error reporter.
const uint16_t VOERROR_WRONG_PARAMETERS = 0x0001;
const uint16_t VOERROR_INVALID_OPTION = 0x0101;

// One row of a text table as transcribed: its id and its text.
struct TextTableRow {
    uint16_t id;
    const char* text;
};

// The transcribed contents of one table: a bit per filled group (bit n = group n) and its rows.
struct TextTableData {
    uint8_t filledGroups;
    const TextTableRow* rows;
    size_t rowCount;
};

class VolantErrorStrings {
public:
    virtual ~VolantErrorStrings() {}
    static const string& text(uint16_t id);
    static const TextTableData data;
};

class VoAppLogDebugStrings {
public:
    virtual ~VoAppLogDebugStrings() {}
    static const string& text(uint16_t id);
    static const TextTableData data;
};

class VolantDebugStrings {
public:
    virtual ~VolantDebugStrings() {}
    static const string& text(uint16_t id);
    static const TextTableData data;
};

// The one empty text returned for every id without a row.
const string& emptyTableText();

string errorText(uint16_t id);       // VolantErrorStrings::text
string logMessageText(uint16_t id);  // VoAppLogDebugStrings::text
string debugLogText(uint16_t id);    // VolantDebugStrings::text

// The rows the processors log by. A line with arguments takes its text from the debug table,
// whichever log it goes to; a line without from the table of its own log.
const uint16_t LOG_ID_FILE_OPEN_FAILED = 0x0300;       // debug table: a file that would not open
const uint16_t LOG_ID_FIRMWARE_FAILED = 0x0301;        // debug table: an opcode and its error
const uint16_t LOG_ID_EVENT_COMMAND_FAILED = 0x0302;   // debug table: an event command's answer
const uint16_t LOG_ID_ALL_INFO_STARTED = 0x0300;       // application-log table

// One argument of a table text: an integer (with its width and signedness, as printf would see
// it after the default promotions) or a C string.
class TextArg {
public:
    enum Kind { INTEGER, TEXT };

    template <typename T, typename std::enable_if<std::is_integral<T>::value || std::is_enum<T>::value, int>::type = 0>
    TextArg(T value)
        : argKind(INTEGER), wide(sizeof(T) > 4), isSigned(std::is_signed<T>::value), textValue(nullptr)
    {
        bits = wide ? static_cast<uint64_t>(value) : static_cast<uint64_t>(static_cast<uint32_t>(value));
    }
    TextArg(const char* value) : argKind(TEXT), wide(false), isSigned(false), bits(0), textValue(value) {}
    TextArg(const apstring& value) : argKind(TEXT), wide(false), isSigned(false), bits(0), textValue(value.c_str()) {}

    Kind kind() const { return argKind; }
    bool is64Bit() const { return wide; }
    bool signedValue() const { return isSigned; }
    uint64_t rawBits() const { return bits; }
    const char* text() const { return textValue != nullptr ? textValue : "(null)"; }

private:
    Kind argKind;
    bool wide;
    bool isSigned;
    uint64_t bits;
    const char* textValue;
};

// Formats a table text with its arguments into buffer (size bytes, cut to fit, always
// NUL-terminated when size > 0) and returns the length written.
// - No arguments: the text is copied as it is (a '%' in it is not interpreted).
// - Arguments that fit the text's conversions one by one (integers for d i u o x X c, texts for
//   s; flags, width, precision and length modifiers allowed, '*' and other conversions not):
//   the text is formatted.
// - Otherwise the text is copied as it is and the arguments follow it in parentheses, so that
//   nothing the caller passed is lost and nothing is read that the caller did not pass.
size_t formatTableText(char* buffer, size_t size, const char* format, const TextArg* args, size_t argCount);

// The error reporter. It keeps the last error id; the class itself has no fields.
class VoError {
public:
    virtual ~VoError() {}
};

// Prints a finished text through the console printer (screen and console log); no line feed
// is added.
void printErrorText(const apstring& text);

void setLastErrorId(int16_t id);
// The last error id negated (0 minus the stored id, as a signed 16-bit value).
int16_t lastErrorId();

// Hands a firmware outcome unchanged to the process-wide last-error word.
void setLastErrorCode(uint32_t code);

// Records the id, then prints its error text formatted with the arguments (nothing for an id
// without text).
void reportErrorArgs(uint16_t id, const TextArg* args, size_t argCount);

template <typename... Args>
void reportError(uint16_t id, const Args&... args)
{
    const TextArg list[] = {TextArg(args)..., TextArg(0)};
    reportErrorArgs(id, list, sizeof...(Args));
}

#endif
