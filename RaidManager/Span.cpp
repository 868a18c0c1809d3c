#include "RaidManager/Span.h"

SpanData::~SpanData() {}

Span::Span(SpanData* data, Controller* controller) : RaidElement(data, controller), spanData(data) {}

Span::~Span() {}

string Span::toString()
{
    return dataText();
}

RaidElement* Span::create(RaidElementData* data, Controller* controller)
{
    return createElementOver<Span, SpanData>(data, controller);
}
