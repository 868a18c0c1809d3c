// Test doubles for the dispatcher: a controller management that scripts detection over
// controllers of a simulated host, requests that count their copies, and processors whose
// results and completion a test scripts. The firmware answers come from the simulated host.
#ifndef DISPATCHFAKES_H
#define DISPATCHFAKES_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/ControllerMgmt.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DataProvider.h"
#include "Parser/ParsedObject.h"
#include "SimHostFixture.h"
#include "TestSupport.h"

// What the simulated firmware of a scripted controller holds; set before its management detects.
struct SimFirmwareSetup {
    uint16_t forwardCompat = 0;
    uint16_t backwardCompat = 0;
    uint8_t oemId = 1;
    std::map<uint32_t, int> failStatus;  // opcode -> status the firmware answers instead
};

// Carries a controller's firmware commands to a simulated host through the product's own driver
// transport, with that host installed as the OS boundary for the call (several managements,
// each with a host of its own, can then live side by side).
class SimHostProvider : public DataProvider {
public:
    explicit SimHostProvider(simhost::SimHostFixture* host) : host(host) {}
    int execute(DpParams* request) override;
    bool supports(uint8_t kind) override;
    ~SimHostProvider() override {}

private:
    simhost::SimHostFixture* host;
};

class FakeControllerId : public ControllerId {
public:
    FakeControllerId() {}
    ~FakeControllerId() override {}
};

// A controller of any type code; its firmware commands go to `provider` (none when null).
class FakeController : public Controller {
public:
    FakeController(ControllerId* id, uint16_t typeCode, DataProvider* provider);
    ~FakeController() override;
    uint16_t type() const override { return typeCode; }
    const string& name() const override;
    uint8_t adapterNumberBase() const override { return 0; }
    string vendorName() const override { return string("Test"); }

private:
    uint16_t typeCode;
};

// A controller management that scripts detection (failing, empty, identifiers without a
// controller, controllers of other types) over a simulated host: at the first detection it makes
// a host with one controller per entry (SCSI hosts 2, 3, ...; the entry's firmware setup applied)
// and discovers them through the driver as a run does.
class FakeControllerMgmt : public ControllerMgmt {
public:
    struct Entry {
        uint16_t typeCode = 7;
        bool yieldsController = true;
        SimFirmwareSetup firmware;
    };

    FakeControllerMgmt();
    ~FakeControllerMgmt() override;
    ArrayList<ControllerId*>* detect() override;
    Controller* createController(ControllerId* id) override;

    bool detectFails = false;            // detect gives no list at all
    std::vector<Entry> entries;          // one identifier per entry, in discovery order
    int detectCalls = 0;
    int createCalls = 0;
    std::map<ControllerId*, size_t> index;  // identifier -> entry

    SimFirmwareSetup& firmware(size_t i) { return entries[i].firmware; }
    // The opcodes that the simulated firmware of entry `i` received since the last detection.
    std::vector<uint32_t> sent(size_t i) const;
    // Back to no controllers, no counts and no host.
    void reset();

private:
    void makeHost();
    void dropHost();

    std::unique_ptr<simhost::SimHostFixture> host;
    std::unique_ptr<simhost::SimControllers> discovery;
    std::unique_ptr<SimHostProvider> provider;
};

// A request whose copies are counted; `copyable` false makes clone give null (as the version
// and help requests do).
class TestRequest : public ParsedObject {
public:
    TestRequest(unsigned short token, unsigned char adapter, bool copyable = true);
    ~TestRequest() override;
    ParsedObject* clone() override;

    static int alive;

private:
    bool copyable;
};

// What the scripted processors saw and answer.
struct ProcessorScript {
    // Result per adapter number (missing: 0); -2 as adapter key = the result without controller.
    std::map<int, int> results;
    // How many calls a processor needs before it is done (1: done after its first call).
    int callsUntilDone = 1;
    // Result of a processor's n-th call (counted per processor from 1), over `results`.
    std::map<int, int> resultOnCall;
    struct Call {
        int adapter;          // adapter number of the controller, -1 without a controller
        unsigned short token;
        bool hadRequest;
    };
    std::vector<Call> calls;

    // The adapter numbers of the calls, in order.
    std::vector<int> adaptersRun() const;
};

extern ProcessorScript processorScript;

class ScriptedCp : public CommandProcessor {
public:
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return callCount >= processorScript.callsUntilDone; }
    static CommandProcessor* create(unsigned short kind) { return createCommandProcessor<ScriptedCp>(kind); }

private:
    int callCount = 0;
};

// Collects everything printed through the console printer and stdout while it lives; the
// console log is switched off for the test and restored afterwards.
class OutputCapture {
public:
    OutputCapture();
    ~OutputCapture();
    std::string take();

private:
    unsigned char savedMode;
    testsupport::StreamCapture stream;
};

// Runs the requests through the process-wide dispatcher; returns the result and stores the
// printed text.
int dispatchRequests(const std::vector<ParsedObject*>& requests, std::string& printed);

#endif
