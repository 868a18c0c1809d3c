// Parser of "-FwTermLog -BBUoff|-BBUoffTemp|-BBUon|-BBUGet|-Dsply|-Clear -aN|-a0,1,2|-aALL":
// the firmware terminal log (shown or cleared) and its battery backing.
#ifndef ADPTTYLOGPARSER_H
#define ADPTTYLOGPARSER_H

#include "Parser/Parser.h"

class AdpTTYLogParser : public Parser {
public:
    // Actions of the request.
    static constexpr unsigned char ACTION_CLEAR = 0;
    static constexpr unsigned char ACTION_DISPLAY = 1;
    static constexpr unsigned char ACTION_BBU_ON = 2;
    static constexpr unsigned char ACTION_BBU_OFF = 3;
    static constexpr unsigned char ACTION_BBU_OFF_TEMP = 4;
    static constexpr unsigned char ACTION_BBU_GET = 5;
    static constexpr unsigned char ACTION_NONE = 15;

    explicit AdpTTYLogParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // -Clear and the four battery-backing words.
    int onTermLogOption(ArrayList<Token*>* tokens, unsigned char position);
    int onDisplay(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char action;
};

#endif
