#include "Output/VoError.h"

#include "Output/VoPrint.h"
#include "System/PavError.h"

#include <cstdio>
#include <cstring>

namespace {

// One table in the form the lookups use: a text per group and row, filled from the transcribed
// rows when the table is first used.
class LoadedTextTable {
public:
    explicit LoadedTextTable(const TextTableData& data)
    {
        for (int group = 0; group < TEXT_TABLE_GROUPS; ++group) {
            filled[group] = (data.filledGroups & (1u << group)) != 0;
        }
        for (size_t i = 0; i < data.rowCount; ++i) {
            int group = data.rows[i].id >> 8;
            int row = data.rows[i].id & 0xFF;
            if (group < TEXT_TABLE_GROUPS && row < TEXT_TABLE_ROWS && filled[group]) {
                texts[group][row] = data.rows[i].text;
            }
        }
    }

    const string& text(uint16_t id) const
    {
        int group = id >> 8;
        int row = id & 0xFF;
        if (group >= TEXT_TABLE_GROUPS || row >= TEXT_TABLE_ROWS || !filled[group]) {
            return emptyTableText();
        }
        return texts[group][row];
    }

private:
    bool filled[TEXT_TABLE_GROUPS];
    string texts[TEXT_TABLE_GROUPS][TEXT_TABLE_ROWS];
};

int16_t lastErrorIdValue = 0;

// Appends what snprintf-style output wrote, keeping pos within the buffer.
void advance(size_t& pos, size_t size, int written)
{
    if (written <= 0 || size == 0) {
        return;
    }
    size_t room = size - 1 - pos;
    pos += static_cast<size_t>(written) < room ? static_cast<size_t>(written) : room;
}

void appendText(char* buffer, size_t size, size_t& pos, const char* text, size_t length)
{
    if (size == 0) {
        return;
    }
    size_t room = size - 1 - pos;
    size_t n = length < room ? length : room;
    memcpy(buffer + pos, text, n);
    pos += n;
    buffer[pos] = '\0';
}

// One conversion of a printf format: its text (without length modifiers) and its letter.
struct Conversion {
    char prefix[32];  // "%", flags, width, precision
    char letter;
    size_t consumed;  // characters of the format it spans
};

// Reads the conversion that starts at format[0] == '%'. False for '*' widths and for
// conversions that a table text may not use.
bool readConversion(const char* format, Conversion& conv)
{
    size_t i = 1;
    size_t out = 0;
    conv.prefix[out++] = '%';
    while (format[i] != '\0' && strchr("-+ #0", format[i]) != nullptr) {
        if (out + 1 >= sizeof conv.prefix) return false;
        conv.prefix[out++] = format[i++];
    }
    // Width, then an optional precision.
    for (int part = 0; part < 2; ++part) {
        if (part == 1) {
            if (format[i] != '.') {
                break;
            }
            if (out + 1 >= sizeof conv.prefix) return false;
            conv.prefix[out++] = format[i++];
        }
        while (format[i] >= '0' && format[i] <= '9') {
            if (out + 1 >= sizeof conv.prefix) return false;
            conv.prefix[out++] = format[i++];
        }
    }
    // Length modifiers are dropped: the argument's own width decides how it is passed.
    while (format[i] != '\0' && strchr("hlLqjzt", format[i]) != nullptr) {
        ++i;
    }
    if (format[i] == '\0' || strchr("diuoxXcs", format[i]) == nullptr) {
        return false;
    }
    conv.letter = format[i];
    conv.prefix[out] = '\0';
    conv.consumed = i + 1;
    return true;
}

bool fits(const Conversion& conv, const TextArg& arg)
{
    return conv.letter == 's' ? arg.kind() == TextArg::TEXT : arg.kind() == TextArg::INTEGER;
}

// True when the conversions of format and the arguments agree one by one.
bool argumentsFit(const char* format, const TextArg* args, size_t argCount)
{
    size_t used = 0;
    for (size_t i = 0; format[i] != '\0'; ++i) {
        if (format[i] != '%') {
            continue;
        }
        if (format[i + 1] == '%') {
            ++i;
            continue;
        }
        Conversion conv;
        if (!readConversion(format + i, conv) || used >= argCount || !fits(conv, args[used])) {
            return false;
        }
        ++used;
        i += conv.consumed - 1;
    }
    return used == argCount;
}

int formatOne(char* out, size_t room, const Conversion& conv, const TextArg& arg)
{
    char pattern[40];
    if (conv.letter == 's') {
        snprintf(pattern, sizeof pattern, "%ss", conv.prefix);
        return snprintf(out, room, pattern, arg.text());
    }
    if (conv.letter == 'c') {
        snprintf(pattern, sizeof pattern, "%sc", conv.prefix);
        return snprintf(out, room, pattern, static_cast<int>(arg.rawBits() & 0xFF));
    }
    bool signedConversion = conv.letter == 'd' || conv.letter == 'i';
    if (arg.is64Bit()) {
        snprintf(pattern, sizeof pattern, "%sll%c", conv.prefix, conv.letter);
        if (signedConversion) {
            return snprintf(out, room, pattern, static_cast<long long>(arg.rawBits()));
        }
        return snprintf(out, room, pattern, static_cast<unsigned long long>(arg.rawBits()));
    }
    snprintf(pattern, sizeof pattern, "%s%c", conv.prefix, conv.letter);
    uint32_t value = static_cast<uint32_t>(arg.rawBits());
    if (signedConversion) {
        return snprintf(out, room, pattern, static_cast<int>(static_cast<int32_t>(value)));
    }
    return snprintf(out, room, pattern, static_cast<unsigned int>(value));
}

void appendArgument(char* buffer, size_t size, size_t& pos, const TextArg& arg)
{
    if (arg.kind() == TextArg::TEXT) {
        appendText(buffer, size, pos, arg.text(), strlen(arg.text()));
        return;
    }
    char number[32];
    if (!arg.is64Bit()) {
        uint32_t value = static_cast<uint32_t>(arg.rawBits());
        if (arg.signedValue()) {
            snprintf(number, sizeof number, "%d", static_cast<int>(static_cast<int32_t>(value)));
        } else {
            snprintf(number, sizeof number, "%u", static_cast<unsigned int>(value));
        }
    } else if (arg.signedValue()) {
        snprintf(number, sizeof number, "%lld", static_cast<long long>(arg.rawBits()));
    } else {
        snprintf(number, sizeof number, "%llu", static_cast<unsigned long long>(arg.rawBits()));
    }
    appendText(buffer, size, pos, number, strlen(number));
}

} // namespace

const string& emptyTableText()
{
    static const string empty;
    return empty;
}

const string& VolantErrorStrings::text(uint16_t id)
{
    static const LoadedTextTable table(data);
    return table.text(id);
}

const string& VoAppLogDebugStrings::text(uint16_t id)
{
    static const LoadedTextTable table(data);
    return table.text(id);
}

const string& VolantDebugStrings::text(uint16_t id)
{
    static const LoadedTextTable table(data);
    return table.text(id);
}

string errorText(uint16_t id) { return VolantErrorStrings::text(id); }
string logMessageText(uint16_t id) { return VoAppLogDebugStrings::text(id); }
string debugLogText(uint16_t id) { return VolantDebugStrings::text(id); }

size_t formatTableText(char* buffer, size_t size, const char* format, const TextArg* args, size_t argCount)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    buffer[0] = '\0';
    size_t pos = 0;
    if (format == nullptr) {
        return 0;
    }
    if (argCount == 0 || !argumentsFit(format, args, argCount)) {
        appendText(buffer, size, pos, format, strlen(format));
        if (argCount > 0) {
            appendText(buffer, size, pos, " (", 2);
            for (size_t i = 0; i < argCount; ++i) {
                if (i > 0) {
                    appendText(buffer, size, pos, ", ", 2);
                }
                appendArgument(buffer, size, pos, args[i]);
            }
            appendText(buffer, size, pos, ")", 1);
        }
        return pos;
    }
    size_t used = 0;
    for (size_t i = 0; format[i] != '\0' && pos + 1 < size;) {
        if (format[i] != '%') {
            size_t run = strcspn(format + i, "%");
            appendText(buffer, size, pos, format + i, run);
            i += run;
            continue;
        }
        if (format[i + 1] == '%') {
            appendText(buffer, size, pos, "%", 1);
            i += 2;
            continue;
        }
        Conversion conv;
        readConversion(format + i, conv);  // known to succeed: argumentsFit checked it
        advance(pos, size, formatOne(buffer + pos, size - pos, conv, args[used++]));
        i += conv.consumed;
    }
    buffer[pos] = '\0';
    return pos;
}

void printErrorText(const apstring& text) { VoPrint::instance()->print(text); }

void setLastErrorId(int16_t id) { lastErrorIdValue = id; }

int16_t lastErrorId() { return static_cast<int16_t>(static_cast<uint16_t>(0u - static_cast<uint16_t>(lastErrorIdValue))); }

void setLastErrorCode(uint32_t code) { PavError::setLastError(code); }

void reportErrorArgs(uint16_t id, const TextArg* args, size_t argCount)
{
    setLastErrorId(static_cast<int16_t>(id));
    string text = errorText(id);
    if (text.length() == 0) {
        return;
    }
    char buffer[TEXT_FORMAT_BUFFER];
    formatTableText(buffer, sizeof buffer, text.c_str(), args, argCount);
    printErrorText(string(buffer));
}
