#include "PavUtil/Memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// Allocations still set to fail by the test hook.
unsigned int allocationFailures = 0;

// True when this request is to fail: an injected failure, or a size no allocator can
// satisfy (more than half the address space), refused before it reaches the C library.
bool mustFail(std::size_t size)
{
    if (allocationFailures > 0) {
        --allocationFailures;
        return true;
    }
    return size > static_cast<std::size_t>(PTRDIFF_MAX);
}

} // namespace

void reportOutOfMemory()
{
    // No formatting, no allocation: the line must get out while memory is short.
    std::fputs("!!! SYSTEM IS OUT OF MEMORY !!!\n", stdout);
}

void failNextAllocations(unsigned int count) { allocationFailures = count; }

unsigned int pendingAllocationFailures() { return allocationFailures; }

void* allocateMemory(std::size_t size)
{
    void* block = mustFail(size) ? nullptr : std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        reportOutOfMemory();
    return block;
}

void releaseMemory(void* block)
{
    if (block != nullptr)
        std::free(block);
}

void* operator new(std::size_t size, const NoThrowNew&) noexcept
{
    void* block = mustFail(size) ? nullptr : ::operator new(size, std::nothrow);
    if (block == nullptr)
        reportOutOfMemory();
    return block;
}

void* operator new[](std::size_t size, const NoThrowNew&) noexcept
{
    void* block = mustFail(size) ? nullptr : ::operator new[](size, std::nothrow);
    if (block == nullptr)
        reportOutOfMemory();
    return block;
}

void operator delete(void* block, const NoThrowNew&) noexcept { ::operator delete(block); }

void operator delete[](void* block, const NoThrowNew&) noexcept { ::operator delete[](block); }
