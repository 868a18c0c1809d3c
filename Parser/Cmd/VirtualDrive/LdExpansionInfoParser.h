// Parser of "-getLdExpansionInfo -Lx|-L0,1,2|-LALL": shows how much each virtual drive given
// can grow, within its array and within the disks of its array. Builds one LdExpansionInfoParsedObject per adapter.
#ifndef LDEXPANSIONINFOPARSER_H
#define LDEXPANSIONINFOPARSER_H

#include "Parser/Parser.h"

class LdExpansionInfoParser : public LdObjectsParser {
public:
    explicit LdExpansionInfoParser(int commandToken);
    ~LdExpansionInfoParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
};

#endif
