// Parser of "-AdpSetTime yyyymmdd hh:mm:ss -aN|-a0,1,2|-aALL" (set the controller clock; the
// time may also come before the date) and "-AdpGetTime -aN|-a0,1,2|-aALL" (show it). The date
// and time are checked here, before any controller is addressed.
#ifndef ADPTIMEPARSER_H
#define ADPTIMEPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Parser.h"

class AdpTimeParser : public Parser {
public:
    // Years the controller clock is set to: a year of four digits at most.
    static constexpr unsigned int FIRST_YEAR = 1;
    static constexpr unsigned int LAST_YEAR = 9999;

    explicit AdpTimeParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; for -AdpSetTime also the date and the time that follow it, in either
    // order, each exactly once. A number above 23 is the date, any other the hour, which the
    // minute and the second follow.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    // Reads the date or the time group whose first number stands at position; the position
    // after the group goes to *next. 0, or -1 when the group is wrong or repeated.
    int readGroup(ArrayList<Token*>* tokens, int position, int* next);

    unsigned short commandWord;
    AdpDateTime dateTime;  // year 0xFFFF and hour 0xFF while not given
};

#endif
