// Parser of "-LDMakeSecure -Lx|-L0,1,2|-LALL": secures the virtual drives given (with every
// virtual drive of their drive group). Builds one LdMakeSecureParsedObject per adapter.
#ifndef LDMAKESECUREPARSER_H
#define LDMAKESECUREPARSER_H

#include "Parser/Parser.h"

class LdMakeSecureParser : public LdObjectsParser {
public:
    explicit LdMakeSecureParser(int commandToken);
    ~LdMakeSecureParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
};

#endif
