#include "DispatchFakes.h"

#include <cstring>

#include <gtest/gtest.h>

#include "CpMgmt/CpController.h"
#include "CpMgmt/CpControllerMgmt.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "Output/VoPrint.h"
#include "System/PavError.h"

int TestRequest::alive = 0;
ProcessorScript processorScript;

int SimHostProvider::execute(DpParams* request)
{
    bool wasInstalled = host->installed();
    host->install();
    int result = LinuxZprDataProvider::instance()->execute(request);
    if (!wasInstalled)
        host->uninstall();
    return result;
}

bool SimHostProvider::supports(uint8_t kind)
{
    return LinuxZprDataProvider::instance()->supports(kind);
}

FakeController::FakeController(ControllerId* id, uint16_t typeCode, DataProvider* provider)
    : Controller(id), typeCode(typeCode)
{
    addDataProvider(provider);
}

FakeController::~FakeController() {}

const string& FakeController::name() const
{
    static const string text("Test Controller");
    return text;
}

FakeControllerMgmt::FakeControllerMgmt() {}

FakeControllerMgmt::~FakeControllerMgmt()
{
    dropHost();
}

void FakeControllerMgmt::makeHost()
{
    simhost::StateEdit edit = simhost::withControllers(static_cast<unsigned>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const SimFirmwareSetup& f = entries[i].firmware;
        unsigned n = static_cast<unsigned>(i);
        edit = simhost::both(edit, simhost::withCompatibility(n, f.forwardCompat, f.backwardCompat));
        edit = simhost::both(edit, simhost::withOemId(n, f.oemId));
        for (const auto& failing : f.failStatus)
            edit = simhost::both(edit, simhost::withStatusFault(failing.first, static_cast<uint8_t>(failing.second),
                                                                static_cast<int>(2 + n)));
    }
    host.reset(new simhost::SimHostFixture("one", edit, false));
    provider.reset(new SimHostProvider(host.get()));
    host->install();
    discovery.reset(new simhost::SimControllers());
    host->uninstall();
}

void FakeControllerMgmt::dropHost()
{
    if (host != nullptr) {
        host->install();   // the explorer closes its driver nodes through the host
        discovery.reset();
        host->uninstall();
    }
    provider.reset();
    host.reset();
}

ArrayList<ControllerId*>* FakeControllerMgmt::detect()
{
    ++detectCalls;
    if (detectFails)
        return nullptr;
    index.clear();
    if (entries.empty())
        return new ArrayList<ControllerId*>(4);
    if (host == nullptr)
        makeHost();
    host->install();
    ArrayList<ControllerId*>* ids = discovery->detect();
    host->uninstall();
    host->clearCommands();   // what discovery read is not the dispatcher's doing
    if (ids == nullptr || ids->count() != entries.size()) {
        ADD_FAILURE() << "the simulated host shows " << (ids ? ids->count() : 0) << " controllers, not "
                      << entries.size();
        return ids;
    }
    for (unsigned char i = 0; i < ids->count(); ++i)
        index[ids->get(i)] = i;
    return ids;
}

Controller* FakeControllerMgmt::createController(ControllerId* id)
{
    ++createCalls;
    auto found = index.find(id);
    if (found == index.end())
        return nullptr;
    Entry& entry = entries[found->second];
    if (!entry.yieldsController)
        return nullptr;
    return new FakeController(id, entry.typeCode, provider.get());
}

std::vector<uint32_t> FakeControllerMgmt::sent(size_t i) const
{
    return host != nullptr ? host->opcodes(static_cast<int>(2 + i)) : std::vector<uint32_t>();
}

void FakeControllerMgmt::reset()
{
    detectFails = false;
    entries.clear();
    detectCalls = 0;
    createCalls = 0;
    index.clear();
    dropHost();
}

TestRequest::TestRequest(unsigned short token, unsigned char adapter, bool copyable)
    : ParsedObject(token, adapter), copyable(copyable)
{
    ++alive;
}

TestRequest::~TestRequest()
{
    --alive;
}

ParsedObject* TestRequest::clone()
{
    if (!copyable)
        return nullptr;
    return new TestRequest(getCommandToken(), getAdapterNumber(), true);
}

int ScriptedCp::process(CpController* cpController, ParsedObject* request)
{
    ++callCount;
    Controller* controller = cpController->controller();
    int adapter = -1;
    if (controller != nullptr && controller->controllerId() != nullptr)
        adapter = controller->controllerId()->getNumber();
    processorScript.calls.push_back({adapter, request != nullptr ? request->getCommandToken() : (unsigned short)0,
                                     request != nullptr});
    auto scripted = processorScript.resultOnCall.find(callCount);
    if (scripted != processorScript.resultOnCall.end())
        return scripted->second;
    auto result = processorScript.results.find(controller != nullptr ? adapter : -2);
    return result != processorScript.results.end() ? result->second : 0;
}

OutputCapture::OutputCapture() : savedMode(VoPrint::instance()->getMode())
{
    VoPrint::instance()->setMode(VOPRINT_MODE_SCREEN);
}

std::string OutputCapture::take()
{
    return stream.take();
}

OutputCapture::~OutputCapture()
{
    stream.take();
    VoPrint::instance()->setMode(savedMode);
}

std::vector<int> ProcessorScript::adaptersRun() const
{
    std::vector<int> adapters;
    for (const Call& call : calls)
        adapters.push_back(call.adapter);
    return adapters;
}

int dispatchRequests(const std::vector<ParsedObject*>& requests, std::string& printed)
{
    ArrayList<ParsedObject*>* list = new ArrayList<ParsedObject*>(4);
    for (ParsedObject* r : requests)
        list->add(r);
    OutputCapture capture;
    int result = CpControllerMgmt::instance()->run(list);
    printed = capture.take();
    return result;
}
