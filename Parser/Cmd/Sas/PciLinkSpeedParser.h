// Parser of "-PciSetLinkSpeed Speed -aN|-a0,1,2|-aALL": sets the PCI link speed of the adapters
// named.
#ifndef PCILINKSPEEDPARSER_H
#define PCILINKSPEEDPARSER_H

#include "Parser/Parser.h"

class PciLinkSpeedParser : public Parser {
public:
    explicit PciLinkSpeedParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word and the speed after it. A speed above 255 refuses the command: it must
    // not become another speed.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char linkSpeed;
};

#endif
