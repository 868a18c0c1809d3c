// Parser of "-PDHSP {-Set [-Dedicated [-ArrayN|-Array0,1,2...]] [-EnclAffinity]
// [-nonRevertible]} | -Rmv -PhysDrv[E0:S0,E1:S1,...] -aN|-a0,1,2|-aALL": makes the drives hot
// spares (global, or dedicated to arrays) or removes them as hot spares. Builds one
// PdHspParsedObject per adapter named, each with its own copies of the drives and arrays.
#ifndef PDHSPPARSER_H
#define PDHSPPARSER_H

#include "Parser/Parser.h"

class PdIdListObject;

class PdHspParser : public Parser {
public:
    // Highest array number a configuration holds.
    static const int MAX_ARRAY_NUMBER = 127;

    explicit PdHspParser(int commandToken);
    ~PdHspParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line that neither sets nor removes.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    // "-Set" or "-Rmv".
    int onSetRemove(ArrayList<Token*>* tokens, unsigned char position);
    int onEnclAffinity(ArrayList<Token*>* tokens, unsigned char position);
    int onNonRevertible(ArrayList<Token*>* tokens, unsigned char position);
    int onDedicated(ArrayList<Token*>* tokens, unsigned char position);
    // "-Array" and the numbers right after it, each tested as typed: an array above 127 is
    // refused, never cut to another array.
    int onArray(ArrayList<Token*>* tokens, unsigned char position);

private:
    ArrayList<PdIdListObject*> driveList;  // owned, with its entries
    ArrayList<unsigned char*> arrays;      // owned, one byte per array number
    unsigned char enclAffinity;
    unsigned char dedicated;
    unsigned char revertible;
    int set;  // 1 set, 0 remove, -1 until read
};

#endif
