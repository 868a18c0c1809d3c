#include "Parser/ParsedObject.h"

unsigned int sharedDriveListUsers = 0;

namespace {

// Holder count of one shared drive list. The records form a short chain: one command runs per
// process, so there is normally a single list, but nothing breaks when there are more.
struct SharedListTally {
    const ArrayList<EnclSlotId*>* list;
    unsigned int holders;
    SharedListTally* next;
};

SharedListTally* sharedListTallies = nullptr;

SharedListTally* findTally(const ArrayList<EnclSlotId*>* list)
{
    for (SharedListTally* t = sharedListTallies; t != nullptr; t = t->next) {
        if (t->list == list)
            return t;
    }
    return nullptr;
}

void unlinkTally(SharedListTally* tally)
{
    SharedListTally** link = &sharedListTallies;
    while (*link != nullptr && *link != tally)
        link = &(*link)->next;
    if (*link == tally)
        *link = tally->next;
}

} // namespace

SharedDriveList::SharedDriveList(ArrayList<EnclSlotId*>* list) : list(list), counted(false)
{
    ++sharedDriveListUsers;
    if (list == nullptr)
        return;
    SharedListTally* tally = findTally(list);
    if (tally == nullptr) {
        tally = new (noThrowNew) SharedListTally;
        if (tally == nullptr)
            return;
        tally->list = list;
        tally->holders = 0;
        tally->next = sharedListTallies;
        sharedListTallies = tally;
    }
    ++tally->holders;
    counted = true;
}

SharedDriveList::~SharedDriveList()
{
    if (sharedDriveListUsers > 0)
        --sharedDriveListUsers;
    if (!counted)
        return;
    SharedListTally* tally = findTally(list);
    if (tally == nullptr)
        return;
    if (--tally->holders > 0)
        return;
    unlinkTally(tally);
    delete tally;
    deleteOwnedList(list);
}

unsigned int SharedDriveList::holdersOf(const ArrayList<EnclSlotId*>* list)
{
    if (list == nullptr)
        return 0;
    SharedListTally* tally = findTally(list);
    return tally != nullptr ? tally->holders : 0;
}

ParsedObject::ParsedObject(unsigned short commandToken, unsigned char adapterNumber)
    : commandToken(commandToken), adapterNumber(adapterNumber)
{
}

ParsedObject::~ParsedObject()
{
}

void ParsedObject::appendByteValues(ArrayList<unsigned char>* target, const ArrayList<unsigned char>* source)
{
    if (target == nullptr || source == nullptr)
        return;
    for (unsigned char i = 0; i < source->count(); ++i)
        target->add(source->get(i));
}

ArrayList<unsigned char>* ParsedObject::copyByteValues(const ArrayList<unsigned char>* source)
{
    if (source == nullptr)
        return nullptr;
    ArrayList<unsigned char>* copy = new (noThrowNew) ArrayList<unsigned char>(source->count() > 4 ? source->count() : 4);
    if (copy != nullptr)
        appendByteValues(copy, source);
    return copy;
}

LdParsedObject::LdParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                               unsigned char adapterNumber)
    : ParsedObject(commandToken, adapterNumber), ldList(4)
{
    appendByteValues(&this->ldList, ldList);
}

LdParsedObject::~LdParsedObject()
{
}

unsigned char LdParsedObject::getLdCount() const
{
    return ldList.count();
}

unsigned char LdParsedObject::getLd(unsigned char index) const
{
    if (index >= ldList.count())
        return ALL_LDS;
    return ldList.get(index);
}

PdIdListObject::PdIdListObject(unsigned short enclosureId, unsigned char slot, int reserved1, int reserved2)
    : enclosureId(enclosureId), slot(slot), reserved1(reserved1), reserved2(reserved2)
{
}

PdIdListObject::~PdIdListObject()
{
}

ArrayList<PdIdListObject*>* PdIdListObject::copyList(const ArrayList<PdIdListObject*>* source)
{
    // Null entries keep their positions: the first drive of a copy-back is its source, the
    // second its destination.
    return copyOwnedList(source, [](const PdIdListObject* entry) {
        return new (noThrowNew) PdIdListObject(entry->getEnclosureId(), entry->getSlot(), -1, -1);
    });
}

void PdIdListObject::deleteList(ArrayList<PdIdListObject*>* list)
{
    deleteOwnedList(list);
}
