#include "Parser/Cmd/Cache/CfgSSCDParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CfgSSCDParser::CfgSSCDParser(int commandToken)
    : Parser(commandToken),
      enablePi(0),
      raidLevel(0),
      writePolicy(1),
      ldAction(LD_ACTION_NONE),
      ldList(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_CFGTIDEWELLADD, "CFGTIDEWELLADD"}, {TOKEN_TIDEWELL, "TIDEWELL"}, {TOKEN_PHYSDRV, "PhysDrv"},
        {TOKEN_NAME, "Name"}, {TOKEN_ALL_ADAPTER, "aAll"}, {TOKEN_ADAPTER, "a"}, {TOKEN_RAID, "r"},
        {TOKEN_WT, "WT"}, {TOKEN_WB, "WB"}, {TOKEN_FORCED_WB, "ForcedWB"}, {TOKEN_ASSIGN, "Assign"},
        {TOKEN_REMOVE, "Remove"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_CFGTIDEWELLADD, makeHandler(&CfgSSCDParser::onCfgTidewellAdd));
    addRule(TOKEN_TIDEWELL, makeHandler(&CfgSSCDParser::onTidewell));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&CfgSSCDParser::onDriveList));
    addRule(TOKEN_PHYSDRV, makeHandler(&CfgSSCDParser::onPhysDrv));
    addRule(TOKEN_ENBLPI, makeHandler(&CfgSSCDParser::onEnablePi));
    addRule(TOKEN_NAME, makeHandler(&CfgSSCDParser::onName));
    addRule(TOKEN_RAID, makeHandler(&CfgSSCDParser::onRaidLevel));
    for (unsigned short id : {TOKEN_WT, TOKEN_WB, TOKEN_FORCED_WB})
        addRule(id, makeHandler(&CfgSSCDParser::onWritePolicy));
    addRule(TOKEN_ASSIGN, makeHandler(&CfgSSCDParser::onAssignRemove));
    addRule(TOKEN_REMOVE, makeHandler(&CfgSSCDParser::onAssignRemove));
}

CfgSSCDParser::~CfgSSCDParser()
{
}

Parser* CfgSSCDParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgSSCDParser(commandToken);
}

ArrayList<unsigned short>* CfgSSCDParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_CFGTIDEWELLADD, TOKEN_TIDEWELL});
}

int CfgSSCDParser::onCfgTidewellAdd(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_CFGTIDEWELLADD});
}

int CfgSSCDParser::onTidewell(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_TIDEWELL});
}

int CfgSSCDParser::onPhysDrv(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PHYSDRV});
}

int CfgSSCDParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    // A malformed item leaves the request without a drive list; the line is not refused here.
    return ParserUtil::takeDriveList(tokens, position, &driveList, false);
}

int CfgSSCDParser::onEnablePi(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENBLPI, &enablePi);
}

int CfgSSCDParser::onName(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_NAME}) == nullptr)
        return -1;
    Token* text = ParserUtil::tokenAt(tokens, position + 1);
    if (text == nullptr)
        return -1;
    if (text->getId() != TOKEN_ALPHANUM_CONSTANT)
        return 0;
    text->setConsumed(1);
    return ParserUtil::getText(text, &name) ? 0 : -1;
}

int CfgSSCDParser::onRaidLevel(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_RAID, 0xFF, &value) != 0)
        return -1;
    raidLevel = static_cast<unsigned char>(value);
    return 0;
}

int CfgSSCDParser::onWritePolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::takeWord(tokens, position, {TOKEN_WT, TOKEN_WB, TOKEN_FORCED_WB});
    if (token == nullptr)
        return -1;
    writePolicy = token->getId() == TOKEN_WT ? 1 : token->getId() == TOKEN_WB ? 0 : 3;
    return 0;
}

int CfgSSCDParser::onAssignRemove(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || (token->getId() != TOKEN_ASSIGN && token->getId() != TOKEN_REMOVE))
        return -1;
    ldAction = token->getId() == TOKEN_ASSIGN ? LD_ACTION_ASSIGN : LD_ACTION_REMOVE;

    Token* option = ParserUtil::tokenAt(tokens, position + 1);
    if (option == nullptr)
        return -1;
    if (option->getId() == TOKEN_ALL_LOGICAL_DRIVE) {
        option->setConsumed(1);
        return ldList.add(ALL_LDS);
    }
    if (option->getId() != TOKEN_LOGICAL_DRIVE)
        return 0;
    return ParserUtil::takeLogicalDriveOption(tokens, position + 1, &ldList);
}

ArrayList<ParsedObject*>* CfgSSCDParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) CfgSSCDAddParsedObject(getCommandToken(), driveList.get(), name.c_str(), enablePi,
                                                        raidLevel, writePolicy, ldAction, &ldList, adapter);
    });
}

namespace {
const ParserFactoryRegistration<CfgSSCDParser> registration;
}  // namespace
