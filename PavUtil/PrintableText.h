// Texts that come from a controller's firmware or from a drive (names, inquiry and identify
// texts, serial numbers, event descriptions, key ids ...) reach the terminal through these, so
// that a device can never drive the terminal that shows them: each control byte (below 0x20, and
// 0x7f) is shown as '?'. Every other byte, those above 0x7f included, stays as it is. The same
// test keeps a name the user gives from carrying control bytes into the controller.
#ifndef PRINTABLETEXT_H
#define PRINTABLETEXT_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/apstring.h"

// True for a byte below 0x20 and for 0x7f.
bool isControlByte(unsigned char c);

// True when the NUL-terminated text holds a control byte.
bool holdsControlByte(const char* text);

// Shows every control byte of the NUL-terminated text as '?', in place; returns the text.
char* makePrintable(char* text);

// A copy of the text up to its first NUL, at most `width` bytes of it, with every control byte
// shown as '?'; an empty copy for a null text.
string printableText(const char* text, size_t width = SIZE_MAX);

#endif
