// Parser of "-PhyInfo -phyM -aN|-a0,1,2|-aALL": the information of one phy of the controller's
// SAS ports. Whether the controller has that phy is the processor's business.
#ifndef PHYINFOPARSER_H
#define PHYINFOPARSER_H

#include "Parser/Parser.h"

class PhyInfoParser : public Parser {
public:
    explicit PhyInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // "-phy" and its number. A number above 255 is refused: cut to a byte it would name
    // another phy.
    int onPhy(ArrayList<Token*>* tokens, unsigned char position);
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char phyNumber;
    bool phyGiven;
};

#endif
