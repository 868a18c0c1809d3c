// Parser of "-SecureErase": starts (with an erase type, optional erase patterns and
// -DeleteVd), stops, or shows the progress of the secure erase of the virtual drives given
// with -L or the drives given with -PhysDrv. Builds one SecureErasePo per adapter; the
// requests share the drive list.
#ifndef SECUREERASEPARSER_H
#define SECUREERASEPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"

class SecureEraseParser : public LdObjectsParser {
public:
    explicit SecureEraseParser(int commandToken);
    ~SecureEraseParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line that names neither logical drives nor a well-formed drive list is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // START (which takes the erase-type word after it), STOP/ABORT, SHOWPROG, PROGDSPLY; a
    // second action word refuses the line.
    int onAction(ArrayList<Token*>* tokens, unsigned char position);
    int onDeleteVd(ArrayList<Token*>* tokens, unsigned char position);
    // "-ErasePattern" and eight '0'/'1' characters, the first as bit 0x80. A bad pattern is
    // reported on standard output (not paged, not logged) and refuses the line.
    int onErasePattern(ArrayList<Token*>* tokens, unsigned char position);
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char deleteVd;
    ParserDriveList driveList;
    short action;           // token id of the action word; 0 until one is met
    unsigned char pattern1;  // 0: not given
    unsigned char pattern2;
    short eraseType;        // token id of the erase-type word after START; 0 otherwise
};

#endif
