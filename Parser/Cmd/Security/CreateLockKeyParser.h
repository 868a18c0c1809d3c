// Parser of "-CreateSecurityKey" (enable drive security with a new security key or pass
// phrase, or with external key management) and "-VerifySecurityKey" (check a key or pass
// phrase against the controller's). Builds one LockKeyParsedObject per adapter.
//
// Keys, pass phrases and key ids are copied exactly as typed; their form is judged by the
// command processor when the command runs.
#ifndef CREATELOCKKEYPARSER_H
#define CREATELOCKKEYPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class CreateLockKeyParser : public Parser {
public:
    // Serves its command words with rules of its own; the base's command-word rule matches
    // no scanned word.
    CreateLockKeyParser();
    ~CreateLockKeyParser() override;

    // The token is not needed: the command word met on the line selects the command.
    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCreateSecurityKey(ArrayList<Token*>* tokens, unsigned char position);
    int onSecurityKey(ArrayList<Token*>* tokens, unsigned char position);
    int onPassphrase(ArrayList<Token*>* tokens, unsigned char position);
    int onKeyId(ArrayList<Token*>* tokens, unsigned char position);
    int onVerifySecurityKey(ArrayList<Token*>* tokens, unsigned char position);
    int onUseEkms(ArrayList<Token*>* tokens, unsigned char position);

private:
    string securityKey;
    string passphrase;
    string keyId;
    unsigned short command;  // the command word met
    unsigned char useEkms;
};

#endif
