// The per-controller executor of one request: a CpController pairs the request with the
// controller it runs on and with the command processor that carries it out. The dispatcher
// (CpControllerMgmt) makes one per request and addressed controller and calls process; every
// command processor receives it as the first argument of CommandProcessor::process.
//
// The classes mirror the controller classes level by level and each reports the type code of
// its controller counterpart. OemCpController, ProtocolCpController and RAIDCpController derive
// virtually from CpController, so an object holds exactly one CpController part however many
// levels it combines. A plain CpController without a controller serves the commands that need
// none.
#ifndef CPCONTROLLER_H
#define CPCONTROLLER_H

class CommandProcessor;
class Controller;
class ParsedObject;

class CpController {
public:
    // Takes ownership of the request (which may be null); the controller (which may be null)
    // stays owned by the dispatcher.
    CpController(Controller* controller, ParsedObject* request);

    virtual int type();
    // Checks the controller (unless the command's traits skip the check), finds the command
    // processor once and runs it: -1, a status of the checks, or the processor's result.
    virtual int process();
    virtual Controller* controller();
    // Deletes the request, then the processor; never the controller.
    virtual ~CpController();

    // True while no processor has been found, else the processor's answer.
    bool isDone();

    ParsedObject* getRequest() const { return request; }
    CommandProcessor* getProcessor() const { return processor; }

    CpController(const CpController&) = delete;
    CpController& operator=(const CpController&) = delete;

protected:
    Controller* ctrl;
    ParsedObject* request;
    CommandProcessor* processor;

private:
    // The controller check (RAID manager, adapter, OEM identifier, compatibility both ways).
    // False when the command must stop with `status`; true to go on, with `status` the
    // firmware-compatibility check's status.
    bool checkController(int& status);
};

class OemCpController : public virtual CpController {
public:
    OemCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~OemCpController() override;
};

class ProtocolCpController : public virtual CpController {
public:
    ProtocolCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~ProtocolCpController() override;
};

class OrvaneCpController : public OemCpController {
public:
    OrvaneCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~OrvaneCpController() override;
};

class SasCpController : public ProtocolCpController {
public:
    SasCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~SasCpController() override;
};

class RAIDCpController : public virtual CpController {
public:
    RAIDCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~RAIDCpController() override;
};

class HwrCpController : public RAIDCpController {
public:
    HwrCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~HwrCpController() override;
};

// The executor of every controller of the Linux driver.
class OrvaneSasHwrCpController : public OrvaneCpController, public SasCpController, public HwrCpController {
public:
    static const unsigned short TYPE_CODE = 7;

    OrvaneSasHwrCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~OrvaneSasHwrCpController() override;

    static CpController* create(Controller* controller, ParsedObject* request);
};

// The executor of the controllers that the integrated-RAID library presents to the host-cache
// commands.
class TidexCpController : public OrvaneCpController {
public:
    static const unsigned short TYPE_CODE = 14;

    TidexCpController(Controller* controller, ParsedObject* request);
    int type() override;
    ~TidexCpController() override;

    static CpController* create(Controller* controller, ParsedObject* request);
};

#endif
