// Parser of "-PDRbld -Start|-Stop|-Suspend|-Resume|-ShowProg|-ProgDsply
// -PhysDrv[E0:S0,E1:S1,...] -aN|-a0,1,2|-aALL": starts, stops, suspends, resumes, shows or
// follows the rebuild of drives. Builds one PdRebuildParsedObject per adapter named, each with
// its own copy of the drives.
#ifndef PDRBLDPARSER_H
#define PDRBLDPARSER_H

#include "Parser/Parser.h"

class PdIdListObject;

class PdRbldParser : public Parser {
public:
    // Serves the rebuild command word whatever token it is created with.
    PdRbldParser();
    ~PdRbldParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; it also takes the line's one action word, wherever it stands.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

private:
    ArrayList<PdIdListObject*> driveList;  // owned, with its entries
    unsigned short action;                 // token id of the action word; 0 until read
};

#endif
