// The program's own allocation path.
//
// Allocation never throws. A failed allocation prints "!!! SYSTEM IS OUT OF MEMORY !!!\n" on
// standard output, once per failed request, and yields null; the caller decides whether it
// can go on. The standard library keeps its own global operator new untouched: code of this
// program allocates through one of the forms below instead.
//
//   Foo* foo = new (noThrowNew) Foo(a, b);     // null on failure; released with delete
//   char* buf = new (noThrowNew) char[n];      // null on failure; released with delete[]
//   void* raw = allocateMemory(n);             // null on failure; released with releaseMemory
//
// An object made with new (noThrowNew) is released with the ordinary delete-expression: the
// storage comes from the standard no-throw allocation function, which pairs with it.
#ifndef PAVUTIL_MEMORY_H
#define PAVUTIL_MEMORY_H

#include <cstddef>

// Tag selecting the reporting, non-throwing allocation functions below.
struct NoThrowNew {};
inline constexpr NoThrowNew noThrowNew{};

// Storage for one object (new (noThrowNew) T(...)); null after printing the out-of-memory line.
void* operator new(std::size_t size, const NoThrowNew&) noexcept;
// Storage for an array (new (noThrowNew) T[n]); null after printing the out-of-memory line.
void* operator new[](std::size_t size, const NoThrowNew&) noexcept;
// Called only when a constructor run by the forms above leaves by an exception.
void operator delete(void* block, const NoThrowNew&) noexcept;
void operator delete[](void* block, const NoThrowNew&) noexcept;

// Raw storage from the C library's malloc (a request of 0 bytes yields a valid 1-byte block);
// null after printing the out-of-memory line.
void* allocateMemory(std::size_t size);

// Releases storage of allocateMemory; null does nothing.
void releaseMemory(void* block);

// Prints the out-of-memory line on standard output.
void reportOutOfMemory();

// Test hook: the next `count` allocations through this path fail as if the system were out
// of memory (each one reports). 0 cancels the pending failures.
void failNextAllocations(unsigned int count);

// Number of allocations still set to fail.
unsigned int pendingAllocationFailures();

#endif
