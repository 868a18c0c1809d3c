#include "CpMgmt/CmdPro/CpFrame.h"

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "Parser/ParsedObject.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/RaidManager.h"

namespace {

// The controller's RAID manager; null after message 0x30021.
RaidManager* takeRaidManager(CpController* cpController, uint8_t adapterNumber)
{
    Controller* controller = controllerOf(cpController);
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    if (manager == nullptr)
        printMessage(MSG_RM_INSTANCE_FAILED, static_cast<int>(adapterNumber));
    return manager;
}

} // namespace

CpOpening::CpOpening(CpController* cpController, ParsedObject* request)
    : CpOpening(cpController, request != nullptr ? request->getAdapterNumber() : adapterNumberOf(cpController))
{
}

CpOpening::CpOpening(CpController* cpController, uint8_t number) : executor_(cpController), number_(number) {}

void CpOpening::refuseRequest(const char* requestText)
{
    printMessage(MSG_DYNAMIC_CAST_FAILED, static_cast<int>(number_), requestText);
    result_ = -1;
}

void CpOpening::takeModelSteps(unsigned needs)
{
    if (result_ != 0 || needs == CP_NEEDS_NOTHING_MORE)
        return;
    manager_ = takeRaidManager(executor_, number_);
    if (manager_ == nullptr) {
        result_ = -1;
        return;
    }
    if ((needs & CP_NEEDS_REFRESH) != 0) {
        const int status = refreshModel(manager_, number_);
        if (status != 0) {
            result_ = status;
            return;
        }
    }
    if ((needs & CP_NEEDS_ADAPTER) != 0) {
        adapter_ = takeAdapter(manager_, number_);
        if (adapter_ == nullptr)
            result_ = -1;
    }
}

int CpOpening::failed(const char* what, int status) const
{
    printMessage(MSG_OPERATION_FAILED, static_cast<int>(number_), what);
    return status;
}

void refreshQuietly(RaidManager* manager)
{
    if (manager != nullptr)
        ignoreStatus(manager->refresh(), "a failed read leaves the adapter absent, which the next step reports");
}
