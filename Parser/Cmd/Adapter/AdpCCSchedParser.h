// Parser of "-AdpCcSched": shows the controller's consistency-check schedule (-Info), disables it
// (-Dsbl), chooses sequential or concurrent mode with the logical drives to leave out
// (-ModeSeq|-ModeConc [-ExcludeLD -L0,1,2] [-SetStartTime yyyymmdd hh] [-SetDelay val]), or
// sets the next start time or the delay between runs alone. The date and hour are checked here.
#ifndef ADPCCSCHEDPARSER_H
#define ADPCCSCHEDPARSER_H

#include "Parser/Parser.h"

#include <ctime>

class AdpCCSchedParser : public LdObjectsParser {
public:
    // Actions of the request.
    static constexpr int ACTION_SHOW = 0;
    static constexpr int ACTION_MODE = 1;
    static constexpr int ACTION_START_TIME = 2;
    static constexpr int ACTION_DELAY = 3;
    static constexpr int ACTION_NONE = 4;
    // Modes.
    static constexpr int MODE_DISABLED = 0;
    static constexpr int MODE_SEQUENTIAL = 1;
    static constexpr int MODE_CONCURRENT = 2;
    static constexpr int MODE_NONE = 3;
    // Longest delay, in hours.
    static constexpr unsigned int LONGEST_DELAY = 0x123456;

    explicit AdpCCSchedParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word, and INFO or DSBL right after it.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    int onMode(ArrayList<Token*>* tokens, unsigned char position);
    // SETSTARTTIME yyyymmdd hh: a date from the year 2000 on that exists (a February 29th in
    // years divisible by 4) and an hour from 0 to 23.
    int onStartTime(ArrayList<Token*>* tokens, unsigned char position);
    // SETDELAY n; a delay above LONGEST_DELAY is reported and refuses the command.
    int onDelay(ArrayList<Token*>* tokens, unsigned char position);
    // EXCLUDELD: the "-L" numbers after it are the drives left out.
    int onExcludeLd(ArrayList<Token*>* tokens, unsigned char position);

private:
    int action;
    int mode;
    int delay;
    struct tm startTime;
};

#endif
