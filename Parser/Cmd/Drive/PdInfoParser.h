// Parser of "-pdInfo -PhysDrv[E0:S0,E1:S1,...] -aN|-a0,1,2|-aALL": the information of the drives
// named, on each adapter named. Every request shares the one drive list (see ParserDriveList).
// Also the base of the parser of the commands that name drives the same way.
#ifndef PDINFOPARSER_H
#define PDINFOPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdInfoParser : public Parser {
public:
    explicit PdInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a drive list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The "-pdInfo" word only: a derived class created for its own command word keeps the
    // base's rule for it.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

    // The drives named; null until the list was read.
    ArrayList<EnclSlotId*>* getDriveList() const { return driveList.get(); }

protected:
    ParserDriveList driveList;
};

#endif
