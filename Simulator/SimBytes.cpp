#include "Simulator/SimBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace sim {

static int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseHex(const std::string& text, Bytes& out)
{
    out.clear();
    if (text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
}

std::string toHex(const Bytes& b)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (uint8_t v : b) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

bool parseU64(const std::string& text, uint64_t& v)
{
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long x = strtoull(text.c_str(), &end, 0);
    if (errno != 0 || !end || *end != '\0')
        return false;
    v = x;
    return true;
}

bool parseI64(const std::string& text, int64_t& v)
{
    if (text.empty() || text[0] == ' ')
        return false;
    errno = 0;
    char* end = nullptr;
    long long x = strtoll(text.c_str(), &end, 0);
    if (errno != 0 || !end || *end != '\0')
        return false;
    v = x;
    return true;
}

std::string hex32(uint32_t v)
{
    char buf[16];
    snprintf(buf, sizeof buf, "0x%08x", v);
    return buf;
}

} // namespace sim
