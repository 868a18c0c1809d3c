// Parser of "-AdpGetPciInfo -aN|-a0,1,2|-aALL": the PCI location of each adapter named.
#ifndef ADPGETPCIINFOPARSER_H
#define ADPGETPCIINFOPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpGetPciInfoParser : public AdapterOnlyParser<AdpGetPciInfoParsedObject> {
public:
    explicit AdpGetPciInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
