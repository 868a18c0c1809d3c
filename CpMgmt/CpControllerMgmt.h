// Command dispatch: runs the requests of one command on the controllers they address.
//
// The controllers are detected once per run (again only while detection gives no list) and
// made lazily, in discovery order: a request for adapter N makes and numbers the controllers
// only up to adapter N, and a later request of the same run resumes where numbering stopped.
// Every addressed controller gets one CpController; a request for all adapters is copied once
// per controller. What a command needs (a controller or not, the controller check, which
// controller management, whether its result is a count, or an answer from the dispatcher
// itself, as the controller count has) comes from the command's traits (CpTraits.h); nothing
// here names a command.
//
// The result of a command is that of the last CpController::process call: with "-aALL" a
// failure on one adapter leaves the later adapters unrun; with "-a0,1,2" each adapter is a
// request of its own and runs regardless of the others; a request that cannot be dispatched
// ends the command with -1.
#ifndef CPCONTROLLERMGMT_H
#define CPCONTROLLERMGMT_H

#include "CpMgmt/CpTraits.h"
#include "PavUtil/List.h"

class Controller;
class ControllerId;
class ControllerMgmt;
class CpController;
class ParsedObject;

class CpControllerMgmt {
public:
    // The process-wide dispatcher; the first call also fills the CpControllerFactory.
    static CpControllerMgmt* instance();

    // Runs the requests and returns the command's result. Takes ownership of the list and of
    // every request in it; releases the RAID managers, the controllers and the identifiers
    // before it returns.
    int run(ArrayList<ParsedObject*>* requests);

    // Detects the controller identifiers unless a list is held already.
    void loadControllerIds(unsigned short commandToken);
    // The first controller of the list that carries the adapter number, or null.
    Controller* findController(unsigned char adapterNumber, ArrayList<Controller*>* list);
    // The executor of a single-adapter request, owning it; null when the request cannot be
    // dispatched (the request then stays the caller's).
    CpController* getCpController(ParsedObject* request);
    // The executors of an all-adapters request, one per controller, each owning its own copy;
    // null when there are none. The request itself is consumed in every case.
    ArrayList<CpController*>* getAllCpControllers(ParsedObject* request);

    virtual ~CpControllerMgmt();

    // Test seam: the controller management that detection and controller creation use instead
    // of the Linux driver's and the integrated-RAID library's (null restores them).
    static void setControllerMgmtOverride(ControllerMgmt* management);
    // Test seam: the same for the commands of one management kind only.
    static void setControllerMgmtOverride(CpManagementKind kind, ControllerMgmt* management);

    CpControllerMgmt(const CpControllerMgmt&) = delete;
    CpControllerMgmt& operator=(const CpControllerMgmt&) = delete;

private:
    CpControllerMgmt();

    // The management that serves the command, by its traits' management kind: the Linux
    // driver's or the integrated-RAID library's.
    ControllerMgmt* managementFor(unsigned short commandToken);
    // The number of the first controller numbered in a run.
    static unsigned char firstAdapterNumber(Controller* controller);

    enum class Numbering { Found, NotPresent, Failed };
    // Makes and numbers the controllers of the identifiers after the last one numbered, until
    // one carries the adapter number (Found, the controller in `found`) or the list ends
    // (NotPresent). Failed: nothing is left to number, or a failure with its message.
    Numbering numberControllersUpTo(unsigned char adapterNumber, unsigned short token, Controller*& found);
    // Makes and numbers every controller unless they are made already; false when there are none.
    bool makeAllControllers(unsigned short token);
    // The executors of one request, which is consumed; null (after its message) when the request
    // cannot be dispatched.
    ArrayList<CpController*>* cpControllersFor(ParsedObject* request);
    // The controller count: the number of executors an all-adapters request gets; every
    // controller is released afterwards.
    int answerControllerCount(ParsedObject* request);
    // Deletes the controllers and the identifiers (after the RAID managers are gone).
    void releaseControllers();

    ArrayList<ControllerId*>* controllerIds;
    ArrayList<Controller*>* controllers;
};

#endif
