// Parser of "-AdpAllInfo -aN|-a0,1,2|-aALL": the full information report of each adapter named.
#ifndef ADPALLINFOPARSER_H
#define ADPALLINFOPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpAllInfoParser : public AdapterOnlyParser<AdpAllInfoParsedObject> {
public:
    explicit AdpAllInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
