#include "Parser/ParserFactory.h"

#include "Output/VoMessage.h"

#include <cstdio>

ParserFactory* ParserFactory::instance()
{
    // Made on first use, under the language's one-time guard, so the registrations that run
    // before the entry point find it whatever their order; never destroyed, so a registration
    // destroyed at exit cannot outlive it.
    static ParserFactory* factory = new (noThrowNew) ParserFactory();
    return factory;
}

ParserFactory::ParserFactory()
{
    for (unsigned short id = 0; id < SLOT_COUNT; ++id)
        slots[id].clear();
}

void ParserFactory::registerCreator(unsigned short commandToken, ParserCreator creator)
{
    if (commandToken >= SLOT_COUNT) {
        printMessage(MSG_PARSER_INVALID_TOKEN_ID, static_cast<int>(commandToken),
                     static_cast<int>(SLOT_COUNT));
        return;
    }
    slots[commandToken] = creator;
}

Parser* ParserFactory::create(unsigned short commandToken)
{
    if (!hasCreator(commandToken))
        return nullptr;
    ParserCreator creator = slots[commandToken];
    return creator.call(commandToken);
}

bool ParserFactory::hasCreator(unsigned short commandToken) const
{
    if (commandToken >= SLOT_COUNT)
        return false;
    return slots[commandToken] != ParserCreator();
}

void registerParserCreator(ParserFactory* factory, unsigned short commandToken, const ParserCreator& creator)
{
    if (factory->hasCreator(commandToken)) {
        char text[64];
        snprintf(text, sizeof text, "Token id %d has a parser already\n", static_cast<int>(commandToken));
        printMessage(MSG_TEXT, text);
        return;
    }
    factory->registerCreator(commandToken, creator);
}
