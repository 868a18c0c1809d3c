#include "Parser/Cmd/Drive/SecureEraseParser.h"

#include "Parser/ParserFactory.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

#include <cstdio>

SecureEraseParser::SecureEraseParser(int commandToken)
    : LdObjectsParser(commandToken), deleteVd(0), action(0), pattern1(0), pattern2(0), eraseType(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_SECUREERASE, "SecureErase"}, {TOKEN_START, "Start"}, {TOKEN_STOP, "Stop"},
        {TOKEN_SHOWPROG, "ShowProg"}, {TOKEN_PROGDSPLY, "ProgDsply"}, {TOKEN_SIMPLE, "Simple"},
        {TOKEN_NORMAL, "Normal"}, {TOKEN_THOROUGH, "Thorough"}, {TOKEN_ERASEPATTERN, "ErasePattern"},
        {TOKEN_DELETEVD, "DeleteVd"}, {TOKEN_PHYSDRV, "PhysDrv"}, {TOKEN_LOGICAL_DRIVE, "L"},
        {TOKEN_ALL_LOGICAL_DRIVE, "LAll"}, {TOKEN_ADAPTER, "a"}, {TOKEN_ALL_ADAPTER, "aAll"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_SECUREERASE, makeHandler(&SecureEraseParser::onCommandWord));
    for (unsigned short id : {TOKEN_START, TOKEN_STOP, TOKEN_SHOWPROG, TOKEN_PROGDSPLY})
        addRule(id, makeHandler(&SecureEraseParser::onAction));
    addRule(TOKEN_DELETEVD, makeHandler(&SecureEraseParser::onDeleteVd));
    addRule(TOKEN_ERASEPATTERN, makeHandler(&SecureEraseParser::onErasePattern));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&SecureEraseParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&SecureEraseParser::onPhysDrv));
}

SecureEraseParser::~SecureEraseParser()
{
}

Parser* SecureEraseParser::create(unsigned short commandToken)
{
    return new (noThrowNew) SecureEraseParser(commandToken);
}

ArrayList<unsigned short>* SecureEraseParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_SECUREERASE});
}

int SecureEraseParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_SECUREERASE});
}

int SecureEraseParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_START, TOKEN_STOP, TOKEN_SHOWPROG, TOKEN_PROGDSPLY});
    if (word == nullptr)
        return -1;
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    if (word->getId() == TOKEN_START) {
        unsigned short type = next->getId();
        if (type == TOKEN_THOROUGH || type == TOKEN_NORMAL || type == TOKEN_SIMPLE)
            eraseType = static_cast<short>(type);
        if (action != 0)
            return -1;
        // The erase-type word belongs to START, whatever it is.
        next->setConsumed(1);
    } else if (action != 0) {
        return -1;
    }
    action = static_cast<short>(word->getId());
    return 0;
}

int SecureEraseParser::onDeleteVd(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_DELETEVD, &deleteVd);
}

int SecureEraseParser::onErasePattern(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_ERASEPATTERN}) == nullptr)
        return -1;
    Token* next = ParserUtil::tokenAt(tokens, position + 1);
    if (next == nullptr)
        return -1;
    if (next->getId() != TOKEN_ALPHANUM_CONSTANT)
        return 0;
    next->setConsumed(1);
    string text;
    if (!ParserUtil::getText(next, &text))
        return -1;

    // These two texts go to the screen only: neither paged nor copied to the console log.
    if (text.length() != 8) {
        std::printf("Invalid pattern\n");
        return -1;
    }
    unsigned char pattern = 0;
    for (int i = 0; i < 8; ++i) {
        char c = text.c_str()[i];
        if (c != '0' && c != '1') {
            std::printf("Invalid pattern %s\n", text.c_str());
            return -1;
        }
        if (c == '1')
            pattern = static_cast<unsigned char>(pattern | (0x80 >> i));
    }
    // A first pattern of all zeros reads as "none yet", so a second pattern takes its place.
    if (pattern1 == 0)
        pattern1 = pattern;
    else
        pattern2 = pattern;
    return 0;
}

int SecureEraseParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, false);
}

int SecureEraseParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

ArrayList<ParsedObject*>* SecureEraseParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    if (driveList.get() == nullptr && logicalDrives.count() == 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            SecureErasePo(getCommandToken(), &logicalDrives, static_cast<unsigned short>(action), driveList.get(),
                          static_cast<unsigned short>(eraseType), pattern1, pattern2, deleteVd, adapter);
    });
}

namespace {
const ParserFactoryRegistration<SecureEraseParser> registration;
}  // namespace
