// Parser of "-PDMakeJBOD -PhysDrv[E:S,...]": turns the drives listed into JBOD drives. Builds
// one PdOffLineParsedObject per adapter; the requests share the drive list.
#ifndef PDMAKESYSTEMPARSER_H
#define PDMAKESYSTEMPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class PdMakeSystemParser : public Parser {
public:
    explicit PdMakeSystemParser(int commandToken);
    ~PdMakeSystemParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a well-formed drive list is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char force;  // the command has no force option: always 0
    ParserDriveList driveList;
};

#endif
