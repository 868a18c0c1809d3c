#include "System/PavError.h"

namespace {
// Zero-initialised before any code runs, so a store from another static initialiser is never lost.
uint32_t lastErrorWord = 0;
}

void PavError::setLastError(uint32_t value) { lastErrorWord = value; }

uint32_t PavError::takeLastError()
{
    uint32_t value = lastErrorWord;
    lastErrorWord = 0;
    return value;
}
