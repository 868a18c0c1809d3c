#include "CpMgmt/CmdPro/CpFrame.h"

#include "Output/VoMessage.h"
#include "Output/VtMessages.h"
#include "Parser/ParsedObject.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/RaidManager.h"

CpOpening::CpOpening(CpController* cpController, ParsedObject* request)
    : executor_(cpController),
      number_(request != nullptr ? request->getAdapterNumber() : adapterNumberOf(cpController))
{
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

Adapter* takeAdapterAfterQuietRefresh(const CpOpening& start)
{
    RaidManager* manager = start.manager();
    if (manager != nullptr)
        ignoreStatus(manager->refresh(), "a failed read leaves the adapter absent, which the adapter step reports");
    return takeAdapter(manager, start.number());
}
