// The virtual-drive members of the progress display: the first pass over the logical-drive list
// of the request (or every virtual drive), then the screen over the drives found running.
#include "CpMgmt/CmdPro/Display/ProgressDisplay.h"

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "Output/VoMessage.h"
#include "Parser/ParsedObject.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdProgressBlock.h"
#include "System/PavError.h"

namespace {

struct VdItem {
    uint8_t targetId;
    ProgressRecord record;
};

class VdItems : public ProgressItems {
public:
    VdItems(RaidManager* manager, LdProgressBlock* block, const VdProgressMember& member)
        : manager(manager), block(block), member(member)
    {
    }

    std::vector<VdItem> items;

    size_t count() const override { return items.size(); }
    ProgressRecord& record(size_t index) override { return items[index].record; }

    // A drive no longer in the configuration (read afresh) is not shown; one that cannot be
    // told stays, its refresh showing what can be read of it.
    bool present(size_t index) override
    {
        uint8_t inConfig = 0;
        return manager->findTargetIdInConfig(items[index].targetId, 1, &inConfig) != 0 || inConfig != 0;
    }

    int refresh(size_t index, ReadOutcome* outcome) override
    {
        VdItem& item = items[index];
        VdLookup lookup;
        int status = lookup.lookUp(manager, item.targetId);
        if (status != 0) {
            *outcome = ReadOutcome::NOT_SHOWN;
            return status;
        }
        status = lookup.get()->getProgress(block);
        if (status != 0) {
            // The block then holds another read's bytes: the line keeps what it showed.
            *outcome = ReadOutcome::UNCHANGED;
            return status;
        }
        if ((block->running() & member.runningBit) != 0) {
            const ProgressEntry entry = block->entry(member.entry);
            item.record.progress = entry.progress;
            item.record.elapsedSeconds = entry.elapsedSeconds;
            *outcome = ReadOutcome::RUNNING;
        } else {
            item.record.progress = PROGRESS_ENDED;
            *outcome = ReadOutcome::ENDED;
        }
        return 0;
    }

    void prefix(size_t index, char* out, size_t size) override { formatVdPrefix(items[index].targetId, out, size); }

private:
    RaidManager* manager;
    LdProgressBlock* block;
    const VdProgressMember& member;
};

// The target ids the request names, in order: every configured drive by target id with
// ALL_LDS, else the list's entries. 0, or the configuration read's status after its line.
int requestedTargetIds(RaidManager* manager, const LdParsedObject* request, uint8_t vdCount, std::vector<uint8_t>* ids)
{
    if (selectsAllVds(request)) {
        ArrayList<VirtualDisk*>* vds = nullptr;
        if (const int unread = sortedVds(manager, &vds))
            return unread;
        for (unsigned char i = 0; vds != nullptr && i < vdCount && i < vds->count(); ++i)
            ids->push_back(targetIdOf(vds->get(i)));
        return 0;
    }
    for (unsigned char i = 0; request != nullptr && i < request->getLdCount(); ++i)
        ids->push_back(request->getLd(i));
    return 0;
}

}  // namespace

int showVdProgress(CpController* cpController, const LdParsedObject* request, LdProgressBlock* block,
                   const VdProgressMember& member)
{
    Controller* controller = controllerOf(cpController);
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    if (manager == nullptr || block == nullptr)
        return -1;
    const int adapter = adapterNumberOf(cpController);
    uint8_t vdCount = 0;
    if (const int unread = manager->getVdCount(&vdCount)) {
        printMessage(MSG_OPERATION_FAILED, adapter, "LD");
        return unread;
    }
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, adapter);
        return -1;
    }
    const bool all = selectsAllVds(request);
    VdItems items(manager, block, member);
    int result = 0;
    uint32_t unreadWord = 0;
    bool notRunningShown = false;
    size_t running = 0;
    std::vector<uint8_t> targetIds;
    if (const int unread = requestedTargetIds(manager, request, vdCount, &targetIds))
        return unread;
    for (uint8_t targetId : targetIds) {
        int unread = 0;
        if (!all && !configHoldsTargetId(manager, static_cast<uint8_t>(adapter), targetId, &unread)) {
            if (unread != 0)
                return unread;
            continue;
        }
        VdItem item = {targetId, {0, 0}};
        VdLookup lookup;
        int status = lookup.lookUp(manager, targetId);
        if (status != 0) {
            printMessage(MSG_GET_FAILED, "VD object");
        } else if ((status = lookup.get()->getProgress(block)) != 0) {
            printMessage(MSG_VD_PROGRESS_READ_FAILED, static_cast<int>(targetId));
            printMessage(MSG_NEWLINE);
        }
        if (status != 0) {
            // Shown all the same while it stays configured; it keeps the display open only
            // once a read finds it running. The word of the first failed read is kept for the
            // end of the run, past the reads of the drives after it.
            if (result == 0) {
                unreadWord = PavError::takeLastError();
                PavError::setLastError(unreadWord);
                result = status;
            }
            items.items.push_back(item);
            continue;
        }
        const bool isRunning = (block->running() & member.runningBit) != 0;
        const bool suspended = member.suspendedBit != 0 && (block->suspended() & member.suspendedBit) != 0;
        if (isRunning && !suspended) {
            items.items.push_back(item);
            ++running;
            continue;
        }
        if (suspended && member.suspendedText != nullptr)
            printMessage(MSG_TEXT, member.suspendedText);
        printMessage(member.notRunningMessage, static_cast<int>(targetId));
        notRunningShown = true;
    }
    if (notRunningShown)
        pauseAfterNotRunningLines();
    if (running == 0) {
        if (result != 0)
            PavError::setLastError(unreadWord);
        return result;
    }
    return runProgressDisplay(items, member.style, FirstReadClears::AT_ANY_REFRESH);
}
