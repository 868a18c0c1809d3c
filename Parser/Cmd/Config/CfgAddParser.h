// Parser of "-CfgLdAdd" (one new drive group from an explicit drive list, with one or more
// virtual drives) and "-CfgEachDskRaid0" (a RAID-0 virtual drive on each free drive). Builds
// one CfgAddParsedObject per adapter named, carrying the command word given.
#ifndef CFGADDPARSER_H
#define CFGADDPARSER_H

#include "Parser/Cmd/Config/CfgParser.h"

class CfgAddParser : public CfgParser {
public:
    explicit CfgAddParser(int commandToken);
    ~CfgAddParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCfgLdAdd(ArrayList<Token*>* tokens, unsigned char position);
    int onCfgEachDskRaid0(ArrayList<Token*>* tokens, unsigned char position);
    // HSP: the bracketed list that follows is the hot-spare list.
    int onHotSpare(ArrayList<Token*>* tokens, unsigned char position);
    int onEnablePi(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

    unsigned char getForce() const { return force; }
    unsigned char getEnablePi() const { return enablePi; }

private:
    unsigned char force;
    unsigned char enablePi;
};

#endif
