#include "Parser/SyntaxAutomaton.h"

long SyntaxMatcher::findEdge(unsigned short token) const
{
    unsigned int low = tables.firstEdge[state];
    unsigned int high = tables.firstEdge[state + 1];
    while (low < high) {
        unsigned int middle = low + (high - low) / 2;
        if (tables.edgeToken[middle] < token)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < tables.firstEdge[state + 1] && tables.edgeToken[low] == token)
        return static_cast<long>(low);
    return -1;
}

bool SyntaxMatcher::step(unsigned short token)
{
    long edge = findEdge(token);
    if (edge < 0)
        return false;
    state = tables.edgeTarget[edge];
    return true;
}
