#include "PavUtil/PrintableText.h"

bool isControlByte(unsigned char c)
{
    return c < 0x20 || c == 0x7f;
}

bool holdsControlByte(const char* text)
{
    for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
        if (isControlByte(static_cast<unsigned char>(*p)))
            return true;
    }
    return false;
}

char* makePrintable(char* text)
{
    for (char* p = text; p != nullptr && *p != '\0'; ++p) {
        if (isControlByte(static_cast<unsigned char>(*p)))
            *p = '?';
    }
    return text;
}

string printableText(const char* text, size_t width)
{
    string out;
    for (size_t i = 0; text != nullptr && i < width && text[i] != '\0'; ++i)
        out += isControlByte(static_cast<unsigned char>(text[i])) ? '?' : text[i];
    return out;
}
