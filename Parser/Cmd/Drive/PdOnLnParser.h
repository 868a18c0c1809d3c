// Parser of "-PDOnline", "-PdMarkMissing", "-PdGetMissing" and "-PdLocate {[-start] | -stop}":
// one command id (the online command) serves all four words; the word chosen becomes the
// request's operation. Builds one PdOnLineParsedObject per adapter named, each with its own
// copy of the drives.
#ifndef PDONLNPARSER_H
#define PDONLNPARSER_H

#include "Parser/Parser.h"

class PdIdListObject;

class PdOnLnParser : public Parser {
public:
    // Serves the four command words whatever token it is created with.
    PdOnLnParser();
    ~PdOnLnParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; after "-PdLocate" also "-start" or "-stop" right behind it.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

private:
    ArrayList<PdIdListObject*> driveList;  // owned, with its entries
    unsigned char operation;
    unsigned char stop;
};

#endif
