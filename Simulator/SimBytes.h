// Little-endian field writers and readers for the simulated firmware's records and the
// simulated driver's packets. They are written independently of the program's own record
// types on purpose: a field that one side places at the wrong offset shows up as a mismatch.
//
// Every access is bounds-checked against the record: a write past the end is dropped and a
// read past the end gives 0, so a short buffer never overruns.
#ifndef SIMBYTES_H
#define SIMBYTES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

typedef std::vector<uint8_t> Bytes;

inline void putN(Bytes& b, size_t off, uint64_t v, int width)
{
    for (int i = 0; i < width; ++i)
        if (off + i < b.size())
            b[off + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void put8(Bytes& b, size_t off, uint64_t v) { putN(b, off, v, 1); }
inline void put16(Bytes& b, size_t off, uint64_t v) { putN(b, off, v, 2); }
inline void put32(Bytes& b, size_t off, uint64_t v) { putN(b, off, v, 4); }
inline void put64(Bytes& b, size_t off, uint64_t v) { putN(b, off, v, 8); }

// A text field of `width` bytes: at most width - 1 characters, the rest NUL.
inline void putText(Bytes& b, size_t off, size_t width, const std::string& s)
{
    for (size_t i = 0; i < width; ++i)
        put8(b, off + i, (i + 1 < width && i < s.size()) ? static_cast<uint8_t>(s[i]) : 0);
}

// A text that fills its field when it is as long as the field: no NUL is kept after it.
inline void putField(Bytes& b, size_t off, size_t width, const std::string& s)
{
    for (size_t i = 0; i < width; ++i)
        put8(b, off + i, i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
}

inline void putBytes(Bytes& b, size_t off, const Bytes& src)
{
    for (size_t i = 0; i < src.size(); ++i)
        put8(b, off + i, src[i]);
}

inline uint64_t getN(const uint8_t* b, size_t size, size_t off, int width)
{
    uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | (off + i < size ? b[off + i] : 0);
    return v;
}
inline uint8_t get8(const Bytes& b, size_t off) { return static_cast<uint8_t>(getN(b.data(), b.size(), off, 1)); }
inline uint16_t get16(const Bytes& b, size_t off) { return static_cast<uint16_t>(getN(b.data(), b.size(), off, 2)); }
inline uint32_t get32(const Bytes& b, size_t off) { return static_cast<uint32_t>(getN(b.data(), b.size(), off, 4)); }
inline uint64_t get64(const Bytes& b, size_t off) { return getN(b.data(), b.size(), off, 8); }

// "0a1B" -> {0x0a, 0x1b}; false for odd lengths or other characters.
bool parseHex(const std::string& text, Bytes& out);
std::string toHex(const Bytes& b);

// Numbers of the tool's command lines: "123" or "0x7b" (a leading 0 is octal, as strtoul
// takes it); false for anything else, a sign included for the unsigned form.
bool parseU64(const std::string& text, uint64_t& v);
bool parseI64(const std::string& text, int64_t& v);
std::string hex32(uint32_t v);   // "0x0101a000"

} // namespace sim

#endif
