// Hash indexes over constant tables of names, built by the compiler: a run looks a name up in
// a few probes and spends nothing on building the index.
//
// An index is an open-addressing table of row numbers plus one (0: empty slot) with at least
// twice as many slots as rows. Rows are inserted in table order and a name already present
// keeps its first row, so a lookup finds the first row that carries the name.
#ifndef PARSER_NAMEINDEX_H
#define PARSER_NAMEINDEX_H

#include <cstddef>

namespace nameindex {

constexpr char foldCase(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// FNV-1a over the bytes of the name, letters folded to capitals when ignoreCase.
constexpr unsigned int hashName(const char* name, bool ignoreCase)
{
    unsigned int hash = 2166136261u;
    for (; *name != '\0'; ++name) {
        char c = ignoreCase ? foldCase(*name) : *name;
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

constexpr bool sameName(const char* a, const char* b, bool ignoreCase)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if ((ignoreCase ? foldCase(*a) : *a) != (ignoreCase ? foldCase(*b) : *b))
            return false;
    }
    return *a == *b;
}

// Slots: a power of two, at least twice the row count.
template <size_t Slots>
struct Index {
    static_assert((Slots & (Slots - 1)) == 0, "the slot count is a power of two");
    unsigned short slot[Slots];
    bool ignoreCase;

    // The first row named `name`; -1 when no row is. nameOf(row) gives a row's name.
    template <typename NameOf>
    constexpr int find(const char* name, NameOf nameOf) const
    {
        for (size_t i = hashName(name, ignoreCase) & (Slots - 1);; i = (i + 1) & (Slots - 1)) {
            if (slot[i] == 0)
                return -1;
            if (sameName(nameOf(slot[i] - 1), name, ignoreCase))
                return slot[i] - 1;
        }
    }
};

// Indexes the rows 0 .. Rows-1 for which keep(row) holds; nameOf(row) gives a row's name.
template <size_t Slots, int Rows, typename NameOf, typename Keep>
constexpr Index<Slots> buildIndex(bool ignoreCase, NameOf nameOf, Keep keep)
{
    static_assert(Rows < 0xFFFF && 2 * static_cast<size_t>(Rows) <= Slots, "room for the rows");
    Index<Slots> index{};
    index.ignoreCase = ignoreCase;
    for (int row = 0; row < Rows; ++row) {
        if (!keep(row) || index.find(nameOf(row), nameOf) >= 0)
            continue;
        size_t i = hashName(nameOf(row), ignoreCase) & (Slots - 1);
        while (index.slot[i] != 0)
            i = (i + 1) & (Slots - 1);
        index.slot[i] = static_cast<unsigned short>(row + 1);
    }
    return index;
}

}  // namespace nameindex

#endif
