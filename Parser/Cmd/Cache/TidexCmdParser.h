// Parser of the host-cache command family "HK": adding and removing cached virtual drives and
// cache devices, listing them, the driver's configuration and statistics, bringing virtual
// drives online, and the flash-card list. One command line gives exactly one
// TidexCmdParsedObject, whatever adapters the line names.
#ifndef TIDEXCMDPARSER_H
#define TIDEXCMDPARSER_H

#include "Parser/Cmd/Cache/TidexParser.h"
#include "PavUtil/apstring.h"

class TidexCmdParser : public TidexParser {
public:
    // Object kinds.
    static constexpr unsigned char KIND_CACHE = 11;
    static constexpr unsigned char KIND_FLASH_CARD = 10;

    explicit TidexCmdParser(int commandToken);
    ~TidexCmdParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // Every sub-command word and its modifiers; the words that name devices take the free
    // text after them, device names separated by ':'.
    int onSubCommand(ArrayList<Token*>* tokens, unsigned char position);
    // "-i N": one flash card.
    int onIndex(ArrayList<Token*>* tokens, unsigned char position);
    // "-iALL": every flash card.
    int onAllIndices(ArrayList<Token*>* tokens, unsigned char position);

private:
    // Splits the ':'-separated names of the text into new entries of `names`; runs of ':'
    // separate once. 0, or -1 when memory runs out.
    int addNames(const string& text);

    unsigned char objectKind;
    unsigned char action;
    unsigned char index;
    ArrayList<string*> names;
    unsigned char configured;
    unsigned char force;
    unsigned char allIndices;
    unsigned char cardInfo;
};

#endif
