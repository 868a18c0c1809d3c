// Test doubles for the dispatcher: controllers answering from an in-memory controller record,
// a controller management that hands them out, requests that count their copies, and
// processors whose results and completion a test scripts.
#ifndef DISPATCHFAKES_H
#define DISPATCHFAKES_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/ControllerMgmt.h"
#include "CpMgmt/CommandProcessor.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DataProvider.h"
#include "Parser/ParsedObject.h"
#include "TestSupport.h"

// What a fake controller's firmware answers.
struct FakeFirmware {
    uint16_t forwardCompat = 0;
    uint16_t backwardCompat = 0;
    uint8_t oemId = 1;
    std::vector<uint16_t> enclosures;    // device ids of the enclosure list
    std::map<uint32_t, int> failStatus;  // opcode -> status answered instead of the data
    std::vector<uint32_t> sent;          // opcodes received, in order
};

class FakeProvider : public DataProvider {
public:
    explicit FakeProvider(FakeFirmware* firmware) : firmware(firmware) {}
    int execute(DpParams* request) override;
    bool supports(uint8_t kind) override { return kind == 0; }
    ~FakeProvider() override {}

private:
    FakeFirmware* firmware;
};

class FakeControllerId : public ControllerId {
public:
    FakeControllerId() {}
    ~FakeControllerId() override {}
};

class FakeController : public Controller {
public:
    FakeController(ControllerId* id, uint16_t typeCode, FakeFirmware* firmware);
    ~FakeController() override;
    uint16_t type() const override { return typeCode; }
    const string& name() const override;
    uint8_t adapterNumberBase() const override { return 0; }
    string vendorName() const override { return string("Test"); }

private:
    uint16_t typeCode;
    FakeProvider provider;
};

// A controller management over a scripted set of controllers.
class FakeControllerMgmt : public ControllerMgmt {
public:
    struct Entry {
        uint16_t typeCode = 7;
        bool yieldsController = true;
        FakeFirmware firmware;
    };

    ArrayList<ControllerId*>* detect() override;
    Controller* createController(ControllerId* id) override;

    bool detectFails = false;            // detect gives no list at all
    std::vector<Entry> entries;          // one identifier per entry, in discovery order
    int detectCalls = 0;
    int createCalls = 0;
    std::map<ControllerId*, size_t> index;  // identifier -> entry

    FakeFirmware& firmware(size_t i) { return entries[i].firmware; }
    // Back to no controllers and no counts.
    void reset()
    {
        detectFails = false;
        entries.clear();
        detectCalls = 0;
        createCalls = 0;
        index.clear();
    }
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
