// Names of the token ids, for the grammar's syntax descriptions and for diagnostics, made from
// the one list TokenIds.def. The names are one block of characters addressed by offsets, so
// the table needs no relocation when the program is loaded, and the index by name is built
// by the compiler.
#include "Parser/TokenIds.h"

#include "Parser/NameIndex.h"

#include <cstddef>

namespace {

// Every name, each ended by a null character, in list order.
constexpr char TOKEN_NAME_TEXT[] =
#define TOKEN_ID(name, id) "TOKEN_" #name "\0"
#include "Parser/TokenIds.def"
#undef TOKEN_ID
    ;

// In id order, as the list is.
constexpr unsigned short TOKEN_IDS[] = {
#define TOKEN_ID(name, id) id,
#include "Parser/TokenIds.def"
#undef TOKEN_ID
};

constexpr int TOKEN_NAME_COUNT = sizeof(TOKEN_IDS) / sizeof(TOKEN_IDS[0]);
constexpr size_t TOKEN_PREFIX_LENGTH = 6;  // "TOKEN_"

struct NameOffsets {
    unsigned short at[TOKEN_NAME_COUNT];
};

constexpr NameOffsets nameOffsets()
{
    NameOffsets offsets{};
    size_t offset = 0;
    for (int row = 0; row < TOKEN_NAME_COUNT; ++row) {
        offsets.at[row] = static_cast<unsigned short>(offset);
        while (TOKEN_NAME_TEXT[offset] != '\0')
            ++offset;
        ++offset;
    }
    return offsets;
}

static_assert(sizeof(TOKEN_NAME_TEXT) <= 0xFFFF, "name offsets fit 16 bits");
constexpr NameOffsets TOKEN_NAME_OFFSETS = nameOffsets();

constexpr const char* nameAt(int row)
{
    return TOKEN_NAME_TEXT + TOKEN_NAME_OFFSETS.at[row];
}

constexpr bool idsAscend()
{
    for (int i = 1; i < TOKEN_NAME_COUNT; ++i) {
        if (TOKEN_IDS[i - 1] >= TOKEN_IDS[i])
            return false;
    }
    return true;
}
static_assert(idsAscend(), "TokenIds.def lists each id once, in ascending order");

}  // namespace

const char* tokenName(unsigned short id)
{
    int low = 0;
    int high = TOKEN_NAME_COUNT;
    while (low < high) {
        int middle = (low + high) / 2;
        if (TOKEN_IDS[middle] < id)
            low = middle + 1;
        else
            high = middle;
    }
    return low < TOKEN_NAME_COUNT && TOKEN_IDS[low] == id ? nameAt(low) : nullptr;
}

unsigned short tokenIdByName(const char* name)
{
    if (name == nullptr)
        return TOKEN_UNKNOWN;
    auto shortName = [](int row) { return nameAt(row) + TOKEN_PREFIX_LENGTH; };
    static constexpr auto BY_NAME = nameindex::buildIndex<1024, TOKEN_NAME_COUNT>(
        false, shortName, [](int) { return true; });
    int row = BY_NAME.find(name, shortName);
    return row >= 0 ? TOKEN_IDS[row] : TOKEN_UNKNOWN;
}
