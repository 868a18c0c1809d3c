// Parser of "-LDCC", "-LDInit" and "-LDBI": start, abort, suspend, resume, show or follow the
// consistency check, initialisation or background initialisation of logical drives (and
// enable, disable or show background initialisation). Builds one LdOperationParsedObject per
// adapter named, carrying the command word given and the operation word's id.
#ifndef LDOPERATIONPARSER_H
#define LDOPERATIONPARSER_H

#include "Parser/Parser.h"

class LdOperationParser : public LdObjectsParser {
public:
    explicit LdOperationParser(int commandToken);
    ~LdOperationParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a logical drive.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; it also takes the line's one operation word (the words each command
    // offers), wherever it stands.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onFullInit(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned short operation;  // token id of the operation word; 0 until read
    unsigned char full;
    unsigned char force;
};

#endif
