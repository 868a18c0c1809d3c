// Parser of "-LdPdInfo -aN|-a0,1,2|-aALL": every virtual drive of each adapter named with its
// spans and drives.
#ifndef LDPDINFOPARSER_H
#define LDPDINFOPARSER_H

#include "Parser/CfgParsedObjects.h"
#include "Parser/Cmd/AdapterOnlyParser.h"

class LdPdInfoParser : public AdapterOnlyParser<LdPdInfoParsedObject> {
public:
    explicit LdPdInfoParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
