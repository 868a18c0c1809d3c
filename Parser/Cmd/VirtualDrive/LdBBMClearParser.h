// Parser of "-LDBBMClr -Lx|-L0,1,2|-LALL": clears the bad-block table entries of the logical drives
// given. Builds one LdBBMClearParsedObject per adapter.
#ifndef LDBBMCLEARPARSER_H
#define LDBBMCLEARPARSER_H

#include "Parser/Parser.h"

class LdBBMClearParser : public LdObjectsParser {
public:
    explicit LdBBMClearParser(int commandToken);
    ~LdBBMClearParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
};

#endif
