// Numbers and drive sizes as text and back.
//
// The routines write into buffers the caller provides and never allocate. Capacities are
// shown with their decimals cut, never rounded (1048575 KB is 1023.999 MB, not 1024.0 MB).
// The parsing routines refuse a number that does not fit its type instead of wrapping it.
#ifndef PAVUTIL_SIZEFORMAT_H
#define PAVUTIL_SIZEFORMAT_H

// Unit codes of sizeToBlocks.
const unsigned short SIZE_UNIT_MB = 0;  // 2048 blocks of 512 bytes
const unsigned short SIZE_UNIT_GB = 1;  // 2^21 blocks
const unsigned short SIZE_UNIT_TB = 2;  // 2^31 blocks

// Buffer sizes that always suffice.
const unsigned int UNSIGNED_TEXT_SIZE = 11;  // unsignedToText
const unsigned int CAPACITY_TEXT_SIZE = 12;  // formatCapacity, formatWithFraction

// The decimal digits of value and a NUL (no sign, no leading zeros, "0" for zero) into a
// buffer of at least UNSIGNED_TEXT_SIZE bytes. Always 0.
int unsignedToText(unsigned int value, char* buffer);

// Number of bytes before the NUL (0 for null).
unsigned int textLength(const char* text);

// A capacity in kilobytes as its short text, e.g. "136.731 GB": below 1024 the number, a blank
// and "KB"; otherwise divided by 1024 until below 1024 * 1024, then the whole part, a point,
// one to three decimals (cut; they stop early when the remainder runs out), a blank and the
// unit "MB" ... "ZB". Buffer of at least CAPACITY_TEXT_SIZE bytes. Always 0.
int formatCapacity(unsigned long long sizeKb, char* buffer);

// The step of formatCapacity for a value from 1024 to 1048575: value / 1024, a point, its
// decimals and a trailing blank. 0; -1 with the empty text for a value outside that range.
int formatWithFraction(unsigned long long sizeKb, char* buffer);

// A size typed as digits with an optional point and fraction ("1.5", "1.05", ".5", "100"):
// the whole part into *whole and, only when the text has a point, the fraction in thousandths
// of the unit into *thousandths (one digit x100, two x10, three as they are; digits beyond
// the third are cut). 0 on success; -1, with nothing written, when the text holds no digit or
// the whole part does not fit 64 bits.
int parseSizeWithFraction(const char* text, unsigned long long* whole, unsigned int* thousandths);

// 512-byte blocks of a size in the unit `unit` (SIZE_UNIT_MB, _GB, _TB): whole times the
// unit's block count plus, when fractionFlag is 1, thousandths times the unit's block count
// divided by 1000 (remainders dropped). 0 on success; -1, with *blocks unwritten, for an
// unknown unit or a count that does not fit 64 bits.
int sizeToBlocks(unsigned short unit, unsigned long long whole, unsigned int thousandths,
                 unsigned char fractionFlag, unsigned long long* blocks);

#endif
