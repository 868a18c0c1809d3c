// Parser of "-DirectPdMapping -Enbl|-Dsbl|-Dsply": enables, disables or shows the direct
// drive mapping mode. Builds one PdMappingParsedObject per adapter carrying the mode word's
// token id.
#ifndef PDMAPPINGPARSER_H
#define PDMAPPINGPARSER_H

#include "Parser/Parser.h"

class PdMappingParser : public Parser {
public:
    explicit PdMappingParser(int commandToken);
    ~PdMappingParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onAction(ArrayList<Token*>* tokens, unsigned char position);

private:
    short action;  // token id of the mode word
};

#endif
