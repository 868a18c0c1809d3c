// Parser of "-AdpSetVerify -f fileName -aN|-a0,1,2|-aALL": compares the controller's
// manufacturing settings with a KEY=value file. The file is read by the processor, not here.
#ifndef ADPVERIFYPARSER_H
#define ADPVERIFYPARSER_H

#include "Parser/Parser.h"

class AdpVerifyParser : public Parser {
public:
    explicit AdpVerifyParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
};

#endif
