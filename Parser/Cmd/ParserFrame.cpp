#include "Parser/Cmd/ParserFrame.h"

#include "Parser/EnclSlotId.h"
#include "Parser/ParsedObject.h"
#include "Parser/ParserUtil.h"
#include "Parser/Token.h"
#include "Parser/TokenIds.h"

namespace ParserFrame {

ArrayList<unsigned short>* newTokenList(std::initializer_list<unsigned short> ids)
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

Token* tokenWithId(ArrayList<Token*>* tokens, int position, std::initializer_list<unsigned short> ids)
{
    Token* token = ParserUtil::tokenAt(tokens, position);
    if (token == nullptr)
        return nullptr;
    for (unsigned short id : ids) {
        if (token->getId() == id)
            return token;
    }
    return nullptr;
}

int takeWord(ArrayList<Token*>* tokens, unsigned char position, unsigned short id)
{
    Token* token = tokenWithId(tokens, position, {id});
    if (token == nullptr)
        return -1;
    token->setConsumed(1);
    return 0;
}

int takeFlag(ArrayList<Token*>* tokens, unsigned char position, unsigned short id, unsigned char* flag)
{
    if (takeWord(tokens, position, id) != 0)
        return -1;
    *flag = 1;
    return 0;
}

int takeNumberAfter(ArrayList<Token*>* tokens, unsigned char position, unsigned int limit, unsigned int* value)
{
    Token* number = ParserUtil::tokenAt(tokens, position + 1);
    int read = 0;
    if (!ParserUtil::getNumber(number, &read))
        return -1;
    number->setConsumed(1);
    // The scanner gives no negative number; one that came anyway is no value of any field.
    if (read < 0 || static_cast<unsigned int>(read) > limit)
        return -1;
    *value = static_cast<unsigned int>(read);
    return 0;
}

int takeFileName(ArrayList<Token*>* tokens, unsigned char position, string* name)
{
    if (takeWord(tokens, position, TOKEN_FILE) != 0)
        return -1;
    Token* text = ParserUtil::tokenAt(tokens, position + 1);
    if (text == nullptr)
        return -1;
    text->setConsumed(1);
    string read;
    if (text->getId() != TOKEN_ALPHANUM_CONSTANT || !ParserUtil::getText(text, &read))
        return -1;
    *name = read;
    return 0;
}

ArrayList<EnclSlotId*>* readDriveList(ArrayList<Token*>* tokens, unsigned char position)
{
    Token* token = tokenWithId(tokens, position, {TOKEN_CHANNEL_TARGET_LIST});
    string text;
    if (token == nullptr || !ParserUtil::getText(token, &text))
        return nullptr;
    return ParserUtil::parseEnclSlotList(text.c_str());
}

int takeDriveCopies(ArrayList<Token*>* tokens, unsigned char position, ArrayList<PdIdListObject*>* target)
{
    ArrayList<EnclSlotId*>* drives = readDriveList(tokens, position);
    if (drives == nullptr || target == nullptr) {
        ParserUtil::deleteEnclSlotList(drives);
        return -1;
    }
    unsigned char heldBefore = target->count();
    int result = 0;
    for (unsigned char i = 0; i < drives->count() && result == 0; ++i) {
        EnclSlotId* drive = drives->get(i);
        PdIdListObject* copy =
            new (noThrowNew) PdIdListObject(drive->getEnclosureId(), drive->getSlotNumber(), -1, -1);
        if (copy == nullptr || target->add(copy) != 0) {
            delete copy;
            result = -1;
        }
    }
    if (result != 0) {
        // A list that silently lacked some of the drives typed would act on other drives.
        while (target->count() > heldBefore) {
            unsigned char last = static_cast<unsigned char>(target->count() - 1);
            delete target->get(last);
            target->removeAt(last);
        }
    } else {
        ParserUtil::tokenAt(tokens, position)->setConsumed(1);
    }
    ParserUtil::deleteEnclSlotList(drives);
    return result;
}

}  // namespace ParserFrame

KeptDriveList::~KeptDriveList()
{
    delete holder;
}

int KeptDriveList::take(ArrayList<Token*>* tokens, unsigned char position, bool singleDrive)
{
    ArrayList<EnclSlotId*>* drives = ParserFrame::readDriveList(tokens, position);
    if (drives == nullptr)
        return -1;
    if (singleDrive && drives->count() > 1) {
        ParserUtil::deleteEnclSlotList(drives);
        return -1;
    }
    SharedDriveList* newHolder = new (noThrowNew) SharedDriveList(drives);
    if (newHolder == nullptr) {
        ParserUtil::deleteEnclSlotList(drives);
        return -1;
    }
    delete holder;
    holder = newHolder;
    ParserUtil::tokenAt(tokens, position)->setConsumed(1);
    return 0;
}

ArrayList<EnclSlotId*>* KeptDriveList::get() const
{
    return holder != nullptr ? holder->get() : nullptr;
}
