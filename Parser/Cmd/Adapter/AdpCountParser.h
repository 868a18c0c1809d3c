// Parser of "-AdpCount": the number of controllers. The command addresses no adapter; the
// dispatcher answers it itself.
#ifndef ADPCOUNTPARSER_H
#define ADPCOUNTPARSER_H

#include "Parser/Parser.h"

class AdpCountParser : public Parser {
public:
    explicit AdpCountParser(int commandToken);
    ~AdpCountParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // Exactly one request, for no adapter, whatever adapters the line names.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
};

#endif
