// Parser of "-Perfmon {-start -interval <val>} | {stop} | {-getresults [-Format CSV] -f <Filename>}
// -aN": starts the controller performance monitor (with a capture interval in minutes), stops
// it, or fetches its results into the process-wide file of the "-f" rule. The request's
// interval carries 5 for CSV results.
#ifndef PERFMONPARSER_H
#define PERFMONPARSER_H

#include "Parser/Parser.h"

class PerfMonParser : public Parser {
public:
    static constexpr unsigned char ACTION_START = 0;
    static constexpr unsigned char ACTION_STOP = 1;
    static constexpr unsigned char ACTION_GET_RESULTS = 2;
    // Capture interval in minutes: 1 to a day.
    static constexpr unsigned int LONGEST_INTERVAL = 1440;
    // The interval value of CSV results.
    static constexpr unsigned short CSV_FORMAT = 5;

    explicit PerfMonParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // START, STOP, GETRESULTS, INTERVAL with its number, FORMAT with CSV. The interval is
    // tested as typed: only 1 to 1440 minutes are taken.
    int onAction(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char action;
    unsigned short interval;
};

#endif
