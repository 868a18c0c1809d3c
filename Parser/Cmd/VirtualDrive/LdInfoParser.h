// Parser of "-LDInfo -Lx|-L0,1,2|-Lall -aN|-a0,1,2|-aALL" and of "-DiscardPreservedCache
// -Lx|-L0,1,2|-Lall [-force] -aN|-a0,1,2|-aALL": the virtual drives named, on each adapter
// named. The request carries the command word given, which tells the two apart.
#ifndef LDINFOPARSER_H
#define LDINFOPARSER_H

#include "Parser/Parser.h"

class LdInfoParser : public LdObjectsParser {
public:
    explicit LdInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line that names no virtual drive.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char force;
};

#endif
