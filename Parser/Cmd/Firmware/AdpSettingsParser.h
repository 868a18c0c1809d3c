// Parser of "-AdpSettings Read | Write -f FileName -aN": reads the controller settings into the
// file named, or writes them from it. The file name is the process-wide one of the "-f" rule.
#ifndef ADPSETTINGSPARSER_H
#define ADPSETTINGSPARSER_H

#include "Parser/Parser.h"

class AdpSettingsParser : public Parser {
public:
    static constexpr unsigned char DIRECTION_READ = 0;
    static constexpr unsigned char DIRECTION_WRITE = 1;

    explicit AdpSettingsParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // READ or WRITE.
    int onDirection(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char direction;
};

#endif
