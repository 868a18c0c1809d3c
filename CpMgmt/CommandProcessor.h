// The base of every command processor: the object that carries out one command on one
// controller. CpController::process finds the processor of a request through the
// CpFactoryRegistry and calls CommandProcessor::process with itself and the request.
#ifndef COMMANDPROCESSOR_H
#define COMMANDPROCESSOR_H

#include "PavUtil/List.h"
#include "PavUtil/Memory.h"

class CpController;
class ParsedObject;

// The processor kind that CpFactoryRegistry::find passes to every creator.
const unsigned short CP_KIND_DEFAULT = 0;

class CommandProcessor {
public:
    CommandProcessor() {}

    // Runs the command on the controller of cpController: 0 success, -1 failure, or a firmware
    // or model status passed through. The request stays owned by the CpController and is only
    // read.
    virtual int process(CpController* cpController, ParsedObject* request) = 0;
    // True when the command has finished on this controller; the dispatcher runs a processor
    // that answers false again after every request has run.
    virtual bool isDone();
    virtual ~CommandProcessor();

    // Replaces ENCLOSURE_ID_RESOLVE ("?" typed as enclosure) by the adapter's only enclosure.
    // 0 done (other ids are left alone), 1 several enclosures, 2 a drive attached without
    // enclosure (each with its message), -1 no RAID manager for the controller, or another
    // status of the enclosure lookup; the id is changed only on success.
    static int resolveEnclosureId(CpController* cpController, unsigned short* enclosureId);

    CommandProcessor(const CommandProcessor&) = delete;
    CommandProcessor& operator=(const CommandProcessor&) = delete;
};

// The create function of a processor class: a new XxxCp when the kind is one the class accepts
// (every class accepts CP_KIND_DEFAULT only), else null. Each class keeps its own list of
// accepted kinds, made on the first call.
//   CommandProcessor* XxxCp::create(unsigned short kind) { return createCommandProcessor<XxxCp>(kind); }
template <class XxxCp>
CommandProcessor* createCommandProcessor(unsigned short kind)
{
    static ArrayList<unsigned short> acceptedKinds(2);
    if (acceptedKinds.count() == 0)
        acceptedKinds.add(CP_KIND_DEFAULT);
    for (unsigned char i = 0; i < acceptedKinds.count(); ++i) {
        if (acceptedKinds.get(i) == kind)
            return new (noThrowNew) XxxCp();
    }
    return nullptr;
}

// The command ids of a processor class as a new list (capacity = their number) that the caller
// deletes; null when memory runs out.
ArrayList<unsigned short>* makeCommandIdList(const unsigned short* ids, unsigned char count);

#endif
