// Reading numbers and settings lines out of texts a user typed or a settings file holds.
#ifndef TEXTSCAN_H
#define TEXTSCAN_H

#include <cstdint>

// Hexadecimal text to number: leading blanks and an optional "0x"/"0X" are skipped, then hex
// digits are read up to the first other character. A text without digits gives 0.
uint64_t parseHex(const char* text);

// Cuts a settings-file line at its first '#'; a line without '#' stays as it is.
void stripComment(char* text);

#endif
