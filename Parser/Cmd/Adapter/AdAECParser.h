// Parser of "-AdpAEC", the controller's advanced event capture: start (with a number of events),
// stop, disable, capture mode, get the captured data into a file, show the settings, set or
// clear the filter mask of a group. Without "-f" after GET the data goes to "KWAEC.dat"; with it,
// to the process-wide file name of the "-f" rule.
#ifndef ADAECPARSER_H
#define ADAECPARSER_H

#include "Parser/Parser.h"

class AdAECParser : public Parser {
public:
    // Actions of the request.
    static constexpr unsigned char ACTION_START = 1;
    static constexpr unsigned char ACTION_STOP = 2;
    static constexpr unsigned char ACTION_DISABLE = 3;
    static constexpr unsigned char ACTION_CAPTURE_MODE = 4;
    static constexpr unsigned char ACTION_GET = 5;
    static constexpr unsigned char ACTION_SHOW = 6;
    static constexpr unsigned char ACTION_FILTER = 7;
    static constexpr unsigned char ACTION_CLEAR = 8;
    // Capture modes.
    static constexpr unsigned char MODE_CONTINUOUS = 0;
    static constexpr unsigned char MODE_FULL = 1;

    explicit AdAECParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // The action word and what it takes after it. A group above 255 refuses the command.
    int onAction(ArrayList<Token*>* tokens, unsigned char position);

private:
    int onStart(ArrayList<Token*>* tokens, unsigned char position);
    int onCaptureMode(ArrayList<Token*>* tokens, unsigned char position);
    int onFilterOrClear(ArrayList<Token*>* tokens, unsigned char position);

    unsigned char action;
    int numEvents;
    unsigned char captureMode;
    int filterMask;
    unsigned char group;
    unsigned char fileGiven;
};

#endif
