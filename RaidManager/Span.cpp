#include "RaidManager/Span.h"

SpanData::~SpanData() {}

Span::Span(SpanData* data, Controller* controller) : RaidElement(data, controller), spanData(data), array(nullptr) {}

Span::~Span() {}

// A span has no text of its own.
string Span::toString()
{
    return string();
}

RaidElement* Span::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<Span, SpanData>(data, controller);
}

int Span::setArray(Array* under)
{
    array = under;
    return 0;
}

int Span::getArray(Array** under)
{
    if (array == nullptr)
        return -1;
    if (under != nullptr)
        *under = array;
    return 0;
}
