// Base of the host-cache ("HK") command parsers. The host-cache commands address the host's
// cache driver and flash cards, not a RAID adapter, so their requests carry adapter 0.
#ifndef TIDEXPARSER_H
#define TIDEXPARSER_H

#include "Parser/Parser.h"

class TidexParser : public Parser {
public:
    explicit TidexParser(int commandToken);
    ~TidexParser() override;
};

#endif
