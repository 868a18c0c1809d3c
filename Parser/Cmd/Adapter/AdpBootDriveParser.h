// Parser of "-AdpBootDrive {-Set|-Unset {-Lx|-PhysDrv[E0:S0]}}|-Get -aN|-a0,1,2|-aALL": sets,
// unsets or shows the drive the controller boots from, named as one logical drive or one
// physical drive. Whether the drive exists is the processor's business.
#ifndef ADPBOOTDRIVEPARSER_H
#define ADPBOOTDRIVEPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class AdpBootDriveParser : public LdObjectsParser {
public:
    explicit AdpBootDriveParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // -Set, -Unset or -Get.
    int onAction(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    // The bracketed drive: exactly one well-formed "E:S"; a list of more drives is refused, not
    // cut to its first.
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    unsigned short action;
};

#endif
