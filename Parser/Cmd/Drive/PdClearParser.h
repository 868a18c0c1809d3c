// Parser of "-PDClear -Start|-Stop|-ShowProg|-ProgDsply -PhysDrv[E0:S0,E1:S1,...]
// -aN|-a0,1,2|-aALL": starts, stops, shows or follows the clearing of drives. Builds one
// PdClrParsedObject per adapter named; every request shares the one drive list (see
// ParserDriveList).
#ifndef PDCLEARPARSER_H
#define PDCLEARPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdClearParser : public Parser {
public:
    // Actions of the request; ACTION_NONE while the line gave none ("-Suspend" and "-Resume"
    // are not offered: they have no rule and are reported as unexpected).
    static const unsigned char ACTION_START = 0;
    static const unsigned char ACTION_STOP = 1;
    static const unsigned char ACTION_SHOW_PROGRESS = 2;
    static const unsigned char ACTION_PROGRESS_DISPLAY = 3;
    static const unsigned char ACTION_NONE = 0xFF;

    explicit PdClearParser(int commandToken);
    ~PdClearParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a drive list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onAction(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    unsigned char action;
};

#endif
