// Parser of "-AdpBIOS -Enbl|-Dsbl|-SOE|-BE|-HCOE|-HSM|-EnblAutoSelectBootLd|
// -DsblAutoSelectBootLd|-Dsply -aN|-a0,1,2|-aALL": the controller BIOS settings.
#ifndef ADPBIOSPARSER_H
#define ADPBIOSPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/ActionWordParser.h"

class AdpBiosParser : public ActionWordParser<AdpBiosParsedObject> {
public:
    explicit AdpBiosParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
