// Parser of "-AdpBbuCmd": the battery backup unit.
//   -AdpBbuCmd [-GetBbuStatus|-GetBbuCapacityInfo|-GetBbuDesignInfo|-GetBbuProperties|
//       -BbuLearn|-BbuMfgSleep|-BbuMfgSeal|-getBbumodes|-SetBbuProperties -f fileName|
//       -GetGGEEPData [-Offset hexaddress] -NumBytes n|
//       -ScheduleLearn -Dsbl|-Info|-STARTTIME DDD hh] -aN|-a0,1,2|-aALL
// Without a sub-command the request asks for all battery information.
#ifndef ADPBBUPARSER_H
#define ADPBBUPARSER_H

#include "Parser/AdpParsedObjects.h"
#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class AdpBbuParser : public Parser {
public:
    // The action of a line without a sub-command: all battery information.
    static constexpr unsigned char ACTION_ALL_INFO = 10;
    // Schedule actions.
    static constexpr unsigned char SCHEDULE_DISABLE = 1;
    static constexpr unsigned char SCHEDULE_INFO = 2;
    static constexpr unsigned char SCHEDULE_START_TIME = 3;
    // Learn day and hour not given.
    static constexpr unsigned char NOT_GIVEN = 0xFF;

    explicit AdpBbuParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // A sub-command word; -GetGGEEPData and -ScheduleLearn also read the words after them.
    int onSubCommand(ArrayList<Token*>* tokens, unsigned char position);
    // -Dsbl, -Info, or -STARTTIME with a day name (SUN .. SAT, in any case) and an hour 0-23.
    int onScheduleLearnOption(ArrayList<Token*>* tokens, unsigned char position);
    // -Offset and a hexadecimal address ("1A", "0x1A") that fits 32 bits; any other text is
    // refused rather than read as a part of it or as 0. 0 with nothing taken for another word.
    int onOffset(ArrayList<Token*>* tokens, unsigned char position);
    // -NumBytes and its count. 0 with nothing taken for another word.
    int onNumBytes(ArrayList<Token*>* tokens, unsigned char position);
    // "-f" and the properties file name, kept by this parser.
    int onFileOption(ArrayList<Token*>* tokens, unsigned char position);

private:
    string fileName;
    unsigned char action;
    unsigned char scheduleAction;
    unsigned char learnSchedule[AdpBbuPo::LEARN_SCHEDULE_SIZE];
    unsigned char learnDay;
    unsigned int offset;
    unsigned int byteCount;
};

#endif
