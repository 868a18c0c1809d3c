// Parser of "-CfgDsply" (show the configuration) and "-CfgTidewellDsply" (show the SSD-cache
// configuration). Builds one CfgDsplyParsedObject per adapter; the command word it carries
// tells the two commands apart.
#ifndef CFGDSPLYPARSER_H
#define CFGDSPLYPARSER_H

#include "Parser/Parser.h"

class CfgDsplyParser : public Parser {
public:
    explicit CfgDsplyParser(int commandToken);
    ~CfgDsplyParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // Takes either command word.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
};

#endif
