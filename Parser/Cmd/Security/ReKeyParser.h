// Parser of "-ChangeSecurityKey": replaces the controller's security key or pass phrase,
// naming the old one with "-OldSecurityKey" or "-OldPassphrase". Builds one
// LockKeyParsedObject per adapter. Texts are copied exactly as typed.
#ifndef REKEYPARSER_H
#define REKEYPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class ReKeyParser : public Parser {
public:
    // Serves its command word with a rule of its own.
    ReKeyParser();
    ~ReKeyParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onSecurityKey(ArrayList<Token*>* tokens, unsigned char position);
    // "-OldSecurityKey" or "-OldPassphrase": both fill the one old-key text.
    int onOldKey(ArrayList<Token*>* tokens, unsigned char position);
    int onPassphrase(ArrayList<Token*>* tokens, unsigned char position);
    int onKeyId(ArrayList<Token*>* tokens, unsigned char position);
    int onUseEkms(ArrayList<Token*>* tokens, unsigned char position);

private:
    string securityKey;
    string passphrase;
    string oldKey;
    string keyId;
    unsigned char useEkms;
    unsigned char oldIsPassphrase;
};

#endif
