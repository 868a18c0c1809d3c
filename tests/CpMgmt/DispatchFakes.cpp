#include "DispatchFakes.h"

#include <cstring>

#include <gtest/gtest.h>

#include "CpMgmt/CpController.h"
#include "CpMgmt/CpControllerMgmt.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "Output/VoPrint.h"
#include "System/PavError.h"

int TestRequest::alive = 0;
ProcessorScript processorScript;

int FakeProvider::execute(DpParams* request)
{
    DcmdZprDpParams* dcmd = dynamic_cast<DcmdZprDpParams*>(request);
    if (dcmd == nullptr)
        return -1;
    uint32_t opcode = dcmd->getOpcode();
    firmware->sent.push_back(opcode);
    auto failing = firmware->failStatus.find(opcode);
    if (failing != firmware->failStatus.end()) {
        PavError::setLastError(PAVERROR_FW_STATUS | static_cast<uint32_t>(failing->second));
        return failing->second;
    }
    uint8_t* data = static_cast<uint8_t*>(request->dataBuffer());
    if (opcode == DCMD_ADP_GET_INFO && data != nullptr) {
        memset(data, 0, 2048);
        data[0x5FC] = static_cast<uint8_t>(firmware->forwardCompat & 0xFF);
        data[0x5FD] = static_cast<uint8_t>(firmware->forwardCompat >> 8);
        data[0x5FE] = static_cast<uint8_t>(firmware->backwardCompat & 0xFF);
        data[0x5FF] = static_cast<uint8_t>(firmware->backwardCompat >> 8);
    } else if (opcode == DCMD_ADP_MFC_GET_OEM_DATA && data != nullptr) {
        memset(data, 0, 24);
        data[0] = firmware->oemId;
        // Bytes past the first belong to other fields; they must not leak into the id.
        data[1] = 0x7F;
    }
    else if (opcode == DCMD_ENCL_GET_LIST && data != nullptr) {
        memset(data, 0, 4616);
        data[0] = static_cast<uint8_t>(firmware->enclosures.size());
        for (size_t i = 0; i < firmware->enclosures.size() && i < 32; ++i) {
            data[8 + i * 144] = static_cast<uint8_t>(firmware->enclosures[i] & 0xFF);
            data[9 + i * 144] = static_cast<uint8_t>(firmware->enclosures[i] >> 8);
        }
    }
    PavError::setLastError(PAVERROR_FW_STATUS);
    return 0;
}

FakeController::FakeController(ControllerId* id, uint16_t typeCode, FakeFirmware* firmware)
    : Controller(id), typeCode(typeCode), provider(firmware)
{
    addDataProvider(&provider);
}

FakeController::~FakeController() {}

const string& FakeController::name() const
{
    static const string text("Test Controller");
    return text;
}

ArrayList<ControllerId*>* FakeControllerMgmt::detect()
{
    ++detectCalls;
    if (detectFails)
        return nullptr;
    ArrayList<ControllerId*>* ids = new ArrayList<ControllerId*>(4);
    index.clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        ControllerId* id = new FakeControllerId();
        index[id] = i;
        ids->add(id);
    }
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
    return new FakeController(id, entry.typeCode, &entry.firmware);
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
