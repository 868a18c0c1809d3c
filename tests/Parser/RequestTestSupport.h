// Helpers of the request tests: drive lists that count their destruction, the lists a
// parser would hand to a request, and a field-by-field description of a request.
#ifndef REQUESTTESTSUPPORT_H
#define REQUESTTESTSUPPORT_H

#include <sstream>
#include <string>

#include "Parser/AdpParsedObjects.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/PdParsedObjects.h"

// An enclosure:slot entry that counts how often one was destroyed.
class CountedEnclSlotId : public EnclSlotId {
public:
    CountedEnclSlotId(unsigned short enclosure, unsigned char slot) : EnclSlotId(enclosure, slot) {}
    ~CountedEnclSlotId() override { ++destroyed; }
    static int destroyed;
};

// A shared drive list that counts how often one was destroyed.
class CountedDriveList : public ArrayList<EnclSlotId*> {
public:
    CountedDriveList() : ArrayList<EnclSlotId*>(4) {}
    ~CountedDriveList() override { ++destroyed; }
    static int destroyed;
};

// A parser's drive list of two entries, as the drive-list rule builds it.
CountedDriveList* makeCountedDriveList();

// The lists a parser hands to the requests it builds. The shared drive list passes to the
// requests once taken; every other list stays the parser's and is deleted by release() (or
// the destructor), which a test calls early to show that requests keep their own copies.
class ParserLists {
public:
    ParserLists();
    ~ParserLists();

    ArrayList<EnclSlotId*>* takeSharedList();
    bool sharedTaken() const { return sharedWasTaken; }
    CountedDriveList* shared() const { return sharedList; }

    const ArrayList<unsigned char>* lds() const { return ldList; }
    const ArrayList<PdIdListObject*>* pds() const { return pdList; }
    const ArrayList<ArrayList<PdIdListObject*>*>* arrays() const { return arrayList; }
    const ArrayList<unsigned long long*>* sizes() const { return sizeList; }
    const ArrayList<unsigned char*>* arrayNumbers() const { return arrayNumberList; }
    const ArrayList<string*>* names() const { return nameList; }
    const struct tm* startTime() const { return &time; }
    const char* nameText() const { return nameBuffer; }

    // Deletes (and overwrites first) every list and text the parser keeps.
    void release();

private:
    CountedDriveList* sharedList;
    bool sharedWasTaken;
    ArrayList<unsigned char>* ldList;
    ArrayList<PdIdListObject*>* pdList;
    ArrayList<ArrayList<PdIdListObject*>*>* arrayList;
    ArrayList<unsigned long long*>* sizeList;
    ArrayList<unsigned char*>* arrayNumberList;
    ArrayList<string*>* nameList;
    struct tm time;
    char* nameBuffer;
};

// Field values joined into one text, for comparing a request with its copy.
class Fields {
public:
    Fields& operator<<(unsigned char v) { out << static_cast<unsigned>(v) << '|'; return *this; }
    Fields& operator<<(unsigned short v) { out << v << '|'; return *this; }
    Fields& operator<<(int v) { out << v << '|'; return *this; }
    Fields& operator<<(unsigned int v) { out << v << '|'; return *this; }
    Fields& operator<<(const string& v) { out << '"' << v.c_str() << "\"|"; return *this; }
    Fields& operator<<(const char* v) { out << (v ? v : "(null)") << '|'; return *this; }
    // The shared list is described by identity: a copy must hold the very same list.
    Fields& operator<<(const ArrayList<EnclSlotId*>* v) { out << "shared@" << static_cast<const void*>(v) << '|'; return *this; }
    Fields& operator<<(const ArrayList<unsigned char>* v);
    Fields& operator<<(const ArrayList<PdIdListObject*>* v);
    Fields& operator<<(const ArrayList<ArrayList<PdIdListObject*>*>* v);
    Fields& operator<<(const ArrayList<unsigned long long*>* v);
    Fields& operator<<(const ArrayList<unsigned char*>* v);
    Fields& operator<<(const ArrayList<string*>* v);
    Fields& operator<<(const struct tm* v);
    Fields& ldList(const LdParsedObject* r);
    std::string str() const { return out.str(); }

private:
    std::ostringstream out;
};

#endif
