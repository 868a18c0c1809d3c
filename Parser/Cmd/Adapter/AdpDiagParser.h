// Parser of "-AdpDiag [seconds]": runs the controller diagnostic on the adapters named, for
// the number of seconds given (20 when none is given).
#ifndef ADPDIAGPARSER_H
#define ADPDIAGPARSER_H

#include "Parser/Parser.h"

class AdpDiagParser : public Parser {
public:
    // Seconds the diagnostic runs when the line gives none.
    static constexpr int DEFAULT_DIAGNOSTIC_VALUE = 20;

    explicit AdpDiagParser(int commandToken);
    ~AdpDiagParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word and the number that may follow it.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

    int getDiagnosticValue() const { return diagnosticValue; }

private:
    int diagnosticValue;
};

#endif
