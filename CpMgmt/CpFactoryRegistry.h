// The registry of command processors: for each command id (the request's command token) the
// creators of the processor classes that serve it.
//
// No central list of processors exists: each processor class has one CpRegistration object
// (CpRegistrations.cpp), whose constructor, run before the entry point, enters the class's
// create function under every command id the class names. The registry itself is made on
// first use, so it exists whichever registration asks first.
#ifndef CPFACTORYREGISTRY_H
#define CPFACTORYREGISTRY_H

#include "CpMgmt/CommandProcessor.h"
#include "PavUtil/Functor.h"
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

// Registers XxxCp::create under every id of XxxCp::commandIds(), in list order, in the
// process-wide registry. Destroying the object unregisters nothing.
template <class XxxCp>
class CpRegistration {
public:
    CpRegistration()
    {
        CpCreatorFunctor creator = makeCpCreator<XxxCp>();
        CpFactoryRegistry* registry = CpFactoryRegistry::instance();
        if (registry == nullptr)
            return;
        ArrayList<unsigned short>* ids = XxxCp::commandIds();
        if (ids == nullptr)
            return;
        for (unsigned char i = 0; i < ids->count(); ++i)
            registry->add(ids->get(i), creator);
        delete ids;
    }
    virtual ~CpRegistration() {}

    CpRegistration(const CpRegistration&) = delete;
    CpRegistration& operator=(const CpRegistration&) = delete;
};

// Does nothing; calling it keeps the processor registrations in any program linked from the
// static libraries.
void registerCommandProcessors();

#endif
