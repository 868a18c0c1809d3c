// Parser of "-PdReplaceMissing -PhysDrv[E0:S0] -ArrayA -rowB -aN": the drive takes the place of
// the missing drive in row B of array A. Builds one PdReplaceMissingParsedObject per adapter
// named; the requests share the drive list as the drive information requests do.
#ifndef PDREPLACEMISSINGPARSER_H
#define PDREPLACEMISSINGPARSER_H

#include "Parser/Cmd/Drive/PdInfoParser.h"

class PdReplaceMissingParser : public PdInfoParser {
public:
    // Highest array and row numbers a configuration holds.
    static const int MAX_ARRAY_NUMBER = 127;
    static const int MAX_ROW_NUMBER = 31;

    explicit PdReplaceMissingParser(int commandToken);
    ~PdReplaceMissingParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Refuses a line without a drive list, an array or a row.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // "-Array" or "-row" and its number, tested as typed: an array above 127 or a row above 31
    // is refused, never cut to another array or row.
    int onArrayOrRow(ArrayList<Token*>* tokens, unsigned char position);

private:
    int arrayNumber;  // -1 until given
    int rowNumber;    // -1 until given
};

#endif
