#include "Parser/Token.h"

#include <cstdio>

TokenValue::~TokenValue() {}

string TokenValueInt::toString() const
{
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    return string(text);
}

Token::~Token()
{
    delete value;
}
