// Parser of "-LDRecon {-Start -rX [{-Add | -Rmv} -PhysDrv[E0:S0,...]]}|-ShowProg|-ProgDsply
// -Lx -aN": reconstructs a logical drive to a new RAID level, adding or removing drives, or
// reports the reconstruction. Builds one LdReconstructParsedObject per adapter named; every
// request shares the one drive list (see ParserDriveList).
#ifndef LDRECONSTRUCTPARSER_H
#define LDRECONSTRUCTPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class LdReconstructParser : public LdObjectsParser {
public:
    // Action and drive action while the line has not given them.
    static constexpr unsigned short NOT_GIVEN = 0xFFFF;
    static constexpr unsigned char RAID_LEVEL_NOT_GIVEN = 255;

    explicit LdReconstructParser(int commandToken);
    ~LdReconstructParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a logical drive, and a drive action without drives.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    // "-r" and the level: a level that is no RAID level code (above 254) is refused, not cut.
    int onRaidLevel(ArrayList<Token*>* tokens, unsigned char position);
    // "-Add" or "-Rmv", once.
    int onDriveAction(ArrayList<Token*>* tokens, unsigned char position);
    // "-Start", "-ShowProg" or "-ProgDsply", once. "-Suspend" and "-Resume" are not offered:
    // they have no rule, so they are reported as unexpected and the request has no action.
    int onAction(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    unsigned short action;
    unsigned short driveAction;
    unsigned char raidLevel;
    unsigned char force;
};

#endif
