// Parser of "-AdpShutDown -aN|-a0,1,2|-aALL": shuts the controllers named down.
#ifndef ADPSHUTDOWNPARSER_H
#define ADPSHUTDOWNPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpShutDownParser : public AdapterOnlyParser<AdpShutDownParsedObject> {
public:
    explicit AdpShutDownParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
