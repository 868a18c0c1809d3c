// Parser of "-AdpDowngrade -aN|-a0,1,2|-aALL": prepares the controllers named for older firmware.
// The command word is an option word of the keyword table, which the scanner also reads in the
// command position.
#ifndef ADPDOWNGRADEPARSER_H
#define ADPDOWNGRADEPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpDowngradeParser : public AdapterOnlyParser<AdpDowngradeParsedObject> {
public:
    explicit AdpDowngradeParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
