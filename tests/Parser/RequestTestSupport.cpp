#include "RequestTestSupport.h"

#include <cstring>

int CountedEnclSlotId::destroyed = 0;
int CountedDriveList::destroyed = 0;

CountedDriveList* makeCountedDriveList()
{
    CountedDriveList* list = new CountedDriveList;
    list->add(new CountedEnclSlotId(32, 1));
    list->add(new CountedEnclSlotId(ENCLOSURE_ID_RESOLVE, 4));
    return list;
}

namespace {

PdIdListObject* drive(unsigned short enclosure, unsigned char slot)
{
    return new PdIdListObject(enclosure, slot, -1, -1);
}

} // namespace

ParserLists::ParserLists() : sharedList(makeCountedDriveList()), sharedWasTaken(false)
{
    ldList = new ArrayList<unsigned char>(4);
    ldList->add(3);
    ldList->add(7);
    ldList->add(3);

    pdList = new ArrayList<PdIdListObject*>(4);
    pdList->add(drive(252, 5));
    pdList->add(drive(ENCLOSURE_ID_NONE, 9));

    arrayList = new ArrayList<ArrayList<PdIdListObject*>*>(4);
    for (int a = 0; a < 2; ++a) {
        ArrayList<PdIdListObject*>* inner = new ArrayList<PdIdListObject*>(4);
        for (int d = 0; d < 3; ++d)
            inner->add(drive(static_cast<unsigned short>(10 + a), static_cast<unsigned char>(d)));
        arrayList->add(inner);
    }

    sizeList = new ArrayList<unsigned long long*>(4);
    sizeList->add(new unsigned long long(2097152ULL));
    sizeList->add(new unsigned long long(0x1FFFFFFFFFFULL));

    arrayNumberList = new ArrayList<unsigned char*>(4);
    arrayNumberList->add(new unsigned char(0));
    arrayNumberList->add(new unsigned char(2));

    nameList = new ArrayList<string*>(4);
    nameList->add(new string("sdb"));
    nameList->add(new string("sdc"));

    std::memset(&time, 0, sizeof(time));
    time.tm_year = 124;
    time.tm_mon = 5;
    time.tm_mday = 17;
    time.tm_hour = 22;

    nameBuffer = new char[16];
    std::strcpy(nameBuffer, "CacheVD");
}

ParserLists::~ParserLists()
{
    release();
    if (!sharedWasTaken && sharedList != nullptr) {
        for (unsigned char i = 0; i < sharedList->count(); ++i)
            delete sharedList->get(i);
        delete sharedList;
    }
}

ArrayList<EnclSlotId*>* ParserLists::takeSharedList()
{
    sharedWasTaken = true;
    return sharedList;
}

void ParserLists::release()
{
    if (ldList == nullptr)
        return;
    delete ldList;
    PdIdListObject::deleteList(pdList);
    for (unsigned char i = 0; i < arrayList->count(); ++i)
        PdIdListObject::deleteList(arrayList->get(i));
    delete arrayList;
    for (unsigned char i = 0; i < sizeList->count(); ++i)
        delete sizeList->get(i);
    delete sizeList;
    for (unsigned char i = 0; i < arrayNumberList->count(); ++i)
        delete arrayNumberList->get(i);
    delete arrayNumberList;
    for (unsigned char i = 0; i < nameList->count(); ++i)
        delete nameList->get(i);
    delete nameList;
    std::memset(nameBuffer, 'X', 7);
    delete[] nameBuffer;
    std::memset(&time, 0xA5, sizeof(time));
    ldList = nullptr;
    pdList = nullptr;
    arrayList = nullptr;
    sizeList = nullptr;
    arrayNumberList = nullptr;
    nameList = nullptr;
    nameBuffer = nullptr;
}

Fields& Fields::operator<<(const ArrayList<unsigned char>* v)
{
    if (v == nullptr)
        return *this << "(no list)";
    out << '[';
    for (unsigned char i = 0; i < v->count(); ++i)
        out << static_cast<unsigned>(v->get(i)) << ' ';
    out << "]|";
    return *this;
}

Fields& Fields::operator<<(const ArrayList<PdIdListObject*>* v)
{
    if (v == nullptr)
        return *this << "(no list)";
    out << '[';
    for (unsigned char i = 0; i < v->count(); ++i) {
        PdIdListObject* e = v->get(i);
        if (e == nullptr)
            out << "null ";
        else
            out << e->getEnclosureId() << ':' << static_cast<unsigned>(e->getSlot()) << ' ';
    }
    out << "]|";
    return *this;
}

Fields& Fields::operator<<(const ArrayList<ArrayList<PdIdListObject*>*>* v)
{
    if (v == nullptr)
        return *this << "(no list)";
    out << '{';
    for (unsigned char i = 0; i < v->count(); ++i)
        *this << static_cast<const ArrayList<PdIdListObject*>*>(v->get(i));
    out << "}|";
    return *this;
}

Fields& Fields::operator<<(const ArrayList<unsigned long long*>* v)
{
    if (v == nullptr)
        return *this << "(no list)";
    out << '[';
    for (unsigned char i = 0; i < v->count(); ++i)
        out << (v->get(i) ? *v->get(i) : 0ULL) << ' ';
    out << "]|";
    return *this;
}

Fields& Fields::operator<<(const ArrayList<unsigned char*>* v)
{
    if (v == nullptr)
        return *this << "(no list)";
    out << '[';
    for (unsigned char i = 0; i < v->count(); ++i)
        out << (v->get(i) ? static_cast<unsigned>(*v->get(i)) : 999u) << ' ';
    out << "]|";
    return *this;
}

Fields& Fields::operator<<(const ArrayList<string*>* v)
{
    if (v == nullptr)
        return *this << "(no list)";
    out << '[';
    for (unsigned char i = 0; i < v->count(); ++i)
        out << (v->get(i) ? v->get(i)->c_str() : "null") << ' ';
    out << "]|";
    return *this;
}

Fields& Fields::operator<<(const struct tm* v)
{
    out << v->tm_year << '-' << v->tm_mon << '-' << v->tm_mday << ' ' << v->tm_hour << ':' << v->tm_min << ':'
        << v->tm_sec << '|';
    return *this;
}

Fields& Fields::ldList(const LdParsedObject* r)
{
    out << "ld[";
    for (unsigned char i = 0; i < r->getLdCount(); ++i)
        out << static_cast<unsigned>(r->getLd(i)) << ' ';
    out << "]|";
    return *this;
}
