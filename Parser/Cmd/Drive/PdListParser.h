// Parser of "-PDList -aN|-a0,1,2|-aALL" and "-GetPreservedCacheList -aN|-a0,1,2|-aALL": the
// drives, or the virtual drives with preserved cache, of each adapter named. The request carries
// the command word given, which tells the two apart.
#ifndef PDLISTPARSER_H
#define PDLISTPARSER_H

#include "Parser/PdParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class PdListParser : public AdapterOnlyParser<PdListParsedObject> {
public:
    explicit PdListParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
