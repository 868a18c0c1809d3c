// Parser of "-CfgSave -f filename -aN" and "-CfgRestore -f filename -aN": writes an adapter's
// configuration to a file, or restores it from one. Builds one CfgSaveRestorePo per adapter
// named, carrying the command word given and the file name as typed.
#ifndef CFGSAVERESTOREPARSER_H
#define CFGSAVERESTOREPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class CfgSaveRestoreParser : public Parser {
public:
    explicit CfgSaveRestoreParser(int commandToken);
    ~CfgSaveRestoreParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);
    // "-f" and the name after it; the name stays with this parser.
    int onFileOption(ArrayList<Token*>* tokens, unsigned char position);

private:
    string fileName;
};

#endif
