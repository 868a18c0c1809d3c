#include "PavUtil/SizeFormat.h"

#include <climits>
#include <cstring>

namespace {

// Unit texts by the number of divisions by 1024. A 64-bit kilobyte count needs at most six
// divisions, so "YB" is never written; it stays for completeness of the series.
const char* const CAPACITY_UNITS[] = {"KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};

const unsigned long long BLOCKS_PER_UNIT[] = {
    2048ULL,        // SIZE_UNIT_MB
    2097152ULL,     // SIZE_UNIT_GB
    2147483648ULL,  // SIZE_UNIT_TB
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* skipSpaces(const char* text)
{
    while (isSpace(*text))
        ++text;
    return text;
}

// Where the digits of an unsigned number start: after leading white space and one optional '+'.
const char* skipToDigits(const char* text)
{
    text = skipSpaces(text);
    return *text == '+' ? text + 1 : text;
}

// Reads the digits at *text into *value, stopping at the first non-digit. Returns the number
// of digits read, or -1 when the value exceeds maxValue.
int readDigits(const char*& text, unsigned long long maxValue, unsigned long long* value)
{
    unsigned long long v = 0;
    int digits = 0;
    for (; isDigit(*text); ++text, ++digits) {
        unsigned int d = static_cast<unsigned int>(*text - '0');
        // d above maxValue first: maxValue - d must not wrap for limits below 9.
        if (d > maxValue || v > (maxValue - d) / 10)
            return -1;
        v = v * 10 + d;
    }
    *value = v;
    return digits;
}

} // namespace

int unsignedToText(unsigned int value, char* buffer)
{
    char digits[UNSIGNED_TEXT_SIZE];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = 0; i < n; ++i)
        buffer[i] = digits[n - 1 - i];
    buffer[n] = '\0';
    return 0;
}

unsigned int textLength(const char* text)
{
    return text == nullptr ? 0 : static_cast<unsigned int>(std::strlen(text));
}

int formatWithFraction(unsigned long long sizeKb, char* buffer)
{
    if (sizeKb < 1024 || sizeKb > 1048575) {
        buffer[0] = '\0';
        return -1;
    }
    unsignedToText(static_cast<unsigned int>(sizeKb >> 10), buffer);
    unsigned int pos = textLength(buffer);
    buffer[pos++] = '.';
    // Decimals of the remainder in 1024ths, cut after the third, never rounded.
    unsigned long long remainder = sizeKb & 1023;
    for (int i = 0; i < 3; ++i) {
        remainder *= 10;
        buffer[pos++] = static_cast<char>('0' + (remainder >> 10));
        remainder &= 1023;
        if (remainder == 0)
            break;
    }
    buffer[pos++] = ' ';
    buffer[pos] = '\0';
    return 0;
}

int formatCapacity(unsigned long long sizeKb, char* buffer)
{
    unsigned int unit = 0;
    unsigned long long value = sizeKb;
    while (value > 1023) {
        ++unit;
        if ((value >> 10) <= 1023) {
            formatWithFraction(value, buffer);
            break;
        }
        value >>= 10;
    }
    if (unit == 0) {
        unsignedToText(static_cast<unsigned int>(value), buffer);
        std::strcat(buffer, " ");
    }
    std::strcat(buffer, CAPACITY_UNITS[unit]);
    return 0;
}

int parseSizeWithFraction(const char* text, unsigned long long* whole, unsigned int* thousandths)
{
    if (text == nullptr)
        return -1;
    const char* p = skipToDigits(text);
    unsigned long long wholeValue = 0;
    int wholeDigits = readDigits(p, ULLONG_MAX, &wholeValue);
    if (wholeDigits < 0)
        return -1;

    const char* point = std::strchr(text, '.');
    if (point == nullptr) {
        if (wholeDigits == 0)
            return -1;
        *whole = wholeValue;
        return 0;
    }

    // The fraction's digits as thousandths: each digit written after the point has its own
    // place value (so "05" is 50 and "5" is 500); digits beyond the third are cut.
    const char* f = point + 1;
    unsigned int fraction = 0;
    int fractionDigits = 0;
    unsigned int place = 100;
    for (; isDigit(*f); ++f, ++fractionDigits) {
        if (fractionDigits < 3) {
            fraction += static_cast<unsigned int>(*f - '0') * place;
            place /= 10;
        }
    }
    if (wholeDigits == 0 && fractionDigits == 0)
        return -1;
    *whole = wholeValue;
    *thousandths = fraction;
    return 0;
}

int sizeToBlocks(unsigned short unit, unsigned long long whole, unsigned int thousandths,
                 unsigned char fractionFlag, unsigned long long* blocks)
{
    if (unit > SIZE_UNIT_TB || blocks == nullptr)
        return -1;
    unsigned long long perUnit = BLOCKS_PER_UNIT[unit];
    if (whole > ULLONG_MAX / perUnit)
        return -1;
    unsigned long long result = whole * perUnit;
    if (fractionFlag == 1) {
        // At most (2^32 - 1) * 2^31 < 2^63: the product itself cannot overflow.
        unsigned long long part = static_cast<unsigned long long>(thousandths) * perUnit / 1000;
        if (result > ULLONG_MAX - part)
            return -1;
        result += part;
    }
    *blocks = result;
    return 0;
}
