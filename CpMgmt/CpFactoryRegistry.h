// The registry of command processors: for each command id (the request's command token) the
// creators of the processor classes that serve it.
//
// No central list of processors exists: each processor class has one CpRegistration object at
// namespace scope in its own .cpp, whose constructor, run before the entry point, enters the
// class's create function under every command id the class names and gives each id the
// command's traits (CpTraits.h). A command id belongs to one registration: a second one is
// refused, so the order in which the units are initialised decides nothing. The registry and
// the traits table are made on first use, so they exist whichever registration asks first.
//
//   // at the bottom of ObjNumberCp.cpp
//   namespace {
//   const CpRegistration<ObjNumberCp> registration(CpTraits().countResult());
//   }
//
// A command that has no processor class (the dispatcher answers it, or nothing does) registers
// its traits alone:
//
//   const CpTraitsRegistration registration({TOKEN_ADPCOUNT}, CpTraits().answeredBy(CpAnswer::ControllerCount));
#ifndef CPFACTORYREGISTRY_H
#define CPFACTORYREGISTRY_H

#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpTraits.h"
#include "PavUtil/Functor.h"

#include <initializer_list>
#include "PavUtil/List.h"

class CpFactoryRegistry {
public:
    // Rows for the command ids 0 to 254, each with up to 4 creators.
    static const unsigned short ROW_COUNT = 255;
    static const unsigned char CREATORS_PER_ID = 4;

    // The process-wide registry, made on the first call and kept until the process ends.
    static CpFactoryRegistry* instance();

    // Test seam: makes instance() answer the given registry (null restores the process-wide
    // one); returns the registry answered before.
    static CpFactoryRegistry* replaceInstance(CpFactoryRegistry* registry);

    // A registry of its own with every row empty (the process uses instance()).
    CpFactoryRegistry();
    virtual ~CpFactoryRegistry();

    // Enters the creator under the id after those entered before. A fifth creator for one id is
    // refused with "Count %d exceeded for token id %d\n"; an id of ROW_COUNT or more holds no
    // row and is refused without a message.
    void add(unsigned short commandId, CpCreatorFunctor creator);
    // A new processor for the request's command id (the first creator that makes one, called
    // with CP_KIND_DEFAULT), which the caller owns; null when no creator makes one. The
    // CpController is not used.
    CommandProcessor* find(CpController* cpController, ParsedObject* request);
    // Number of creators entered for the id (0 for an id without a row).
    unsigned char creatorCount(unsigned short commandId) const;

    CpFactoryRegistry(const CpFactoryRegistry&) = delete;
    CpFactoryRegistry& operator=(const CpFactoryRegistry&) = delete;

private:
    struct Row {
        unsigned char count;
        CpCreatorFunctor creators[CREATORS_PER_ID];
    };
    Row rows[ROW_COUNT];
};

// The creator of a processor class: its create function as a plain-function functor.
template <class XxxCp>
CpCreatorFunctor makeCpCreator()
{
    return makeFunctor(&XxxCp::create);
}

// Enters one command id: its traits in the process-wide traits table and, when the creator is
// given, the creator in the process-wide registry. An id that another registration has taken
// is refused with "Command id %d is registered twice\n" and keeps what it had; an id beyond
// the tables is dropped without a message.
void registerCommandId(unsigned short commandId, const CpCreatorFunctor* creator, const CpTraits& traits);

// Registers XxxCp::create under every id of XxxCp::commandIds(), in list order, with the
// command's traits (by default those of an ordinary command: controller checked, a non-zero
// result ends the adapters after it). Destroying the object unregisters nothing.
template <class XxxCp>
class CpRegistration {
public:
    explicit CpRegistration(const CpTraits& traits = CpTraits())
    {
        CpCreatorFunctor creator = makeCpCreator<XxxCp>();
        if (CpFactoryRegistry::instance() == nullptr)
            return;
        ArrayList<unsigned short>* ids = XxxCp::commandIds();
        if (ids == nullptr)
            return;
        for (unsigned char i = 0; i < ids->count(); ++i)
            registerCommandId(ids->get(i), &creator, traits);
        delete ids;
    }
    virtual ~CpRegistration() {}

    CpRegistration(const CpRegistration&) = delete;
    CpRegistration& operator=(const CpRegistration&) = delete;
};

// The traits of commands that no processor class serves, under the same one-registration-per-id
// rule. Destroying the object unregisters nothing.
class CpTraitsRegistration {
public:
    CpTraitsRegistration(std::initializer_list<unsigned short> commandIds, const CpTraits& traits);
    virtual ~CpTraitsRegistration() {}

    CpTraitsRegistration(const CpTraitsRegistration&) = delete;
    CpTraitsRegistration& operator=(const CpTraitsRegistration&) = delete;
};

#endif
