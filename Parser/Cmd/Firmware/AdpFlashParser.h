// Parser of "-AdpFwFlash -f filename [-ResetNow] [-NoSigChk] [-NoVerChk] [-FWTYPE n]
// -aN|-a0,1,2|-aALL": flashes the controller firmware image of the file named. The parser keeps
// the file name itself; nothing here looks at the file or judges the firmware type beyond its
// width: the flash processor does that when the command runs.
#ifndef ADPFLASHPARSER_H
#define ADPFLASHPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class AdpFlashParser : public Parser {
public:
    explicit AdpFlashParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word; it also takes the three flag words wherever they stand after it, so
    // that no other rule sees them.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // "-f" and the image file name.
    int onFileOption(ArrayList<Token*>* tokens, unsigned char position);
    // "-FWTYPE" and its number. A number above 255 refuses the command: it is no firmware type
    // and must not become another one.
    int onFwType(ArrayList<Token*>* tokens, unsigned char position);

private:
    string fileName;
    unsigned char fwType;
    unsigned char resetNow;
    unsigned char noSigChk;
    unsigned char noVerChk;
};

#endif
