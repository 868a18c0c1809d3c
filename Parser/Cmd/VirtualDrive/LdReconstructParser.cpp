#include "Parser/Cmd/VirtualDrive/LdReconstructParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

LdReconstructParser::LdReconstructParser(int commandToken)
    : LdObjectsParser(commandToken), action(NOT_GIVEN), driveAction(NOT_GIVEN), raidLevel(RAID_LEVEL_NOT_GIVEN),
      force(0)
{
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&LdReconstructParser::onDriveList));
    addRule(TOKEN_RAID, makeHandler(&LdReconstructParser::onRaidLevel));
    for (unsigned short id : {TOKEN_ADD, TOKEN_RMV})
        addRule(id, makeHandler(&LdReconstructParser::onDriveAction));
    for (unsigned short id : {TOKEN_START, TOKEN_SHOWPROG, TOKEN_PROGDSPLY})
        addRule(id, makeHandler(&LdReconstructParser::onAction));
    addRule(TOKEN_PHYSDRV, makeHandler(&LdReconstructParser::onPhysDrv));
    addRule(TOKEN_FORCE, makeHandler(&LdReconstructParser::onForce));
}

LdReconstructParser::~LdReconstructParser()
{
}

Parser* LdReconstructParser::create(unsigned short commandToken)
{
    return new (noThrowNew) LdReconstructParser(commandToken);
}

ArrayList<unsigned short>* LdReconstructParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_LDRECON});
}

int LdReconstructParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeDriveList(tokens, position, &driveList, true);
}

int LdReconstructParser::onRaidLevel(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (raidLevel != RAID_LEVEL_NOT_GIVEN ||
        ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_RAID, RAID_LEVEL_NOT_GIVEN - 1, &value) != 0)
        return -1;
    raidLevel = static_cast<unsigned char>(value);
    return 0;
}

int LdReconstructParser::onDriveAction(ArrayList<Token*>* tokens, unsigned char position)
{
    if (driveAction != NOT_GIVEN)
        return -1;
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_ADD, TOKEN_RMV});
    if (word == nullptr)
        return -1;
    driveAction = word->getId();
    return 0;
}

int LdReconstructParser::onAction(ArrayList<Token*>* tokens, unsigned char position)
{
    if (action != NOT_GIVEN)
        return -1;
    Token* word = ParserUtil::takeWord(tokens, position, {TOKEN_START, TOKEN_SHOWPROG, TOKEN_PROGDSPLY});
    if (word == nullptr)
        return -1;
    action = word->getId();
    return 0;
}

int LdReconstructParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int LdReconstructParser::onForce(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_FORCE, &force);
}

ArrayList<ParsedObject*>* LdReconstructParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptLogicalDriveTokens(tokens) != 0)
        return nullptr;
    ArrayList<EnclSlotId*>* drives = driveList.get();
    if (driveAction != NOT_GIVEN && (drives == nullptr || drives->count() == 0))
        return nullptr;
    unsigned char ld = logicalDrives.get(0);
    return makeRequestsPerAdapter([this, drives, ld](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew)
            LdReconstructParsedObject(TOKEN_LDRECON, drives, action, driveAction, ld, raidLevel, force, adapter);
    });
}

namespace {
const ParserFactoryRegistration<LdReconstructParser> registration;
}  // namespace
