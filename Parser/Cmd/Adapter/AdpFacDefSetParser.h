// Parser of "-AdpFacDefSet": restores the factory default settings of the adapters named.
#ifndef ADPFACDEFSETPARSER_H
#define ADPFACDEFSETPARSER_H

#include "Parser/Parser.h"

class AdpFacDefSetParser : public Parser {
public:
    explicit AdpFacDefSetParser(int commandToken);
    ~AdpFacDefSetParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // One request per adapter; the command word is taken by the base rule.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;
};

#endif
