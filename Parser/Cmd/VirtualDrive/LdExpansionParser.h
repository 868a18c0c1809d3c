// Parser of "-LdExpansion -pN [-dontExpandArray] -Lx|-L0,1,2|-LALL": expands each virtual
// drive given by N percent of the space available, optionally without growing its array.
// Builds one LdExpansionParsedObject per adapter. Percentages above 100 are refused when the
// command runs; one that does not fit a byte is refused here.
#ifndef LDEXPANSIONPARSER_H
#define LDEXPANSIONPARSER_H

#include "Parser/Parser.h"

class LdExpansionParser : public LdObjectsParser {
public:
    explicit LdExpansionParser(int commandToken);
    ~LdExpansionParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word with "-p", the percentage and the optional "-dontExpandArray".
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char percentage;
    unsigned char dontExpandArray;
};

#endif
