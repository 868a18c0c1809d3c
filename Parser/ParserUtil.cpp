#include "Parser/ParserUtil.h"

#include "Parser/EnclSlotId.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"

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
