// Parser of "-LDSetPowerPolicy -Default|-Automatic|-None|-Maximum|-MaximumWithoutCaching
// -Lx|-L0,1,2|-LALL": sets the power-saving level of the virtual drives given. Builds one
// LdPowerPolicyParsedObject per adapter carrying the policy word's token id.
#ifndef LDPOWERPOLICYPARSER_H
#define LDPOWERPOLICYPARSER_H

#include "Parser/Parser.h"

class LdPowerPolicyParser : public LdObjectsParser {
public:
    explicit LdPowerPolicyParser(int commandToken);
    ~LdPowerPolicyParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // One policy word; a second refuses the line.
    int onPowerSavePolicy(ArrayList<Token*>* tokens, unsigned char position);

private:
    short policy;  // token id of the policy word; 0 until one is met
};

#endif
