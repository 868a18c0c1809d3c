#include "Parser/Cmd/Config/CfgFreeAllDrvParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

CfgFreeAllDrvParser::CfgFreeAllDrvParser(int commandToken)
    : CfgParser(commandToken),
      enclAffinity(0),
      dedicated(0),
      revertible(1),
      sataOnly(0),
      enablePi(0),
      spanCount(1),
      hotSpareCount(0)
{
    addSyntaxWord(TOKEN_ADPCFGALLFREEDRV, "FREEALLDRV");
    addRule(TOKEN_ADPCFGALLFREEDRV, makeHandler(&CfgFreeAllDrvParser::onCommandWord));
    addRule(TOKEN_SPAN_COUNT, makeHandler(&CfgFreeAllDrvParser::onSpanCount));
    addRule(TOKEN_SATAONLY, makeHandler(&CfgFreeAllDrvParser::onSataOnly));
    addRule(TOKEN_HSP_COUNT, makeHandler(&CfgFreeAllDrvParser::onHspCount));
    addRule(TOKEN_HSP_TYPE, makeHandler(&CfgFreeAllDrvParser::onHspType));
    addRule(TOKEN_ENCL_AFFINITY, makeHandler(&CfgFreeAllDrvParser::onEnclAffinity));
    addRule(TOKEN_NONREVERTIBLE, makeHandler(&CfgFreeAllDrvParser::onNonRevertible));
    addRule(TOKEN_DEDICATED, makeHandler(&CfgFreeAllDrvParser::onDedicated));
    addRule(TOKEN_ENBLPI, makeHandler(&CfgFreeAllDrvParser::onEnablePi));
}

CfgFreeAllDrvParser::~CfgFreeAllDrvParser()
{
}

Parser* CfgFreeAllDrvParser::create(unsigned short commandToken)
{
    return new (noThrowNew) CfgFreeAllDrvParser(commandToken);
}

ArrayList<unsigned short>* CfgFreeAllDrvParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_ADPCFGALLFREEDRV});
}

int CfgFreeAllDrvParser::takeCount(ArrayList<Token*>* tokens, unsigned char position, unsigned short wordId,
                                   unsigned char* count)
{
    int value = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, wordId, 0xFF, &value) != 0)
        return -1;
    *count = static_cast<unsigned char>(value);
    return 0;
}

int CfgFreeAllDrvParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_ADPCFGALLFREEDRV});
}

int CfgFreeAllDrvParser::onSpanCount(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeCount(tokens, position, TOKEN_SPAN_COUNT, &spanCount);
}

int CfgFreeAllDrvParser::onSataOnly(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_SATAONLY, &sataOnly);
}

int CfgFreeAllDrvParser::onHspCount(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeCount(tokens, position, TOKEN_HSP_COUNT, &hotSpareCount);
}

int CfgFreeAllDrvParser::onHspType(ArrayList<Token*>* tokens, unsigned char position)
{
    // The word only introduces the hot-spare kinds that follow it.
    return ParserUtil::acceptWord(tokens, position, {TOKEN_HSP_TYPE});
}

int CfgFreeAllDrvParser::onEnclAffinity(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENCL_AFFINITY, &enclAffinity);
}

int CfgFreeAllDrvParser::onNonRevertible(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_NONREVERTIBLE, &revertible, 0);
}

int CfgFreeAllDrvParser::onDedicated(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_DEDICATED, &dedicated);
}

int CfgFreeAllDrvParser::onEnablePi(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::takeFlagWord(tokens, position, TOKEN_ENBLPI, &enablePi);
}

ArrayList<ParsedObject*>* CfgFreeAllDrvParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    // A spanned RAID 1, 5 or 6 is RAID 10, 50 or 60; RAID 0 stays 0.
    if (spanCount > 1 && raidLevel <= 9)
        raidLevel = static_cast<unsigned char>(raidLevel * 10);
    return makeRequestsPerAdapter([this](unsigned char adapter) -> ParsedObject* {
        return new (noThrowNew) CfgAutoParsedObject(
            getCommandToken(), raidLevel, readPolicy, writePolicy, ioPolicy, badBbuPolicy, stripSize, sataOnly,
            spanCount, hotSpareCount, dedicated, enclAffinity, revertible, encryption, powerSavePolicy, enablePi,
            cacheFlag, adapter);
    });
}

namespace {
const ParserFactoryRegistration<CfgFreeAllDrvParser> registration;
}  // namespace
