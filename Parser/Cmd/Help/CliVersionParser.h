// Parser of "-Version -Cli|-Ctrl|-Driver|-Pd -aN|-a0,1,2|-aALL": the versions of this tool, the
// controllers, the drivers or the drives. At most one selector word follows the command word.
#ifndef CLIVERSIONPARSER_H
#define CLIVERSIONPARSER_H

#include "Parser/Parser.h"

class CliVersionParser : public Parser {
public:
    // Version kinds of the request.
    static constexpr unsigned char KIND_ALL = 0;
    static constexpr unsigned char KIND_CONTROLLER = 1;
    static constexpr unsigned char KIND_TOOL = 2;
    static constexpr unsigned char KIND_UEFI = 3;
    static constexpr unsigned char KIND_DRIVER = 4;
    static constexpr unsigned char KIND_DRIVES = 5;

    explicit CliVersionParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // One selector word: CTRL, CLI, UEFI, DRIVER or PD.
    int onVersionKind(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char versionKind;
};

#endif
