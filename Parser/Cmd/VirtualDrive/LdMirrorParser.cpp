#include "Parser/Cmd/VirtualDrive/LdMirrorParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdMirrorParser::LdMirrorParser(int commandToken)
    : LdObjectsParser(commandToken), dataSource(DATA_SOURCE_NOT_GIVEN), force(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_LDBREAKMIRROR, "LDBreakMirror"}, {TOKEN_LDVIEWMIRROR, "LDViewMirror"},
        {TOKEN_LDJOINMIRROR, "LDJoinMirror"}, {TOKEN_DATASRC, "DataSrc"}, {TOKEN_LOGICAL_DRIVE, "L"},
        {TOKEN_ALL_LOGICAL_DRIVE, "LAll"}, {TOKEN_ADAPTER, "a"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_FORCE, makeHandler(&LdMirrorParser::onForce));
    addRule(TOKEN_DATASRC, makeHandler(&LdMirrorParser::onDataSrc));
}

LdMirrorParser::~LdMirrorParser()
{
}

Parser* LdMirrorParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdMirrorParser(commandToken);
}

ArrayList<unsigned short>* LdMirrorParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDBREAKMIRROR, TOKEN_LDVIEWMIRROR, TOKEN_LDJOINMIRROR});
}

int LdMirrorParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

int LdMirrorParser::onDataSrc(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (dataSource != DATA_SOURCE_NOT_GIVEN ||
        ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_DATASRC, DATA_SOURCE_NOT_GIVEN - 1, &value) != 0)
        return -1;
    dataSource = static_cast<unsigned char>(value);
    return 0;
}

ArrayList<ParsedObject*>* LdMirrorParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) LdMirrorParsedObject(getCommandToken(), &logicalDrives, dataSource, force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdMirrorParser> registration;
}  // namespace
