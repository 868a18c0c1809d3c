// Requests: what a command parser hands to the dispatcher and a command processor reads.
//
// A parser builds one request per adapter number it was given; the dispatcher clones an
// all-adapters request once per detected controller and gives every request (or clone) to
// the executor of its controller, which deletes it when done. A request is never changed after
// construction except through setAdapterNumber and the two setters named in its class.
//
// Lists a request carries follow two rules:
//  - The parser's enclosure:slot drive list (ArrayList<EnclSlotId*>) is shared: the parser
//    hands the same list to every request it builds and every clone takes the same pointer
//    again. SharedDriveList counts the holders and the last one to go deletes the list and its
//    entries, whatever order the requests and clones are deleted in.
//  - Every other list is the request's own deep copy; the caller keeps the list it passed.
#ifndef PARSEDOBJECT_H
#define PARSEDOBJECT_H

#include "RaidManager/EnclSlotId.h"
#include "PavUtil/List.h"
#include "PavUtil/apstring.h"

// Adapter number of a request built from "-aALL"; the dispatcher clones it per controller.
static const unsigned char ALL_ADAPTERS = 252;
// Adapter number of a request that addresses no adapter.
static const unsigned char NO_ADAPTER = 255;
// Logical-drive number that stands for "-LALL" in an LD list; also what an LD list gives for
// an index past its end.
static const unsigned char ALL_LDS = 64;

// Number of live requests that hold a shared drive list (null lists included). Rises with each
// holder and falls back to 0 when the last one is deleted.
extern unsigned int sharedDriveListUsers;

// One holder's reference to the parser's shared drive list. Each request under the shared
// rule keeps one of these as a member: constructing it registers one more holder of the list,
// destroying it one fewer, and the destruction that leaves a list without holders deletes
// every EnclSlotId of that list and then the list. Holders are counted per list, so two
// distinct lists alive at the same time never release one another.
class SharedDriveList {
public:
    explicit SharedDriveList(ArrayList<EnclSlotId*>* list);
    ~SharedDriveList();

    ArrayList<EnclSlotId*>* get() const { return list; }

    // Number of live holders of the given list (0 for null or an unknown list).
    static unsigned int holdersOf(const ArrayList<EnclSlotId*>* list);

private:
    SharedDriveList(const SharedDriveList&) = delete;
    SharedDriveList& operator=(const SharedDriveList&) = delete;

    ArrayList<EnclSlotId*>* list;
    // False when the holder could not be recorded (no memory): the list is then never deleted
    // through this holder, so a failure can leak but never free a list still in use.
    bool counted;
};

// Base of every request.
class ParsedObject {
public:
    ParsedObject(unsigned short commandToken, unsigned char adapterNumber);
    virtual ~ParsedObject();

    // A new request of the same class with the same field values (the adapter number
    // included); it shares nothing with this one except a shared drive list. Null for the
    // requests that never run per controller, and when memory runs out.
    virtual ParsedObject* clone() = 0;

    unsigned short getCommandToken() const { return commandToken; }
    unsigned char getAdapterNumber() const { return adapterNumber; }
    void setAdapterNumber(unsigned char adapter) { adapterNumber = adapter; }

protected:
    // Copies of the value lists (LD and connector numbers) that requests keep as their own.
    // Appends every value of the source (nothing for null) to the target.
    static void appendByteValues(ArrayList<unsigned char>* target, const ArrayList<unsigned char>* source);
    // A new list holding the source's values; null for a null source.
    static ArrayList<unsigned char>* copyByteValues(const ArrayList<unsigned char>* source);

private:
    // Requests hold lists by pointer and by value; a member-wise copy would share them.
    ParsedObject(const ParsedObject&) = delete;
    ParsedObject& operator=(const ParsedObject&) = delete;

    unsigned short commandToken;
    unsigned char adapterNumber;
};

// Base of the requests that act on a list of logical drives given with "-L".
class LdParsedObject : public ParsedObject {
public:
    // Copies every number of the given list, in order (a null list leaves the LD list empty).
    LdParsedObject(unsigned short commandToken, const ArrayList<unsigned char>* ldList,
                   unsigned char adapterNumber);
    ~LdParsedObject() override;

    unsigned char getLdCount() const;
    // The LD number at the index; ALL_LDS when the index is not below the count.
    unsigned char getLd(unsigned char index) const;

protected:
    // The request's own list, for the clones of the derived classes.
    const ArrayList<unsigned char>* ownLdList() const { return &ldList; }

private:
    ArrayList<unsigned char> ldList;
};

// One drive address in a request's private drive list.
class PdIdListObject {
public:
    PdIdListObject(unsigned short enclosureId, unsigned char slot, int reserved1, int reserved2);
    virtual ~PdIdListObject();

    unsigned short getEnclosureId() const { return enclosureId; }
    unsigned char getSlot() const { return slot; }

    // A new list holding a new entry (same enclosure id and slot, -1 for the two further
    // fields) for each entry of the source, in order (null entries stay null); null for a null
    // source and when
    // memory runs out (a copy that silently lacked a drive could act on the wrong drives).
    static ArrayList<PdIdListObject*>* copyList(const ArrayList<PdIdListObject*>* source);
    // Deletes every entry of the list and then the list; nothing for null.
    static void deleteList(ArrayList<PdIdListObject*>* list);

private:
    PdIdListObject(const PdIdListObject&) = delete;
    PdIdListObject& operator=(const PdIdListObject&) = delete;

    unsigned short enclosureId;
    unsigned char slot;
    // Kept as the entry has always carried them; every creator passes -1 and nothing reads them.
    [[maybe_unused]] int reserved1;
    [[maybe_unused]] int reserved2;
};

#endif
