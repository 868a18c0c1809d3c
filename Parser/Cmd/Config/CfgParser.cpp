#include "Parser/Cmd/Config/CfgParser.h"

#include "Parser/CfgParsedObjects.h"
#include "Parser/ParsedObject.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"
#include "PavUtil/SizeFormat.h"

CfgParser::CfgParser(int commandToken)
    : Parser(commandToken),
      raidLevel(NOT_GIVEN),
      readPolicy(NOT_GIVEN),
      writePolicy(NOT_GIVEN),
      ioPolicy(NOT_GIVEN),
      badBbuPolicy(NOT_GIVEN),
      stripSize(STRIP_SIZE_NOT_GIVEN),
      afterLd(NOT_GIVEN),
      encryption(0),
      powerSavePolicy(POWER_SAVE_NOT_GIVEN),
      sizeList(4),
      driveArrays(nullptr),
      hotSpares(4),
      hotSparePending(0),
      cacheFlag(0)
{
    static const struct {
        unsigned short id;
        const char* word;
    } syntaxWords[] = {
        {TOKEN_ALL_ADAPTER, "aAll"}, {TOKEN_ADAPTER, "a"}, {TOKEN_AFTERLD, "afterLd"}, {TOKEN_WB, "WB"},
        {TOKEN_WT, "WT"}, {TOKEN_CACHE_BADBBU, "CACHEDBADBBU"}, {TOKEN_CACHE_BADBBU_NO, "NOCACHEDBADBBU"},
        {TOKEN_RA, "RA"}, {TOKEN_RAN, "NORA"}, {TOKEN_CIO, "CACHED"}, {TOKEN_DIO, "DIRECT"},
        {TOKEN_STRPSZ, "STRPSZ"}, {TOKEN_RAID, "R"}, {TOKEN_SIZE, "SZ"}, {TOKEN_FDE, "FDE"},
        {TOKEN_CACHE, "Cache"}, {TOKEN_CTRLBASED, "CONTROLLER"}, {TOKEN_DEFAULT, "DEFAULT"},
        {TOKEN_AUTO, "AUTOMATIC"}, {TOKEN_MAX, "MAXIMUM"}, {TOKEN_DONOTCACHE, "MAXIMUMWITHOUTCACHING"},
        {TOKEN_NONE, "NONE"},
    };
    for (const auto& w : syntaxWords)
        addSyntaxWord(w.id, w.word);

    addRule(TOKEN_AFTERLD, makeHandler(&CfgParser::onAfterLd));
    addRule(TOKEN_WT, makeHandler(&CfgParser::onWritePolicy));
    addRule(TOKEN_WB, makeHandler(&CfgParser::onWritePolicy));
    addRule(TOKEN_RA, makeHandler(&CfgParser::onReadPolicy));
    addRule(TOKEN_RAN, makeHandler(&CfgParser::onReadPolicy));
    addRule(TOKEN_CIO, makeHandler(&CfgParser::onIoPolicy));
    addRule(TOKEN_DIO, makeHandler(&CfgParser::onIoPolicy));
    addRule(TOKEN_CACHE_BADBBU, makeHandler(&CfgParser::onBadBbuPolicy));
    addRule(TOKEN_CACHE_BADBBU_NO, makeHandler(&CfgParser::onBadBbuPolicy));
    addRule(TOKEN_STRPSZ, makeHandler(&CfgParser::onStripSize));
    addRule(TOKEN_RAID, makeHandler(&CfgParser::onRaidLevel));
    for (unsigned short id : {TOKEN_SIZE, TOKEN_SZ_MB, TOKEN_SZ_GB, TOKEN_SZ_TB})
        addRule(id, makeHandler(&CfgParser::onSize));
    addRule(TOKEN_CHANNEL_TARGET_LIST, makeHandler(&CfgParser::onDriveList));
    for (unsigned short id : {TOKEN_FDE, TOKEN_CTRLBASED, TOKEN_SECURE})
        addRule(id, makeHandler(&CfgParser::onEncryption));
    for (unsigned short id : {TOKEN_DEFAULT, TOKEN_AUTO, TOKEN_MAX, TOKEN_DONOTCACHE, TOKEN_NONE})
        addRule(id, makeHandler(&CfgParser::onPowerSavePolicy));
    addRule(TOKEN_CACHE, makeHandler(&CfgParser::onCacheFlag));
    // ADRA has no rule: the default rule reports it and the read policy stays not given.
}

CfgParser::~CfgParser()
{
    for (unsigned char i = 0; i < sizeList.count(); ++i)
        delete sizeList.get(i);
    if (driveArrays != nullptr) {
        for (unsigned char i = 0; i < driveArrays->count(); ++i)
            PdIdListObject::deleteList(driveArrays->get(i));
        delete driveArrays;
        driveArrays = nullptr;
    }
    for (unsigned char i = 0; i < hotSpares.count(); ++i)
        delete hotSpares.get(i);
}

int CfgParser::takeChoice(ArrayList<Token*>* tokens, unsigned char position,
                          std::initializer_list<unsigned short> ids, std::initializer_list<unsigned char> values,
                          unsigned char* field)
{
    Token* token = ParserUtil::takeWord(tokens, position, ids);
    if (token == nullptr)
        return -1;
    const unsigned char* value = values.begin();
    for (unsigned short id : ids) {
        if (id == token->getId())
            *field = *value;
        ++value;
    }
    return 0;
}

int CfgParser::onAfterLd(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_AFTERLD, 0xFF, &value) != 0)
        return -1;
    afterLd = static_cast<unsigned char>(value);
    return 0;
}

int CfgParser::onWritePolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_WT, TOKEN_WB}, {1, 0}, &writePolicy);
}

int CfgParser::onReadPolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_RA, TOKEN_RAN}, {0, 2}, &readPolicy);
}

int CfgParser::onIoPolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_CIO, TOKEN_DIO}, {0, 1}, &ioPolicy);
}

int CfgParser::onBadBbuPolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_CACHE_BADBBU, TOKEN_CACHE_BADBBU_NO}, {1, 0}, &badBbuPolicy);
}

int CfgParser::onEncryption(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_FDE, TOKEN_CTRLBASED, TOKEN_SECURE}, {1, 2, 3}, &encryption);
}

int CfgParser::onPowerSavePolicy(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_DEFAULT, TOKEN_AUTO, TOKEN_MAX, TOKEN_DONOTCACHE, TOKEN_NONE},
                      {0, 1, 2, 6, 254}, &powerSavePolicy);
}

int CfgParser::onCacheFlag(ArrayList<Token*>* tokens, unsigned char position)
{
    return takeChoice(tokens, position, {TOKEN_CACHE}, {1}, &cacheFlag);
}

int CfgParser::onStripSize(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_STRPSZ, 0xFFFF, &value) != 0)
        return -1;
    stripSize = static_cast<unsigned short>(value);
    return 0;
}

int CfgParser::onRaidLevel(ArrayList<Token*>* tokens, unsigned char position)
{
    int value = 0;
    if (ParserUtil::takeNumberAfterWord(tokens, position, TOKEN_RAID, 0xFF, &value) != 0)
        return -1;
    raidLevel = static_cast<unsigned char>(value);
    return 0;
}

int CfgParser::readSize(ArrayList<Token*>* tokens, unsigned char position, unsigned long long* blocks)
{
    Token* number = ParserUtil::tokenAt(tokens, position + 1);
    if (number == nullptr)
        return -1;
    unsigned long long whole = 0;
    unsigned int thousandths = 0;
    unsigned char fractionUsed = 0;
    int value = 0;
    if (number->getId() == TOKEN_NUMBER) {
        if (!ParserUtil::getNumber(number, &value) || value < 0)
            return -1;
        whole = static_cast<unsigned long long>(value);
    } else if (number->getId() == TOKEN_DEC_NUMBER) {
        string text;
        if (!ParserUtil::getText(number, &text) || ParserUtil::readSizeText(text.c_str(), &whole, &thousandths) != 0)
            return -1;
        fractionUsed = 1;
    } else {
        return -1;
    }
    number->setConsumed(1);

    // The unit word after the number is optional; any other word stays for its own rule.
    Token* unitWord = ParserUtil::tokenAt(tokens, position + 2);
    if (unitWord == nullptr)
        return -1;
    unsigned short unit = SIZE_UNIT_MB;
    if (ParserUtil::takeWord(tokens, position + 2, {TOKEN_SZ_MB}) != nullptr)
        unit = SIZE_UNIT_MB;
    else if (ParserUtil::takeWord(tokens, position + 2, {TOKEN_SZ_GB}) != nullptr)
        unit = SIZE_UNIT_GB;
    else if (ParserUtil::takeWord(tokens, position + 2, {TOKEN_SZ_TB}) != nullptr)
        unit = SIZE_UNIT_TB;
    return sizeToBlocks(unit, whole, thousandths, fractionUsed, blocks);
}

int CfgParser::onSize(ArrayList<Token*>* tokens, unsigned char position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_SIZE, TOKEN_SZ_MB, TOKEN_SZ_GB, TOKEN_SZ_TB}) == nullptr)
        return -1;
    unsigned long long blocks = 0;
    if (readSize(tokens, position, &blocks) != 0)
        return -1;
    unsigned long long* size = new (noThrowNew) unsigned long long(blocks);
    if (size == nullptr || sizeList.add(size) != 0) {
        delete size;
        return -1;
    }
    return 0;
}

int CfgParser::onDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr || token->getId() != TOKEN_CHANNEL_TARGET_LIST)
        return -1;
    if (driveArrays == nullptr) {
        driveArrays = new (noThrowNew) ArrayList<ArrayList<PdIdListObject*>*>(4);
        if (driveArrays == nullptr)
            return -1;
    }
    string text;
    if (!ParserUtil::getText(token, &text))
        return -1;

    int result = 0;
    if (hotSparePending) {
        result = ParserUtil::appendDriveEntries(text.c_str(), &hotSpares);
        if (result == 0)
            hotSparePending = 0;
    } else {
        ArrayList<PdIdListObject*>* driveArray = new (noThrowNew) ArrayList<PdIdListObject*>(4);
        result = driveArray == nullptr ? -1 : ParserUtil::appendDriveEntries(text.c_str(), driveArray);
        if (result == 0)
            result = driveArrays->add(driveArray);
        if (result != 0)
            PdIdListObject::deleteList(driveArray);
    }
    if (result != 0)
        return -1;
    token->setConsumed(1);
    return 0;
}

ArrayList<ParsedObject*>* CfgParser::makeAddRequests(unsigned short token, unsigned char force, unsigned char enablePi)
{
    return makeRequestsPerAdapter([this, token, force, enablePi](unsigned char adapter) -> ParsedObject* {
        CfgAddParsedObject* request = new (noThrowNew) CfgAddParsedObject(
            token, raidLevel, force, enablePi, readPolicy, writePolicy, ioPolicy, badBbuPolicy, stripSize, &sizeList,
            driveArrays, &hotSpares, encryption, powerSavePolicy, cacheFlag, afterLd, adapter);
        // A request whose copies could not be made would configure other drives than typed.
        if (request != nullptr && (request->getSizeList() == nullptr || request->getHotSpareList() == nullptr ||
                                   (driveArrays != nullptr && request->getArrayList() == nullptr))) {
            delete request;
            return nullptr;
        }
        return request;
    });
}
