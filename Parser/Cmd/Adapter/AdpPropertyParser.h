// Parser of "-AdpSetProp" and "-AdpGetProp": one controller property, named by its word, to be
// set or shown on each adapter named. The request names the property by a 16-bit code (the
// word's token id, except for the alarm, NCQ and automatic enhanced import words, which share
// one code per feature with a fixed value) and carries up to four values; 255 in the second to
// fourth values means not given.
//
//   -AdpSetProp RebuildRate 30 -a0            -AdpGetProp CacheFlushInterval -aALL
//   -AdpSetProp AlarmSilence -a0              -AdpSetProp -DefaultLdPSPolicy -Maximum -a0
//   -AdpSetProp -DisableLdPS -interval 6 -time 22 -a0
//   -AdpSetProp PerfMode 1 MaxFlushLines 10 NumIOsToOrder 2 -a1
#ifndef ADPPROPERTYPARSER_H
#define ADPPROPERTYPARSER_H

#include "Parser/Parser.h"

class AdpPropertyParser : public Parser {
public:
    // Property codes shared by the words of one feature.
    static constexpr unsigned short PROPERTY_ALARM = 284;
    static constexpr unsigned short PROPERTY_NCQ = 0x1050;
    static constexpr unsigned short PROPERTY_AUTO_ENHANCED_IMPORT = 0x1051;
    // A second to fourth value that was not given.
    static constexpr int NOT_GIVEN = 255;

    explicit AdpPropertyParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // Either command word with the property word and what follows it. Refuses an unknown
    // property word, a value out of the property's range and a missing value.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // The '%' after a snapshot-space value.
    int onPercent(ArrayList<Token*>* tokens, unsigned char position);

private:
    // What follows the property word of "-AdpSetProp".
    int readSetValue(ArrayList<Token*>* tokens, int position, unsigned short word);
    int readLdPowerSavingTimes(ArrayList<Token*>* tokens, int position);
    int readPerfModeExtras(ArrayList<Token*>* tokens, int position);

    short property;
    int value;
    unsigned char value2;
    int value3;
    unsigned char value4;
};

#endif
