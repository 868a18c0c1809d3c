// Parser of the version command "-v [-aN|-a0,1,2|-aALL]" and of the help commands
// "-help|-h|? [topic] [-aN|-a0,1,2|-aALL]". The version command gives one request per adapter
// named (adapter 0 when none is named); a help command gives one request, for adapter 0, with
// the topic word as typed, "default" when nothing usable follows the help word. No rule failure
// refuses them: an adapter number that names no adapter is reported and the line goes on.
#ifndef APPVERSIONPARSER_H
#define APPVERSIONPARSER_H

#include "Parser/Parser.h"
#include "PavUtil/apstring.h"

class AppVersionParser : public Parser {
public:
    explicit AppVersionParser(int commandToken);

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    // The command word and the topic text after it; an adapter choice after it is left to the
    // adapter rules. -1 when nothing, or anything else, follows the word.
    int onCommandWord(ArrayList<Token*>* tokens, unsigned char position);

    static const char* const DEFAULT_TOPIC;

private:
    string helpTopic;
};

#endif
