// The frame of a command processor: what every processor has alike, so that a processor class
// holds only the steps of its own command.
//
//   // LdInfoCp.h: create and the command ids come from the frame
//   class LdInfoCp : public CpFrame<LdInfoCp, TOKEN_LDINFO> {
//   public:
//       int process(CpController* cpController, ParsedObject* request) override;
//   };
//
//   // LdInfoCp.cpp: the standard opening, then the command's own steps
//   int LdInfoCp::process(CpController* cpController, ParsedObject* request)
//   {
//       CpStart<LdInfoParsedObject> start(cpController, request, "LdInfoParsedObject *...", CP_NEEDS_MODEL);
//       if (!start)
//           return start.result();
//       const uint8_t adapterNumber = start.number();
//       RaidManager* manager = start.manager();
//       uint8_t vdCount = 0;
//       if (readVdCount(manager, adapterNumber, &vdCount) != 0)
//           return -1;   // readVdCount has printed its message
//       ... the drives of start.request(), each read and printed in turn ...
//   }
//
//   namespace {
//   const CpRegistration<LdInfoCp> registration;   // beside the class; the default traits
//   }
//
// A failed firmware read or operation ends with the standard failure message, as in PerfMonCp:
//
//   if (status != 0)
//       return start.failed("PerfMon", status);
//
// The controller check is the dispatcher's, by the traits of the registration.
#ifndef CPFRAME_H
#define CPFRAME_H

#include <cstdint>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CommandProcessor.h"

class Adapter;
class CpController;
class ParsedObject;
class RaidManager;

// The base of a processor class XxxCp serving the command ids `Ids`: its create function and its
// list of command ids, as CpRegistration<XxxCp> takes them.
template <class XxxCp, unsigned short... Ids>
class CpFrame : public CommandProcessor {
public:
    static CommandProcessor* create(unsigned short kind) { return createCommandProcessor<XxxCp>(kind); }
    static ArrayList<unsigned short>* commandIds()
    {
        static const unsigned short ids[] = {Ids...};
        return makeCommandIdList(ids, static_cast<unsigned char>(sizeof ids / sizeof ids[0]));
    }
};

// What the standard opening takes beyond the adapter number and the request, in this order:
// the controller's RAID manager, the model read afresh, the model's adapter element. Each
// implies the RAID manager.
const unsigned CP_NEEDS_NOTHING_MORE = 0;
const unsigned CP_NEEDS_MODEL = 1;
const unsigned CP_NEEDS_REFRESH = 2;
const unsigned CP_NEEDS_ADAPTER = 4;
const unsigned CP_NEEDS_REFRESHED_MODEL = CP_NEEDS_MODEL | CP_NEEDS_REFRESH;
const unsigned CP_NEEDS_MODEL_ADAPTER = CP_NEEDS_MODEL | CP_NEEDS_ADAPTER;
const unsigned CP_NEEDS_REFRESHED_ADAPTER = CP_NEEDS_MODEL | CP_NEEDS_REFRESH | CP_NEEDS_ADAPTER;

// The opening steps without the request's class: each failing step has printed its standard
// message and ends the opening (the RAID manager: message 0x30021; the model read afresh:
// 0x30022; the adapter element: 0x30023). A processor takes the controller's RAID manager and
// checks its request's class through the frame alone: at its opening (CpStart,
// CpStartOnController, CpPlainStart, CpQuietRefresh), later in its own steps (CpDeferredStart),
// or in a step of one branch or a check shared by several commands (CpModelSteps). AdpCpSteps.h
// holds the steps taken on the model once it is at hand (a refresh or the adapter element
// again, the disk groups, ...).
class CpOpening {
public:
    // The adapter number: the request's, or the controller's when there is no request.
    CpOpening(CpController* cpController, ParsedObject* request);

    explicit operator bool() const { return result_ == 0; }
    // 0 when every step succeeded; -1 after a step that failed, except a failed refresh, which
    // gives the refresh's status.
    int result() const { return result_; }
    uint8_t number() const { return number_; }
    CpController* executor() const { return executor_; }
    RaidManager* manager() const { return manager_; }
    Adapter* adapter() const { return adapter_; }

    // The standard failure message of a firmware read or operation, "Adapter #%d: Failed to
    // Perform %s Operation.\n" naming `what`; gives `status` back.
    int failed(const char* what, int status) const;

protected:
    // The steps named by `number` in their messages.
    CpOpening(CpController* cpController, uint8_t number);

    // Takes the steps of `needs` after the request's class (unless an earlier step failed).
    void takeModelSteps(unsigned needs);
    void fail(int result) { result_ = result; }
    // A request of another class, or none: message 0x11 with the class's request text (e.g.
    // "AdpFacDefSetPo *"), and the opening fails with -1.
    void refuseRequest(const char* requestText);

private:
    CpController* executor_;
    uint8_t number_;
    int result_ = 0;
    RaidManager* manager_ = nullptr;
    Adapter* adapter_ = nullptr;
};

// The standard opening of a processor whose request is of class Request: the adapter number,
// the request as a Request (message 0x11 with `requestText` when it is not one), then the
// steps of `needs`.
template <class Request>
class CpStart : public CpOpening {
public:
    CpStart(CpController* cpController, ParsedObject* request, const char* requestText,
            unsigned needs = CP_NEEDS_NOTHING_MORE)
        : CpStart(cpController, request, request, requestText, needs)
    {
    }

    Request* request() const { return request_; }

protected:
    // The same opening with the adapter number of `numbered` (the controller's when null).
    CpStart(CpController* cpController, ParsedObject* numbered, ParsedObject* request, const char* requestText,
            unsigned needs)
        : CpOpening(cpController, numbered), request_(dynamic_cast<Request*>(request))
    {
        if (request_ == nullptr)
            refuseRequest(requestText);
        else
            takeModelSteps(needs);
    }

private:
    Request* request_;
};

// The standard opening of a processor that names its adapter by the controller's number (the
// dispatcher's), also in the messages of a request of another class or a missing request:
// otherwise as CpStart.
template <class Request>
class CpStartOnController : public CpStart<Request> {
public:
    CpStartOnController(CpController* cpController, ParsedObject* request, const char* requestText,
                        unsigned needs = CP_NEEDS_NOTHING_MORE)
        : CpStart<Request>(cpController, nullptr, request, requestText, needs)
    {
    }
};

// The standard opening of a processor that does not look at its request's class (a command
// with nothing to choose, or one that checks its request later in its own way): the adapter
// number, then the steps of `needs`.
class CpPlainStart : public CpOpening {
public:
    CpPlainStart(CpController* cpController, ParsedObject* request, unsigned needs = CP_NEEDS_NOTHING_MORE)
        : CpOpening(cpController, request)
    {
        takeModelSteps(needs);
    }
};

// The standard opening of a processor that takes the model steps later than its request: after
// a check of the request, a branch that needs no model, or a first read of the controller, so
// that those keep their place before the steps' messages and reads.
//
//   CpDeferredStart<CfgDsplyParsedObject> start(cpController, request, "CfgDsplyParsedObject *");
//   if (!start)
//       return start.result();
//   ... the command's first steps ...
//   if (!start.take(CP_NEEDS_REFRESHED_MODEL))
//       return start.result();
template <class Request>
class CpDeferredStart : public CpStart<Request> {
public:
    CpDeferredStart(CpController* cpController, ParsedObject* request, const char* requestText)
        : CpStart<Request>(cpController, request, requestText)
    {
    }

    // Takes the steps of `needs` now: true when they succeed; else false after the message of
    // the step that failed, with result() as the opening gives it.
    bool take(unsigned needs)
    {
        this->takeModelSteps(needs);
        return static_cast<bool>(*this);
    }
};

// The model steps of `needs` taken in the middle of a command by a step that does not hold the
// command's opening (a helper of one branch, a check shared by several commands): as the
// opening takes them, with `number` naming the adapter in their messages (the opening's
// number(), or adapterNumberOf(cpController) where the controller's number names it).
//
//   CpModelSteps model(cpController, adapterNumber, CP_NEEDS_MODEL_ADAPTER);
//   if (!model)
//       return model.result();
//   ... model.manager(), model.adapter() ...
class CpModelSteps : public CpOpening {
public:
    CpModelSteps(CpController* cpController, uint8_t number, unsigned needs)
        : CpOpening(cpController, number)
    {
        takeModelSteps(needs);
    }
};

// The frame of a processor class XxxCp that derives from a shared processor base `Base` (a
// family of processors with common steps, itself a CommandProcessor): the create function and
// the command ids of XxxCp, as CpFrame gives them. Each class of the family names its own ids;
// a class derived from a registered one hides that one's create and ids with its own.
//
//   class LdAutoCp : public CpFrameOver<LdAddCp, LdAutoCp, TOKEN_ADPCFGALLFREEDRV> { ... };
template <class Base, class XxxCp, unsigned short... Ids>
class CpFrameOver : public Base {
public:
    static CommandProcessor* create(unsigned short kind) { return CpFrame<XxxCp, Ids...>::create(kind); }
    static ArrayList<unsigned short>* commandIds() { return CpFrame<XxxCp, Ids...>::commandIds(); }
};

// Reads the model afresh and leaves a failed read unreported (see CpQuietRefresh).
void refreshQuietly(RaidManager* manager);

// The opening of a processor that reads the model afresh but reports a failed read only
// through the step after it: a failed read leaves the adapter element absent, which the
// adapter step reports (message 0x30023). The steps of `Opening` (CpStart<Request>,
// CpPlainStart or CpModelSteps, given their arguments without `needs`) with the RAID manager,
// then the model read afresh quietly, then the adapter element.
template <class Opening>
class CpQuietRefresh : public Opening {
public:
    template <class... Args>
    explicit CpQuietRefresh(Args... args) : Opening(args..., CP_NEEDS_MODEL)
    {
        if (!*this)
            return;
        refreshQuietly(this->manager());
        this->takeModelSteps(CP_NEEDS_ADAPTER);
    }
};

#endif
