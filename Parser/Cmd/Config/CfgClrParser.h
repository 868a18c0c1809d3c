// Parser of "-CfgClr [-Force]": clears the whole configuration of the adapters named. Builds
// one AdpCfgClrParsedObject per adapter.
#ifndef CFGCLRPARSER_H
#define CFGCLRPARSER_H

#include "Parser/Parser.h"

class CfgClrParser : public Parser {
public:
    explicit CfgClrParser(int commandToken);
    ~CfgClrParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char force;
};

#endif
