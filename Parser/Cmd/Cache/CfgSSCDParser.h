// Parser of the SSD-cache commands: "-CfgTidewellAdd" (create the SSD cache virtual drive from
// a drive list, with an optional RAID level, name and write policy, optionally assigning
// logical drives to it) and "-Tidewell -assign|-remove" (associate logical drives with the SSD
// cache or dissociate them). Builds one CfgSSCDAddParsedObject per adapter; its command word
// tells the two commands apart.
#ifndef CFGSSCDPARSER_H
#define CFGSSCDPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"
#include "PavUtil/apstring.h"

class CfgSSCDParser : public Parser {
public:
    // LD actions.
    static constexpr unsigned char LD_ACTION_NONE = 0;
    static constexpr unsigned char LD_ACTION_ASSIGN = 1;
    static constexpr unsigned char LD_ACTION_REMOVE = 2;

    explicit CfgSSCDParser(int commandToken);
    ~CfgSSCDParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A missing drive list, or one with a malformed item, does not fail the parse: the request
    // then carries no drive list.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCfgTidewellAdd(ArrayList<Token*>* tokens, unsigned char position);
    int onTidewell(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onEnablePi(ArrayList<Token*>* tokens, unsigned char position);
    // NAME and the free text after it; another kind of token after NAME is left to its rule.
    int onName(ArrayList<Token*>* tokens, unsigned char position);
    int onRaidLevel(ArrayList<Token*>* tokens, unsigned char position);
    int onWritePolicy(ArrayList<Token*>* tokens, unsigned char position);
    // ASSIGN or REMOVE, then "-L" with numbers or "-LALL".
    int onAssignRemove(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    string name;
    unsigned char enablePi;
    unsigned char raidLevel;
    unsigned char writePolicy;
    unsigned char ldAction;
    ArrayList<unsigned char> ldList;
};

#endif
