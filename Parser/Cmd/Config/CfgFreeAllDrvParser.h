// Parser of "-CfgAllFreeDrv": a configuration over every free drive, with optional spans and
// hot spares. Builds one CfgAutoParsedObject per adapter named.
#ifndef CFGFREEALLDRVPARSER_H
#define CFGFREEALLDRVPARSER_H

#include "Parser/Cmd/Config/CfgParser.h"

class CfgFreeAllDrvParser : public CfgParser {
public:
    explicit CfgFreeAllDrvParser(int commandToken);
    ~CfgFreeAllDrvParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // With more than one span, a RAID level of 9 or less becomes its spanned form (x 10).
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onSpanCount(ArrayList<Token*>* tokens, unsigned char position);
    int onSataOnly(ArrayList<Token*>* tokens, unsigned char position);
    int onHspCount(ArrayList<Token*>* tokens, unsigned char position);
    int onHspType(ArrayList<Token*>* tokens, unsigned char position);
    int onEnclAffinity(ArrayList<Token*>* tokens, unsigned char position);
    int onNonRevertible(ArrayList<Token*>* tokens, unsigned char position);
    int onDedicated(ArrayList<Token*>* tokens, unsigned char position);
    int onEnablePi(ArrayList<Token*>* tokens, unsigned char position);

    unsigned char getSpanCount() const { return spanCount; }
    unsigned char getHotSpareCount() const { return hotSpareCount; }

private:
    // Count rule: the word, then a number of at most 255 into *count.
    static int takeCount(ArrayList<Token*>* tokens, unsigned char position, unsigned short wordId,
                         unsigned char* count);

    unsigned char enclAffinity;
    unsigned char dedicated;
    unsigned char revertible;
    unsigned char sataOnly;
    unsigned char enablePi;
    unsigned char spanCount;
    unsigned char hotSpareCount;
};

#endif
