// Parser of "-AdpAutoRbld -Enbl|-Dsbl|-Dsply -aN|-a0,1,2|-aALL": automatic rebuild of drives
// that replace failed ones.
#ifndef ADPAUTORBLDPARSER_H
#define ADPAUTORBLDPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Cmd/ActionWordParser.h"

class AdpAutoRbldParser : public ActionWordParser<AdpAutoRbldParsedObject> {
public:
    explicit AdpAutoRbldParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();
};

#endif
