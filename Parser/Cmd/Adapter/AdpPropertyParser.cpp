#include "Parser/Cmd/Adapter/AdpPropertyParser.h"

#include "Parser/AdpParsedObjects.h"
#include "Parser/ParserFactory.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

#include <climits>

namespace {

// What "-AdpSetProp" takes after a property word.
enum class SetValue : unsigned char {
    NUMBER,          // a number from 0 to the word's limit
    PERCENT,         // any number, then '%' (taken by its own rule)
    POLICY,          // a power-saving policy word
    INTERVAL_TIME,   // INTERVAL n TIME n
    PERF_MODE,       // 0 or 1, then MAXFLUSHLINES n and NUMIOSTOORDER n or MAXPDLATENCYMS n
    NONE,            // the word is shown only
};

struct PropertyWord {
    unsigned short token;  // also the property code
    SetValue setValue;
    unsigned int limit;    // largest number of NUMBER and PERF_MODE
};

const PropertyWord PROPERTY_WORDS[] = {
    {TOKEN_ENBL_JBOD, SetValue::NUMBER, 1},
    {TOKEN_DSBL_CACHEBYPASS, SetValue::NUMBER, 1},
    {TOKEN_REBUILDRATE, SetValue::NUMBER, 100},
    {TOKEN_PATROLREADRATE, SetValue::NUMBER, 100},
    {TOKEN_BGIRATE, SetValue::NUMBER, 100},
    {TOKEN_CCRATE, SetValue::NUMBER, 100},
    {TOKEN_RECONRATE, SetValue::NUMBER, 100},
    {TOKEN_SPINUPDRVCNT, SetValue::NUMBER, 255},
    {TOKEN_SPINUPDELAY, SetValue::NUMBER, 255},
    {TOKEN_COERCIONMODE, SetValue::NUMBER, 2},
    {TOKEN_DISKWRITECACHEENABLE, SetValue::NUMBER, 65535},
    {TOKEN_PREDFAILPOLLINT, SetValue::NUMBER, 65535},
    {TOKEN_CLUSTERENABLE, SetValue::NUMBER, 1},
    {TOKEN_CACHEFLUSH, SetValue::NUMBER, 255},
    {TOKEN_BATWARNDISABLE, SetValue::NUMBER, 1},
    {TOKEN_ECCBUCKETSIZE, SetValue::NUMBER, 255},
    {TOKEN_ECCBUCKETLEAKRATE, SetValue::NUMBER, 65535},
    {TOKEN_ABORTCCONERROR, SetValue::NUMBER, 1},
    {TOKEN_AUTODTBACKPLANEDISABLE, SetValue::NUMBER, 3},
    {TOKEN_DISABLEONLINECTRLRESET, SetValue::NUMBER, 1},
    {TOKEN_ALLOWBOOTWITHPINNEDCACHE, SetValue::NUMBER, 1},
    {TOKEN_RSTRHOTSPAREONINSERT, SetValue::NUMBER, 1},
    {TOKEN_SSD_SMART_CPYBKENABLE, SetValue::NUMBER, 1},
    {TOKEN_ENBLSPINDNUNCFGDRV, SetValue::NUMBER, 1},
    {TOKEN_MAINT_PD_FAIL_HIST_ENBL, SetValue::NUMBER, 1},
    {TOKEN_PRCORRECTUNCFGDAREAS, SetValue::NUMBER, 1},
    {TOKEN_DSBLSPINDNHOTSPARE, SetValue::NUMBER, 1},
    {TOKEN_SPINDOWNTIME, SetValue::NUMBER, 65535},
    {TOKEN_EXPOSE_ENCL_DEV_ENBL, SetValue::NUMBER, 1},
    {TOKEN_DEFAULT_VIEW_SPACE, SetValue::PERCENT, 0},
    {TOKEN_AUTO_SNAPSHOT_SPACE, SetValue::PERCENT, 0},
    {TOKEN_DEFAULT_SNAPSHOT_SPACE, SetValue::PERCENT, 0},
    {TOKEN_USE_DISK_ACTIVITY_FOR_LOCATE, SetValue::NUMBER, 1},
    {TOKEN_CPYBKENABLE, SetValue::NUMBER, 1},
    {TOKEN_SMART_CPYBKENABLE, SetValue::NUMBER, 1},
    {TOKEN_LOADBALANCE, SetValue::NUMBER, 1},
    {TOKEN_USEFDEONLYENCRYPT, SetValue::NUMBER, 1},
    {TOKEN_DEFAULTLDPSPOLICY, SetValue::POLICY, 0},
    {TOKEN_DISABLELDPS, SetValue::INTERVAL_TIME, 0},
    {TOKEN_SPINUPENCDRVCNT, SetValue::NUMBER, 65535},
    {TOKEN_SPINUPENCDELAY, SetValue::NUMBER, 65535},
    {TOKEN_DISABLELDPSINTERVAL, SetValue::NONE, 0},
    {TOKEN_DISABLELDPSTIME, SetValue::NONE, 0},
    {TOKEN_DPMENABLE, SetValue::NUMBER, 1},
    {TOKEN_ENBL_E_GHSP, SetValue::NUMBER, 65535},
    {TOKEN_ENBL_E_UG, SetValue::NUMBER, 65535},
    {TOKEN_ENBL_E_SMARTER, SetValue::NUMBER, 65535},
    {TOKEN_PREVENTPIIMPORT, SetValue::NUMBER, 1},
    {TOKEN_ENBLPI, SetValue::NUMBER, 1},
    {TOKEN_PERFMODE, SetValue::PERF_MODE, 1},
    {TOKEN_PERFMODEVALUES, SetValue::NONE, 0},
    {TOKEN_SUPPORTSSDPATROLREAD, SetValue::NUMBER, 1},
    {TOKEN_FORCESGPIO, SetValue::NUMBER, 1},
};

// Words that give a fixed code and value, whichever command word they follow.
struct FixedPropertyWord {
    unsigned short token;
    unsigned short property;
    int value;
};

const FixedPropertyWord FIXED_PROPERTY_WORDS[] = {
    {TOKEN_ECCBUCKETCOUNT, TOKEN_ECCBUCKETCOUNT, 0},
    {TOKEN_NCQDSPLY, AdpPropertyParser::PROPERTY_NCQ, 2},
    {TOKEN_NCQENBL, AdpPropertyParser::PROPERTY_NCQ, 0},
    {TOKEN_NCQDSBL, AdpPropertyParser::PROPERTY_NCQ, 1},
    {TOKEN_ADPALARMENBL, AdpPropertyParser::PROPERTY_ALARM, 1},
    {TOKEN_ADPALARMDSBL, AdpPropertyParser::PROPERTY_ALARM, 0},
    {TOKEN_ADPALARMSILENCE, AdpPropertyParser::PROPERTY_ALARM, 2},
    {TOKEN_ADPALARMDSPLY, AdpPropertyParser::PROPERTY_ALARM, 3},
    {TOKEN_AUTOENHANCEDIMPORTENBL, AdpPropertyParser::PROPERTY_AUTO_ENHANCED_IMPORT, 1},
    {TOKEN_AUTOENHANCEDIMPORTDSBL, AdpPropertyParser::PROPERTY_AUTO_ENHANCED_IMPORT, 0},
    {TOKEN_AUTOENHANCEDIMPORTDSPLY, AdpPropertyParser::PROPERTY_AUTO_ENHANCED_IMPORT, 2},
    {TOKEN_WBSUPPORT, TOKEN_WBSUPPORT, 0},
};

// The power-saving policy words of DEFAULTLDPSPOLICY and their values.
struct PolicyWord {
    unsigned short token;
    int value;
};

const PolicyWord POLICY_WORDS[] = {
    {TOKEN_AUTO, 1},
    {TOKEN_MAX, 2},
    {TOKEN_DONOTCACHE, 6},
    {TOKEN_NONE, 254},
};

template <class Row, size_t N>
const Row* findRow(const Row (&rows)[N], unsigned short token)
{
    for (const Row& row : rows) {
        if (row.token == token)
            return &row;
    }
    return nullptr;
}

}  // namespace

AdpPropertyParser::AdpPropertyParser(int commandToken)
    : Parser(commandToken), property(NOT_GIVEN), value(-1), value2(NOT_GIVEN), value3(NOT_GIVEN),
      value4(NOT_GIVEN)
{
    addRule(TOKEN_SET_ADPPROPERTY, makeHandler(&AdpPropertyParser::onCommandWord));
    addRule(TOKEN_GET_ADPPROPERTY, makeHandler(&AdpPropertyParser::onCommandWord));
    addRule(TOKEN_PERCENT, makeHandler(&AdpPropertyParser::onPercent));
}

Parser* AdpPropertyParser::create(unsigned short commandToken)
{
    return new (noThrowNew) AdpPropertyParser(commandToken);
}

ArrayList<unsigned short>* AdpPropertyParser::commandTokens()
{
    return ParserUtil::tokenList({TOKEN_SET_ADPPROPERTY, TOKEN_GET_ADPPROPERTY});
}

int AdpPropertyParser::onCommandWord(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* command = ParserUtil::takeWord(tokens, position, {TOKEN_SET_ADPPROPERTY, TOKEN_GET_ADPPROPERTY});
    if (command == nullptr)
        return -1;
    Token* word = ParserUtil::tokenAt(tokens, position + 1);
    if (word == nullptr)
        return -1;

    const FixedPropertyWord* fixed = findRow(FIXED_PROPERTY_WORDS, word->getId());
    if (fixed != nullptr) {
        word->setConsumed(1);
        property = static_cast<short>(fixed->property);
        value = fixed->value;
        return 0;
    }
    // Words the grammar lets through that are no property of this command ("SECUREALLPDS",
    // "SECURITYKEYPERPD") refuse it here.
    if (findRow(PROPERTY_WORDS, word->getId()) == nullptr)
        return -1;
    word->setConsumed(1);
    property = static_cast<short>(word->getId());
    if (command->getId() == TOKEN_GET_ADPPROPERTY)
        return 0;
    return readSetValue(tokens, position + 2, word->getId());
}

int AdpPropertyParser::readSetValue(ArrayList<Token*>* tokens, int position, unsigned short word)
{
    const PropertyWord* row = findRow(PROPERTY_WORDS, word);
    Token* next = ParserUtil::tokenAt(tokens, position);
    if (next == nullptr)
        return -1;
    if (next->getId() == TOKEN_NUMBER) {
        if (ParserUtil::takeNumber(tokens, position, INT_MAX, &value) != 0)
            return -1;
        switch (row->setValue) {
        case SetValue::PERCENT:
            return 0;
        case SetValue::NUMBER:
            return static_cast<unsigned int>(value) <= row->limit ? 0 : -1;
        case SetValue::PERF_MODE:
            if (static_cast<unsigned int>(value) > row->limit)
                return -1;
            return readPerfModeExtras(tokens, position + 1);
        default:
            return -1;
        }
    }
    if (row->setValue == SetValue::POLICY) {
        next->setConsumed(1);
        const PolicyWord* policy = findRow(POLICY_WORDS, next->getId());
        value = policy != nullptr ? policy->value : 0;
        return 0;
    }
    if (row->setValue == SetValue::INTERVAL_TIME)
        return readLdPowerSavingTimes(tokens, position);
    return -1;
}

// INTERVAL n TIME n after DISABLELDPS: the interval goes to the value, the time to the third
// value; neither is range-tested.
int AdpPropertyParser::readLdPowerSavingTimes(ArrayList<Token*>* tokens, int position)
{
    if (ParserUtil::takeWord(tokens, position, {TOKEN_INTERVAL}) == nullptr)
        return 0;
    int next = position + 1;
    Token* interval = ParserUtil::tokenAt(tokens, next);
    if (interval == nullptr)
        return -1;
    if (interval->getId() == TOKEN_NUMBER) {
        if (ParserUtil::takeNumber(tokens, next, INT_MAX, &value) != 0)
            return -1;
        ++next;
    }
    if (ParserUtil::tokenAt(tokens, next) == nullptr)
        return -1;
    if (ParserUtil::takeWord(tokens, next, {TOKEN_TIME}) == nullptr)
        return 0;
    Token* time = ParserUtil::tokenAt(tokens, next + 1);
    if (time == nullptr)
        return -1;
    if (time->getId() == TOKEN_NUMBER && ParserUtil::takeNumber(tokens, next + 1, INT_MAX, &value3) != 0)
        return -1;
    return 0;
}

// MAXFLUSHLINES n, then NUMIOSTOORDER n or MAXPDLATENCYMS n, after the PERFMODE value. The two
// numbers held in a byte must fit it whole: a cut number would set another value than typed.
int AdpPropertyParser::readPerfModeExtras(ArrayList<Token*>* tokens, int position)
{
    int byteValue = 0;
    if (ParserUtil::takeWord(tokens, position, {TOKEN_MAXFLUSHLINES}) == nullptr)
        return 0;
    if (ParserUtil::takeNumber(tokens, position + 1, 0xFF, &byteValue) != 0)
        return -1;
    value2 = static_cast<unsigned char>(byteValue);

    int next = position + 2;
    if (ParserUtil::takeWord(tokens, next, {TOKEN_NUMIOSTOORDER}) != nullptr) {
        if (ParserUtil::takeNumber(tokens, next + 1, INT_MAX, &value3) != 0)
            return -1;
    } else if (ParserUtil::takeWord(tokens, next, {TOKEN_MAXPDLATENCYMS}) != nullptr) {
        if (ParserUtil::takeNumber(tokens, next + 1, 0xFF, &byteValue) != 0)
            return -1;
        value4 = static_cast<unsigned char>(byteValue);
    }
    return 0;
}

int AdpPropertyParser::onPercent(ArrayList<Token*>* tokens, unsigned char position)
{
    return ParserUtil::acceptWord(tokens, position, {TOKEN_PERCENT});
}

ArrayList<ParsedObject*>* AdpPropertyParser::parse(ArrayList<Token*>* tokens)
{
    if (acceptTokens(tokens) != 0)
        return nullptr;
    unsigned short code = static_cast<unsigned short>(property);
    // The request's form follows from the values given; a MAXFLUSHLINES of 255 reads as not
    // given, as the request's readers take it.
    return makeRequestsPerAdapter([this, code](unsigned char adapter) -> ParsedObject* {
        unsigned short token = getCommandToken();
        if (value2 == NOT_GIVEN && value3 == NOT_GIVEN)
            return new (noThrowNew) AdpPropertyPo(token, code, value, adapter);
        if (value2 == NOT_GIVEN)
            return new (noThrowNew) AdpPropertyPo(token, code, value, value3, adapter);
        return new (noThrowNew) AdpPropertyPo(token, code, value, value2, value3, value4, adapter);
    });
}

namespace {

const ParserFactoryRegistration<AdpPropertyParser> registration;

}  // namespace
