#include "CpMgmt/CpTraits.h"

#include "PavUtil/Memory.h"

namespace {

CpTraitsTable* tableOverride = nullptr;

CpTraitsTable* processTable()
{
    // Never destroyed: registrations run during static construction of other units.
    static CpTraitsTable* table = new (noThrowNew) CpTraitsTable();
    return table;
}

}  // namespace

bool CpTraits::operator==(const CpTraits& other) const
{
    return needsController == other.needsController && checksController == other.checksController &&
           resultIsCount == other.resultIsCount && management == other.management && answer == other.answer;
}

CpTraitsTable* CpTraitsTable::instance()
{
    return tableOverride != nullptr ? tableOverride : processTable();
}

CpTraitsTable* CpTraitsTable::replaceInstance(CpTraitsTable* table)
{
    CpTraitsTable* previous = instance();
    tableOverride = table;
    return previous;
}

CpTraitsTable::CpTraitsTable()
{
    for (unsigned short i = 0; i < ROW_COUNT; ++i)
        entered[i] = false;
}

bool CpTraitsTable::enter(unsigned short commandId, const CpTraits& traits)
{
    if (commandId >= ROW_COUNT || entered[commandId])
        return false;
    rows[commandId] = traits;
    entered[commandId] = true;
    return true;
}

CpTraits CpTraitsTable::traitsOf(unsigned short commandId) const
{
    return hasRow(commandId) ? rows[commandId] : CpTraits();
}

bool CpTraitsTable::hasRow(unsigned short commandId) const
{
    return commandId < ROW_COUNT && entered[commandId];
}

CpTraits commandTraits(unsigned short commandId)
{
    CpTraitsTable* table = CpTraitsTable::instance();
    return table != nullptr ? table->traitsOf(commandId) : CpTraits();
}
