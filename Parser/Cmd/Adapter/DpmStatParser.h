// Parser of "-DpmStat -Dsply {lct | hist | ra | ext } [-physdrv[E0:S0]] -aN|-a0,1,2|-aALL" and
// "-DpmStat -Clear {lct | hist | ra | ext } -aN|-a0,1,2|-aALL": shows or clears one kind of the
// drive performance monitor's statistics, for every drive or for the one drive named. The
// requests share the drive list (see ParserDriveList).
#ifndef DPMSTATPARSER_H
#define DPMSTATPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class DpmStatParser : public LdObjectsParser {
public:
    explicit DpmStatParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // The drive list; more than one drive refuses the command.
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    // DSPLY or CLEAR: the operation is the word's token id.
    int onOperation(ArrayList<Token*>* tokens, unsigned char position);
    // LCT, HIST, RA or EXT: the statistics type is the word's token id.
    int onStatType(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    unsigned short operation;
    unsigned short statType;
};

#endif
