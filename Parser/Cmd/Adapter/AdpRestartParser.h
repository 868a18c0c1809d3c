// Parser of "-AdpRestart -aN|-a0,1,2|-aALL": restarts the controllers named.
#ifndef ADPRESTARTPARSER_H
#define ADPRESTARTPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpRestartParser : public AdapterOnlyParser<AdpRestartParsedObject> {
public:
    explicit AdpRestartParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
