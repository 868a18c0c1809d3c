// Parser of "-ShowSummary [-f filename] -aN": the system, hardware and storage summary of the
// adapters named, on the screen or into the process-wide file of the "-f" rule.
#ifndef SHOWSUMMARYPARSER_H
#define SHOWSUMMARYPARSER_H

#include "Parser/Parser.h"

class ShowSummaryParser : public LdObjectsParser {
public:
    explicit ShowSummaryParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; "-f" right after it sends the summary to the file.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char toFile;
};

#endif
