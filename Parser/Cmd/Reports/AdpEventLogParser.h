// Parser of "-AdpEventLog": the controller's event log.
//   -AdpEventLog -Clear|-GetEventLogInfo -aN|-a0,1,2|-aALL
//   -AdpEventLog -GetEvents|-GetSinceReboot|-GetSinceShutdown|-IncludeDeleted|-GetLatest n
//       [-info] [-warning] [-critical] [-fatal] [-f fileName] -aN|-a0,1,2|-aALL
//   -AdpEventLog -GetCCIncon -f fileName -Lx|-L0,1,2|-LALL -aN|-a0,1,2|-aALL
// The requests of one line share the output file: the first adapter's request starts it, the
// others append to it.
#ifndef ADPEVENTLOGPARSER_H
#define ADPEVENTLOGPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class AdpEventLogParser : public LdObjectsParser {
public:
    // Actions of the request.
    static constexpr unsigned char ACTION_CLEAR = 0;
    static constexpr unsigned char ACTION_SINCE_REBOOT = 1;
    static constexpr unsigned char ACTION_SINCE_SHUTDOWN = 2;
    static constexpr unsigned char ACTION_LOG_INFO = 3;
    static constexpr unsigned char ACTION_EVENTS = 4;
    static constexpr unsigned char ACTION_INCLUDE_DELETED = 5;
    static constexpr unsigned char ACTION_LATEST = 6;
    static constexpr unsigned char ACTION_CC_INCONSISTENCIES = 7;
    static constexpr unsigned char ACTION_NONE = 0xFF;

    explicit AdpEventLogParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // An action word or an event-class word. -GetLatest takes the number after it, which must
    // fit the 16-bit count: a larger one is refused, never cut to another count.
    int onEventLogOption(ArrayList<Token*>* tokens, unsigned char position);
    // "-f" and the output file name, kept by this parser.
    int onFileOption(ArrayList<Token*>* tokens, unsigned char position);

private:
    string fileName;
    unsigned char action;
    unsigned char classFilter;
    unsigned short latestCount;
};

#endif
