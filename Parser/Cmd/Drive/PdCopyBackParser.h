// Parser of "-PDCpyBk": starts, stops, suspends, resumes or shows the copy-back of a drive
// ("-Start -PhysDrv[source,destination]", "-Stop|-Suspend|-Resume|-ShowProg|-ProgDsply
// -PhysDrv[drive]"). Builds one PdCopyBackParsedObject per adapter, each with its own copy
// of the drives.
#ifndef PDCOPYBACKPARSER_H
#define PDCOPYBACKPARSER_H

#include "Parser/Parser.h"

class PdIdListObject;

class PdCopyBackParser : public Parser {
public:
    // Serves the copy-back command word whatever token it is created with.
    PdCopyBackParser();
    ~PdCopyBackParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; it also looks through the whole line for the one action word.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // A malformed drive item refuses the line.
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

private:
    ArrayList<PdIdListObject*> driveList;  // owned, with its entries
    short action;                          // token id of the action word; 0 until found
};

#endif
