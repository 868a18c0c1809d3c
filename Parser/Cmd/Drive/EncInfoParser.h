// Parser of "-EncInfo" and "-EncStatus": the enclosure information or status of the adapters
// named. The request carries the command word given, which tells the two apart.
#ifndef ENCINFOPARSER_H
#define ENCINFOPARSER_H

#include "Parser/Parser.h"

class EncInfoParser : public Parser {
public:
    explicit EncInfoParser(int commandToken);
    ~EncInfoParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // Takes either command word.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
};

#endif
