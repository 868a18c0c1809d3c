// Parser of "-AdpPR -EnblAuto|-EnblMan|-Dsbl|-Start|-Stop|-Suspend|-Resume|-Info|
// -SSDPatrolReadEnbl|-SSDPatrolReadDsbl|-SetDelay n|-maxConcurrentPD n|
// -SetStartTime yyyymmdd hh -aN|-a0,1,2|-aALL": patrol read of the controller's drives.
#ifndef ADPPRPARSER_H
#define ADPPRPARSER_H

#include "Parser/Parser.h"

#include <ctime>

class AdpPrParser : public Parser {
public:
    // The value of a request that carries none.
    static constexpr unsigned short NO_VALUE = 255;
    // Largest delay and number of drives read at once.
    static constexpr int LARGEST_VALUE = 65535;

    explicit AdpPrParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word, the action word right after it and the action's numbers.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned short action;
    unsigned short value;
    struct tm startTime;
};

#endif
