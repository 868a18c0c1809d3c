// Parser of "-PDOffline -PhysDrv[E0:S0,E1:S1,...] -aN|-a0,1,2|-aALL": takes the drives
// offline. Builds one PdOffLineParsedObject per adapter named; every request shares the one
// drive list (see ParserDriveList).
#ifndef PDOFFLNPARSER_H
#define PDOFFLNPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdOffLnParser : public Parser {
public:
    // Serves the offline command word whatever token it is created with.
    PdOffLnParser();
    ~PdOffLnParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a drive list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
};

#endif
