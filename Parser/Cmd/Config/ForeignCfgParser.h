// Parser of "-CfgForeign -Scan | -Dsply [x] | -Preview [x] | -Import [x] | -Clear [x]
// [-SecurityKey text | -Passphrase text] -aN|-a0,1,2|-aALL": scans, shows, previews, imports or
// clears foreign configurations, all or the one numbered x. Builds one ForeignCfgParsedObject
// per adapter named, each with its own copy of the key text.
#ifndef FOREIGNCFGPARSER_H
#define FOREIGNCFGPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class ForeignCfgParser : public Parser {
public:
    // The index that stands for every foreign configuration.
    static const unsigned char ALL_CONFIGURATIONS = 255;

    explicit ForeignCfgParser(int commandToken);
    ~ForeignCfgParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The action word and, after any but "-Scan", the number of one configuration when one
    // follows. The number is tested as typed: above 254 it is refused (never cut to another
    // configuration, and a typed 255 does not widen the command to all of them).
    int onAction(ArrayList<Token*>* tokens, unsigned char position);
    // "-SecurityKey" or "-Passphrase" and the text after it, taken as typed.
    int onKeyOption(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned short action;  // token id of the action word; 0 until read
    unsigned char foreignConfigIndex;
    string keyText;
    unsigned char keyKind;
};

#endif
