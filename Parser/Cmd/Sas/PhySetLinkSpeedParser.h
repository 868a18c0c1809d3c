// Parser of "-PhySetLinkSpeed -Phy M speed": sets the link speed of one phy. Builds one
// AdpPhySetLinkSpeedParsedObject per adapter. The speed itself is judged when the command
// runs; a phy number or speed that does not fit its byte is refused here.
#ifndef PHYSETLINKSPEEDPARSER_H
#define PHYSETLINKSPEEDPARSER_H

#include "Parser/Parser.h"

class PhySetLinkSpeedParser : public Parser {
public:
    explicit PhySetLinkSpeedParser(int commandToken);
    ~PhySetLinkSpeedParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // "-Phy", the phy number and the link speed.
    int onPhy(ArrayList<Token*>* tokens, unsigned char position);
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char phyNumber;
    unsigned char linkSpeed;
};

#endif
