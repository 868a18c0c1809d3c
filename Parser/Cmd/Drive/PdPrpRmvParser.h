// Parser of "-PdPrpRmv [-UnDo] -PhysDrv[E0:S0,...] -aN|-a0,1,2|-aALL": prepares the drives for
// removal, or undoes it. Builds one PdPrpRmvParsedObject per adapter named; every request
// shares the one drive list (see ParserDriveList), which stays whole until the last has run.
#ifndef PDPRPRMVPARSER_H
#define PDPRPRMVPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdPrpRmvParser : public Parser {
public:
    explicit PdPrpRmvParser(int commandToken);
    ~PdPrpRmvParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a drive list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onUndo(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    unsigned char undo;
};

#endif
