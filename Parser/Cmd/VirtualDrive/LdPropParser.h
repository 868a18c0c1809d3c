// Parser of "-LDGetProp" (read one property of logical drives) and "-LDSetProp" (change one):
// one property word, a name text after "-Name", "-Immediate", the logical drives and the
// adapters. Builds one LdPropParsedObject per adapter named, carrying the property word's id.
#ifndef LDPROPPARSER_H
#define LDPROPPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class LdPropParser : public LdObjectsParser {
public:
    explicit LdPropParser(int commandToken);
    ~LdPropParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a property word or without a logical drive.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word and the property word after it: a read word only after "-LDGetProp", a
    // change word only after "-LDSetProp" (else "Invalid option specified" and the line is
    // refused). Other words are left to their own rules.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // "-Name" and, when one follows, its text.
    int onName(ArrayList<Token*>* tokens, unsigned char position);
    int onDisablePi(ArrayList<Token*>* tokens, unsigned char position);
    // Accepted and ignored: no request field takes it.
    int onForce(ArrayList<Token*>* tokens, unsigned char position);
    int onImmediate(ArrayList<Token*>* tokens, unsigned char position);

private:
    short property;  // token id of the property word; -1 until one was read
    unsigned char immediate;
    unsigned char force;
    string name;
};

#endif
