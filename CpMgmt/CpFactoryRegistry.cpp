#include "CpMgmt/CpFactoryRegistry.h"

#include "Output/VoMessage.h"
#include "Parser/ParsedObject.h"

#include <cstdio>

namespace {

CpFactoryRegistry* registryOverride = nullptr;

CpFactoryRegistry* processRegistry()
{
    // Never destroyed: registrations and lookups may run during static construction and
    // destruction of other units.
    static CpFactoryRegistry* registry = new (noThrowNew) CpFactoryRegistry();
    return registry;
}

}  // namespace

CpFactoryRegistry* CpFactoryRegistry::instance()
{
    return registryOverride != nullptr ? registryOverride : processRegistry();
}

CpFactoryRegistry* CpFactoryRegistry::replaceInstance(CpFactoryRegistry* registry)
{
    CpFactoryRegistry* previous = instance();
    registryOverride = registry;
    return previous;
}

CpFactoryRegistry::CpFactoryRegistry()
{
    for (unsigned short i = 0; i < ROW_COUNT; ++i)
        rows[i].count = 0;
}

CpFactoryRegistry::~CpFactoryRegistry() {}

void CpFactoryRegistry::add(unsigned short commandId, CpCreatorFunctor creator)
{
    if (commandId >= ROW_COUNT)
        return;
    Row& row = rows[commandId];
    if (row.count >= CREATORS_PER_ID) {
        char text[64];
        snprintf(text, sizeof text, "Count %d exceeded for token id %d\n", static_cast<int>(row.count),
                 static_cast<int>(commandId));
        printMessage(MSG_TEXT, text);
        return;
    }
    row.creators[row.count] = creator;
    ++row.count;
}

CommandProcessor* CpFactoryRegistry::find(CpController* /*cpController*/, ParsedObject* request)
{
    if (request == nullptr)
        return nullptr;
    unsigned short id = request->getCommandToken();
    if (id >= ROW_COUNT)
        return nullptr;
    const Row& row = rows[id];
    for (unsigned char i = 0; i < row.count; ++i) {
        CommandProcessor* processor = row.creators[i].call(CP_KIND_DEFAULT);
        if (processor != nullptr)
            return processor;
    }
    return nullptr;
}

unsigned char CpFactoryRegistry::creatorCount(unsigned short commandId) const
{
    return commandId < ROW_COUNT ? rows[commandId].count : 0;
}

void registerCommandId(unsigned short commandId, const CpCreatorFunctor* creator, const CpTraits& traits)
{
    CpTraitsTable* table = CpTraitsTable::instance();
    if (table == nullptr || commandId >= CpTraitsTable::ROW_COUNT)
        return;
    if (!table->enter(commandId, traits)) {
        char text[64];
        snprintf(text, sizeof text, "Command id %d is registered twice\n", static_cast<int>(commandId));
        printMessage(MSG_TEXT, text);
        return;
    }
    CpFactoryRegistry* registry = CpFactoryRegistry::instance();
    if (creator != nullptr && registry != nullptr)
        registry->add(commandId, *creator);
}

CpTraitsRegistration::CpTraitsRegistration(std::initializer_list<unsigned short> commandIds, const CpTraits& traits)
{
    for (unsigned short id : commandIds)
        registerCommandId(id, nullptr, traits);
}
