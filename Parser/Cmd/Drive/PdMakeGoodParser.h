// Parser of "-PDMakeGood -PhysDrv[E0:S0,E1:S1,...] [-Force] -aN|-a0,1,2|-aALL": makes the
// drives unconfigured good (-Force also for JBOD drives). Builds one PdOffLineParsedObject per
// adapter named; every request shares the one drive list (see ParserDriveList).
#ifndef PDMAKEGOODPARSER_H
#define PDMAKEGOODPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdMakeGoodParser : public Parser {
public:
    explicit PdMakeGoodParser(int commandToken);
    ~PdMakeGoodParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a drive list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    unsigned char force;
};

#endif
