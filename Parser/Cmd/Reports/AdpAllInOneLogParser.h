// Parser of "-AdpAlILog -aN|-a0,1,2|-aALL": the all-in-one diagnostic report of each adapter
// named.
#ifndef ADPALLINONELOGPARSER_H
#define ADPALLINONELOGPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpAllInOneLogParser : public AdapterOnlyParser<AdpAllInOneLogParsedObject> {
public:
    explicit AdpAllInOneLogParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
