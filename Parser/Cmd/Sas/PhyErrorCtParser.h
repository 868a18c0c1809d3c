// Parser of "-PhyErrorCounters": shows the error counters of the adapters' phys. Builds one
// PhyErrCtParsedObject per adapter.
#ifndef PHYERRORCTPARSER_H
#define PHYERRORCTPARSER_H

#include "Parser/Parser.h"

class PhyErrorCtParser : public Parser {
public:
    explicit PhyErrorCtParser(int commandToken);
    ~PhyErrorCtParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
};

#endif
