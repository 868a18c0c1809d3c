// Parser of "-CfgSpanAdd": one spanned virtual drive (RAID 10, 50 or 60) over two or more
// arrays, each typed as "-ArrayN[E:S,...]". The arrays are the bracketed lists in the order
// written, whatever their numbers. Builds one CfgAddParsedObject per adapter named.
#ifndef CFGSPANADDPARSER_H
#define CFGSPANADDPARSER_H

#include "Parser/Cmd/Config/CfgParser.h"

class CfgSpanAddParser : public CfgParser {
public:
    explicit CfgSpanAddParser(int commandToken);
    ~CfgSpanAddParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a spanned RAID level (10 and above).
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // "-Array" and its number; the number only names the array on the line.
    int onArray(ArrayList<Token*>* tokens, unsigned char position);
    int onEnablePi(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

    unsigned char getForce() const { return force; }
    unsigned char getEnablePi() const { return enablePi; }

private:
    unsigned char force;
    unsigned char enablePi;
};

#endif
