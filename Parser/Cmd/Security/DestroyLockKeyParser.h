// Parser of "-DestroySecurityKey" and "-DeleteSecurityKey" [-Force]: destroys the controller's
// security key. Both words build a DestroyLockKeyParsedObject with the one command id of the
// destroy command; its delete-word flag tells which word was typed.
#ifndef DESTROYLOCKKEYPARSER_H
#define DESTROYLOCKKEYPARSER_H

#include "Parser/Parser.h"

class DestroyLockKeyParser : public Parser {
public:
    // Serves its command words with a rule of its own.
    DestroyLockKeyParser();
    ~DestroyLockKeyParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onForce(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char force;
    unsigned char deleteWord;
};

#endif
