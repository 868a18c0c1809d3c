#include "PavUtil/TextScan.h"

uint64_t parseHex(const char* text)
{
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (*p == ' ')
        ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    uint64_t value = 0;
    for (;; ++p) {
        int digit;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (*p >= 'a' && *p <= 'f')
            digit = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'F')
            digit = *p - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

void stripComment(char* text)
{
    if (text == nullptr)
        return;
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == '#') {
            *p = '\0';
            return;
        }
    }
}
