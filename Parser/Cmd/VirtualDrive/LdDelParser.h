// Parser of "-CfgLdDel -LX|-L0,2,5...|-LALL [-Force] -aN|-a0,1,2|-aALL" and of
// "-CfgTidewellDel" (the same without -Force): deletes the logical drives named. Builds one
// LdDelParsedObject per adapter named, carrying the command word given.
#ifndef LDDELPARSER_H
#define LDDELPARSER_H

#include "Parser/Parser.h"

class LdDelParser : public LdObjectsParser {
public:
    explicit LdDelParser(int commandToken);
    ~LdDelParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a logical drive.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onForce(ArrayList<Token*>* tokens, unsigned char position);

    unsigned char getForce() const { return force; }

private:
    unsigned char force;
};

#endif
