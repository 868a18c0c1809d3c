// Parser of "-GetKeyID [-PhysDrv[E:S,...]]" (show the security key id of the adapter, or of
// the drives listed) and "-SetKeyID -KeyID text" (set the adapter's key id). Builds one
// AdPdKeyIDGetSetParsedObject per adapter; the requests share the drive list.
#ifndef ADPDKEYIDGETSETPARSER_H
#define ADPDKEYIDGETSETPARSER_H

#include "Parser/Parser.h"
#include "Parser/ParserUtil.h"
#include "PavUtil/apstring.h"

class AdPdKeyIDGetSetParser : public Parser {
public:
    explicit AdPdKeyIDGetSetParser(int commandToken);
    ~AdPdKeyIDGetSetParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // A malformed drive item refuses the line.
    int onDriveList(ArrayList<Token*>* tokens, unsigned char position);
    int onPhysDrv(ArrayList<Token*>* tokens, unsigned char position);
    int onKeyId(ArrayList<Token*>* tokens, unsigned char position);

private:
    ParserDriveList driveList;
    string keyId;  // a single blank until "-KeyID" gives one
};

#endif
