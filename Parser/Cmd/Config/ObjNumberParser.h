// Parser of "-LDGetNum" and "-PDGetNum": the number of logical or physical drives of the
// adapters named. The request carries the command word given, which tells the two apart.
#ifndef OBJNUMBERPARSER_H
#define OBJNUMBERPARSER_H

#include "Parser/Parser.h"

class ObjNumberParser : public Parser {
public:
    explicit ObjNumberParser(int commandToken);
    ~ObjNumberParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // Takes either command word.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
};

#endif
