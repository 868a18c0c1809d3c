// Parser of "-CfgFreeSpaceinfo -aN|-a0,1,2|-aALL": the free space of each disk group of each
// adapter named.
#ifndef FREESPACEINFOPARSER_H
#define FREESPACEINFOPARSER_H

#include "Parser/CfgParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class FreeSpaceInfoParser : public AdapterOnlyParser<FreeSpaceInfoParsedObject> {
public:
    explicit FreeSpaceInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
