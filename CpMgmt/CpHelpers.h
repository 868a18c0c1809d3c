// Small services shared by the command processors (and one request parser).
#ifndef CPHELPERS_H
#define CPHELPERS_H

#include <cstdint>

// Hexadecimal text to number: leading blanks and an optional "0x"/"0X" are skipped, then hex
// digits are read up to the first other character. A text without digits gives 0.
uint64_t parseHex(const char* text);

// Cuts a settings-file line at its first '#'; a line without '#' stays as it is.
void stripComment(char* text);

// "N/A" for ENCLOSURE_ID_NONE, else the id in decimal. The text lives in one static buffer and
// is overwritten by the next call.
const char* formatEnclosureId(unsigned short enclosureId);

#endif
