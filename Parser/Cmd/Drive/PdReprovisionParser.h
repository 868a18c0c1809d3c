// Parser of "-PDInstantSecureErase" (also served: "-PDReprovision") "-PhysDrv[E:S,...]
// [-Force]": erases the security configuration of the drives listed, and the data on them.
// Builds one PdReprovisionParsedObject per adapter, carrying the command word given; the
// requests share the drive list.
#ifndef PDREPROVISIONPARSER_H
#define PDREPROVISIONPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdReprovisionParser : public Parser {
public:
    explicit PdReprovisionParser(int commandToken);
    ~PdReprovisionParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a well-formed drive list is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char force;
    ParserDriveList driveList;
};

#endif
