#include "Parser/ParserUtil.h"

#include "Output/VoMessage.h"
#include "RaidManager/EnclSlotId.h"
#include "Parser/ParsedObject.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"
#include "PavUtil/SizeFormat.h"

#include <climits>
#include <cstring>

namespace {

// The process-wide file name: set by the last "-f" of the run, read by whoever asks. A
// function-local object, so that a parser running during static initialisation still finds it.
string& storedFileName()
{
    static string fileName;
    return fileName;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the decimal digits of [begin, end). False when the range is empty, holds anything
// but digits, or its value exceeds `limit`; digits beyond the limit never wrap.
bool readDecimal(const char* begin, const char* end, long limit, long* value)
{
    if (begin >= end)
        return false;
    long result = 0;
    for (const char* p = begin; p < end; ++p) {
        if (!isDigit(*p))
            return false;
        result = result * 10 + (*p - '0');
        if (result > limit)
            return false;
    }
    *value = result;
    return true;
}

}  // namespace

int ParserUtil::onFileOption(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* option = tokenAt(tokens, position);
    if (option == nullptr || option->getId() != TOKEN_FILE)
        return -1;
    Token* name = tokenAt(tokens, position + 1);
    string text;
    if (name == nullptr || !getText(name, &text))
        return -1;
    option->setConsumed(1);
    name->setConsumed(1);
    storedFileName() = text;
    return 0;
}

string ParserUtil::getFileName()
{
    return storedFileName();
}

void ParserUtil::clearFileName()
{
    storedFileName() = "";
}

ArrayList<EnclSlotId*>* ParserUtil::parseEnclSlotList(const char* text)
{
    if (text == nullptr)
        return nullptr;
    ArrayList<EnclSlotId*>* list = new (noThrowNew) ArrayList<EnclSlotId*>(4);
    if (list == nullptr)
        return nullptr;

    // Items are separated by runs of commas and blanks.
    const char* p = text;
    while (*p != '\0') {
        while (*p == ',' || isBlank(*p))
            ++p;
        if (*p == '\0')
            break;
        const char* itemStart = p;
        while (*p != '\0' && *p != ',' && !isBlank(*p))
            ++p;
        size_t itemLength = static_cast<size_t>(p - itemStart);

        char* item = new (noThrowNew) char[itemLength + 1];
        if (item == nullptr) {
            deleteEnclSlotList(list);
            return nullptr;
        }
        std::memcpy(item, itemStart, itemLength);
        item[itemLength] = '\0';

        unsigned short enclosure = 0;
        unsigned char slot = 0;
        int read = parseEnclSlot(item, &enclosure, &slot);
        delete[] item;
        if (read != 0) {
            deleteEnclSlotList(list);
            return nullptr;
        }
        EnclSlotId* entry = new (noThrowNew) EnclSlotId(enclosure, slot);
        if (entry == nullptr || list->add(entry) != 0) {
            // A list that silently lacked a drive could make a command act on the wrong set.
            delete entry;
            deleteEnclSlotList(list);
            return nullptr;
        }
    }
    return list;
}

int ParserUtil::takeDriveList(ArrayList<Token*>* tokens, int position, ParserDriveList* holder,
                              bool refuseMalformed)
{
    Token* token = tokenAt(tokens, position);
    string text;
    if (holder == nullptr || token == nullptr || token->getId() != TOKEN_CHANNEL_TARGET_LIST ||
        !getText(token, &text))
        return -1;
    ArrayList<EnclSlotId*>* list = parseEnclSlotList(text.c_str());
    if (list == nullptr && refuseMalformed)
        return -1;
    if (holder->set(list) != 0)
        return -1;
    token->setConsumed(1);
    return 0;
}

int ParserUtil::takeDriveEntries(ArrayList<Token*>* tokens, int position, ArrayList<PdIdListObject*>* target)
{
    Token* token = tokenAt(tokens, position);
    string text;
    if (token == nullptr || token->getId() != TOKEN_CHANNEL_TARGET_LIST || !getText(token, &text) ||
        appendDriveEntries(text.c_str(), target) != 0)
        return -1;
    token->setConsumed(1);
    return 0;
}

int ParserUtil::appendDriveEntries(const char* text, ArrayList<PdIdListObject*>* target)
{
    ArrayList<EnclSlotId*>* drives = parseEnclSlotList(text);
    if (drives == nullptr || target == nullptr) {
        deleteEnclSlotList(drives);
        return -1;
    }
    int result = 0;
    for (unsigned char i = 0; i < drives->count() && result == 0; ++i) {
        const EnclSlotId* drive = drives->get(i);
        PdIdListObject* entry =
            new (noThrowNew) PdIdListObject(drive->getEnclosureId(), drive->getSlotNumber(), -1, -1);
        if (entry == nullptr || target->add(entry) != 0) {
            delete entry;
            result = -1;
        }
    }
    deleteEnclSlotList(drives);
    return result;
}

int ParserUtil::parseEnclSlot(const char* item, unsigned short* enclosure, unsigned char* slot)
{
    if (item == nullptr || enclosure == nullptr || slot == nullptr)
        return 1;
    while (isBlank(*item))
        ++item;
    const char* colon = std::strchr(item, ':');
    if (colon == nullptr)
        return 1;

    const char* slotEnd = colon + 1 + std::strlen(colon + 1);
    while (slotEnd > colon + 1 && isBlank(slotEnd[-1]))
        --slotEnd;
    long slotNumber = 0;
    if (!readDecimal(colon + 1, slotEnd, 0xFF, &slotNumber))
        return 1;

    long enclosureId = 0;
    if (colon == item) {
        enclosureId = ENCLOSURE_ID_NONE;
    } else if (item[0] == '?') {
        if (colon != item + 1)
            return 1;
        enclosureId = ENCLOSURE_ID_RESOLVE;
    } else {
        if (!readDecimal(item, colon, 0xFFFF, &enclosureId))
            return 1;
        // A typed number must not pose as "no enclosure" or "resolve the enclosure".
        if (!EnclSlotId::isTypedAddressValid(enclosureId, slotNumber))
            return 1;
    }

    *enclosure = static_cast<unsigned short>(enclosureId);
    *slot = static_cast<unsigned char>(slotNumber);
    return 0;
}

void ParserUtil::deleteEnclSlotList(ArrayList<EnclSlotId*>* list)
{
    deleteOwnedList(list);
}

Token* ParserUtil::tokenAt(ArrayList<Token*>* tokens, int position)
{
    if (tokens == nullptr || position < 0 || position >= tokens->count())
        return nullptr;
    return tokens->get(static_cast<unsigned char>(position));
}

bool ParserUtil::getNumber(Token* token, int* value)
{
    if (token == nullptr || token->getId() != TOKEN_NUMBER)
        return false;
    TokenValueInt* number = dynamic_cast<TokenValueInt*>(token->getValue());
    if (number == nullptr)
        return false;
    *value = number->getValue();
    return true;
}

bool ParserUtil::getText(Token* token, string* text)
{
    if (token == nullptr || token->getValue() == nullptr)
        return false;
    *text = token->getValue()->toString();
    return true;
}

ArrayList<unsigned short>* ParserUtil::tokenList(std::initializer_list<unsigned short> ids)
{
    ArrayList<unsigned short>* list =
        new (noThrowNew) ArrayList<unsigned short>(static_cast<unsigned char>(ids.size()));
    if (list == nullptr)
        return nullptr;
    for (unsigned short id : ids) {
        if (list->add(id) != 0) {
            delete list;
            return nullptr;
        }
    }
    return list;
}

Token* ParserUtil::takeWord(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids)
{
    Token* token = tokenAt(tokens, position);
    if (token == nullptr)
        return nullptr;
    for (unsigned short id : ids) {
        if (token->getId() == id) {
            token->setConsumed(1);
            return token;
        }
    }
    return nullptr;
}

int ParserUtil::acceptWord(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids)
{
    return takeWord(tokens, position, ids) != nullptr ? 0 : -1;
}

int ParserUtil::takeOnlyWordAfter(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids,
                                  unsigned short* word)
{
    for (int next = position + 1; tokens != nullptr && next < tokens->count(); ++next) {
        Token* token = tokenAt(tokens, next);
        bool listed = false;
        for (unsigned short id : ids)
            listed = listed || (token != nullptr && token->getId() == id);
        if (!listed)
            continue;
        if (*word != 0)
            return -1;
        token->setConsumed(1);
        *word = token->getId();
    }
    return *word != 0 ? 0 : -1;
}

int ParserUtil::takeFlagWord(ArrayList<Token*>* tokens, int position, unsigned short wordId, unsigned char* flag,
                             unsigned char value)
{
    if (takeWord(tokens, position, {wordId}) == nullptr)
        return -1;
    *flag = value;
    return 0;
}

int ParserUtil::takeNumber(ArrayList<Token*>* tokens, int position, int limit, int* value)
{
    Token* token = tokenAt(tokens, position);
    int number = 0;
    if (!getNumber(token, &number) || number < 0 || number > limit)
        return -1;
    token->setConsumed(1);
    *value = number;
    return 0;
}

int ParserUtil::takeNumberAfterWord(ArrayList<Token*>* tokens, int position, unsigned short wordId, int limit,
                                    int* value)
{
    if (takeWord(tokens, position, {wordId}) == nullptr)
        return -1;
    return takeNumber(tokens, position + 1, limit, value);
}

int ParserUtil::takeTextAfterWord(ArrayList<Token*>* tokens, int position, unsigned short wordId, string* text)
{
    if (takeWord(tokens, position, {wordId}) == nullptr)
        return -1;
    Token* follower = tokenAt(tokens, position + 1);
    if (follower == nullptr)
        return -1;
    // The follower is taken whatever it is: a key that looks like an option word stays a key.
    follower->setConsumed(1);
    if (follower->getId() != TOKEN_ALPHANUM_CONSTANT)
        return -1;
    if (follower->getValue() == nullptr) {
        // No adapter is known while the line is read.
        printMessage(MSG_DYNAMIC_CAST_FAILED, 0, "tokenValueStr");
        return -1;
    }
    *text = follower->getValue()->toString();
    return 0;
}

int ParserUtil::addLogicalDrive(ArrayList<unsigned char>* list, int value)
{
    // Cutting 320 to 64 would turn one typed drive into every drive.
    if (list == nullptr || value < 0 || value > 0xFF || value == ALL_LDS) {
        printMessage(MSG_TEXT, "Invalid Logical Drive number.\n");
        return -1;
    }
    return list->add(static_cast<unsigned char>(value));
}

int ParserUtil::takeLogicalDriveOption(ArrayList<Token*>* tokens, int position, ArrayList<unsigned char>* list)
{
    if (takeWord(tokens, position, {TOKEN_LOGICAL_DRIVE}) == nullptr)
        return -1;
    for (int next = position + 1;; ++next) {
        Token* number = tokenAt(tokens, next);
        if (number == nullptr || number->getId() != TOKEN_NUMBER)
            return 0;
        int value = -1;  // stays -1 when the token holds no number
        getNumber(number, &value);
        if (addLogicalDrive(list, value) != 0)
            return -1;
        number->setConsumed(1);
    }
}

bool ParserUtil::readDate(int value, unsigned int* year, unsigned int* month, unsigned int* day)
{
    static const unsigned int DAYS_IN_MONTH[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const unsigned int FEBRUARY = 2;
    if (value < 0 || year == nullptr || month == nullptr || day == nullptr)
        return false;
    unsigned int date = static_cast<unsigned int>(value);
    unsigned int y = date / 10000;
    unsigned int m = date % 10000 / 100;
    unsigned int d = date % 100;
    if (m < 1 || m > 12 || d < 1)
        return false;
    bool leapDay = m == FEBRUARY && d == 29 && y % 4 == 0;
    if (d > DAYS_IN_MONTH[m - 1] && !leapDay)
        return false;
    *year = y;
    *month = m;
    *day = d;
    return true;
}

int ParserUtil::takeStartTime(ArrayList<Token*>* tokens, int position, struct tm* startTime)
{
    int number = 0;
    unsigned int year = 0;
    unsigned int month = 0;
    unsigned int day = 0;
    if (startTime == nullptr || takeNumber(tokens, position, INT_MAX, &number) != 0)
        return -1;
    if (!readDate(number, &year, &month, &day) || year < FIRST_SCHEDULE_YEAR)
        return -1;
    int hour = 0;
    if (takeNumber(tokens, position + 1, LAST_HOUR, &hour) != 0)
        return -1;
    startTime->tm_year = static_cast<int>(year) - 1900;
    startTime->tm_mon = static_cast<int>(month) - 1;
    startTime->tm_mday = static_cast<int>(day);
    startTime->tm_hour = hour;
    startTime->tm_min = 0;
    startTime->tm_sec = 0;
    time_t now = time(nullptr);
    struct tm local;
    if (now != static_cast<time_t>(-1) && localtime_r(&now, &local) != nullptr)
        startTime->tm_isdst = local.tm_isdst;
    return 0;
}

int ParserUtil::readSizeText(const char* text, unsigned long long* whole, unsigned int* thousandths)
{
    if (text == nullptr || whole == nullptr || thousandths == nullptr)
        return -1;
    const char* point = std::strchr(text, '.');
    if (point != nullptr && std::strlen(point + 1) > 3)
        return -1;
    unsigned long long wholeValue = 0;
    unsigned int fraction = 0;
    if (parseSizeWithFraction(text, &wholeValue, &fraction) != 0)
        return -1;
    *whole = wholeValue;
    *thousandths = fraction;
    return 0;
}

// ---- ParserDriveList ------------------------------------------------------------------------

ParserDriveList::ParserDriveList() : holder(nullptr)
{
}

ParserDriveList::~ParserDriveList()
{
    delete holder;
}

int ParserDriveList::set(ArrayList<EnclSlotId*>* list)
{
    delete holder;
    holder = nullptr;
    if (list == nullptr)
        return 0;
    holder = new (noThrowNew) SharedDriveList(list);
    if (holder == nullptr) {
        ParserUtil::deleteEnclSlotList(list);
        return -1;
    }
    return 0;
}

ArrayList<EnclSlotId*>* ParserDriveList::get() const
{
    return holder != nullptr ? holder->get() : nullptr;
}
