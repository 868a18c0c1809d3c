// Parser of "-LDBreakMirror", "-LDViewMirror" and "-LDJoinMirror -DataSrc N [-force]": breaks,
// shows or joins the mirror associated with the virtual drives given. Builds one
// LdMirrorParsedObject per adapter carrying the command word given.
#ifndef LDMIRRORPARSER_H
#define LDMIRRORPARSER_H

#include "Parser/Parser.h"

class LdMirrorParser : public LdObjectsParser {
public:
    // Data source while "-DataSrc" is not given.
    static constexpr unsigned char DATA_SOURCE_NOT_GIVEN = 255;

    explicit LdMirrorParser(int commandToken);
    ~LdMirrorParser() override;

    static Parser* create(unsigned short commandToken);
    static ArrayList<unsigned short>* commandTokens();

    // A line without a logical drive is refused.
    ArrayList<ParsedObject*>* parse(ArrayList<Token*>* tokens) override;

    int onForce(ArrayList<Token*>* tokens, unsigned char position);
    // "-DataSrc N": the direction of the copy when joining. A second one refuses the line, and
    // so does a number that would pose as "not given".
    int onDataSrc(ArrayList<Token*>* tokens, unsigned char position);

private:
    unsigned char dataSource;
    unsigned char force;
};

#endif
