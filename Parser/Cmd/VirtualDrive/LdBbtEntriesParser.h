// Parser of "-GetBbtEntries -Lx|-L0,1,2|-LALL": shows the bad-block entries of the virtual
// drives given. Builds one LdBbtEntriesParsedObject per adapter.
#ifndef LDBBTENTRIESPARSER_H
#define LDBBTENTRIESPARSER_H

#include "Parser/Parser.h"

class LdBbtEntriesParser : public LdObjectsParser {
public:
    explicit LdBbtEntriesParser(int commandToken);
    ~LdBbtEntriesParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
};

#endif
