// Parser of "-AdpCacheFlush -aN|-a0,1,2|-aALL": flushes the controller cache of each adapter
// named.
#ifndef ADPCACHEFLUSHPARSER_H
#define ADPCACHEFLUSHPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class AdpCacheFlushParser : public AdapterOnlyParser<AdpCacheFlushParsedObject> {
public:
    explicit AdpCacheFlushParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
