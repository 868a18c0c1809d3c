#include "CpMgmt/CmdPro/VirtualDrive/LdBadBlockCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdBbmLogList.h"

namespace {

// The drive of the sorted list with the target id; a target id the configuration holds but
// the list lacks is reported as missing.
VirtualDisk* walkDrive(ArrayList<VirtualDisk*>* vds, uint8_t targetId, uint8_t adapterNumber)
{
    VirtualDisk* vd = findVdByTargetId(vds, targetId);
    if (vd == nullptr)
        printMessage(MSG_VD_NOT_FOUND, static_cast<int>(adapterNumber), static_cast<int>(targetId));
    return vd;
}

uint32_t referenceOf(VirtualDisk* vd, uint8_t targetId)
{
    VdIdZpr* id = dynamic_cast<VdIdZpr*>(vd->getId());
    uint16_t sequence = id != nullptr ? id->getSequenceNumber() : VdIdZpr::SEQUENCE_UNKNOWN;
    return static_cast<uint32_t>(targetId) | (static_cast<uint32_t>(sequence) << 16);
}

} // namespace

int LdBBMClearCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdBBMClearParsedObject> start(cpController, request, "LdBBMClearParsedObject *...",
                                          CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    LdBBMClearParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();
    uint8_t supported = 0;
    ignoreStatus(adapter->isBadBlockManagementSupported(&supported), "an unread flag keeps 0: not supported");
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(manager, adapterNumber, &vdCount))
        return counted;
    const bool all = selectsAllVds(own);
    const unsigned n = all ? vdCount : own->getLdCount();
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return 0;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    int result = -1;
    for (unsigned i = 0; i < n; ++i) {
        uint8_t targetId = 0;
        VirtualDisk* vd = nullptr;
        int failure = 0;
        if (!walkTargetId(own, vds, all, i, manager, adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            continue;
        }
        if ((vd = walkDrive(vds, targetId, adapterNumber)) == nullptr)
            continue;
        if (supported == 0) {
            printMessage(MSG_BBM_NOT_SUPPORTED);
            return -1;
        }
        // A drive whose information cannot be read has unknown bad blocks, not none.
        uint8_t badBlocks = 0;
        result = vd->hasBadBlocks(&badBlocks);
        if (result != 0)
            return vdUnreadable(adapterNumber, targetId, result);
        if (badBlocks == 0) {
            printMessage(MSG_BBM_NOTHING);
            continue;
        }
        result = vd->clearBadBlocks();
        if (result != 0) {
            printMessage(MSG_BBM_CLEAR_FAILED);
            return result;
        }
        printMessage(MSG_BBM_CLEARED);
    }
    return result;
}

int LdBbtEntriesCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdBbtEntriesParsedObject> start(cpController, request, "LdBbtEntriesParsedObject *...", CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    LdBbtEntriesParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(manager, adapterNumber, &vdCount))
        return counted;
    const bool all = selectsAllVds(own);
    printMessage(MSG_VD_INFO_HEADER, static_cast<int>(adapterNumber));
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return 0;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    if (all)
        return showLogList(cpController, vds);
    int result = 0;
    for (unsigned char i = 0; i < own->getLdCount(); ++i) {
        uint8_t targetId = 0;
        VirtualDisk* vd = nullptr;
        int failure = 0;
        if (!walkTargetId(own, vds, false, i, manager, adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            result = -1;
            continue;
        }
        if ((vd = walkDrive(vds, targetId, adapterNumber)) == nullptr) {
            result = -1;
            continue;
        }
        if ((result = showLogInfo(cpController, referenceOf(vd, targetId))) != 0)
            return result;
    }
    return result;
}

int LdBbtEntriesCp::showLogInfo(CpController* cpController, uint32_t reference)
{
    uint8_t record[ZprLdBbmLogInfo::SIZE] = {};
    const int a = static_cast<int>(adapterNumberOf(cpController));
    int status = sendDcmdWithWord(cpController, DCMD_LD_BBM_GET_LOG_INFO, reference, record, 0);
    if (status == 0) {
        ZprLdBbmLogInfo info(record, sizeof record);
        printHeader();
        printRow(static_cast<uint8_t>(reference & 0xFF), info.corrected(), info.uncorrected());
    } else if (status == STATUS_NOT_SUPPORTED) {
        printMessage(MSG_ADAPTER_TEXT, a, "LD bad block management is not enabled.");
    } else if (status == STATUS_NO_DEVICE) {
        printMessage(MSG_ADAPTER_TEXT, a, "TargetId is invalid.");
    } else {
        printMessage(MSG_ADAPTER_TEXT, a, "Get LD BBM Log Failed.");
    }
    return status;
}

int LdBbtEntriesCp::showLogList(CpController* cpController, ArrayList<VirtualDisk*>* vds)
{
    // The record is too large for the stack of a display; it lives for this read only.
    uint8_t* record = new (noThrowNew) uint8_t[ZprLdBbmLogList::SIZE]();
    if (record == nullptr) {
        printMessage(MSG_NO_MEMORY, "LD BBM log list");
        return -1;
    }
    const int a = static_cast<int>(adapterNumberOf(cpController));
    int status = sendDcmd(cpController, DCMD_LD_BBM_GET_LOG_LIST, record);
    if (status == 0) {
        ZprLdBbmLogList list(record, ZprLdBbmLogList::SIZE);
        printHeader();
        for (uint32_t i = 0; i < vds->count() && i < list.entryCount(); ++i) {
            uint8_t targetId = targetIdOf(vds->get(static_cast<unsigned char>(i)));
            if (targetId < ZprLdBbmLogList::MAX_TARGET_IDS) {
                ZprLdBbmLogInfo info = list.entry(targetId);
                printRow(targetId, info.corrected(), info.uncorrected());
            } else {
                printMessage(MSG_DECIMAL, static_cast<int>(targetId));
                printMessage(MSG_TEXT, "    In valid Target ID");
                printMessage(MSG_NEWLINE);
            }
        }
    } else if (status == STATUS_NOT_SUPPORTED) {
        printMessage(MSG_ADAPTER_TEXT, a, "LD bad block management is not enabled.");
    } else {
        printMessage(MSG_ADAPTER_TEXT, a, "Get LD BBM Log List Failed.");
    }
    delete[] record;
    return status;
}

void LdBbtEntriesCp::printHeader()
{
    printMessage(MSG_TEXT, "TargetID        ");
    printMessage(MSG_TEXT, "Corrected Entries        ");
    printMessage(MSG_TEXT, "UnCorrected Entries");
    printMessage(MSG_NEWLINE);
}

void LdBbtEntriesCp::printRow(uint8_t targetId, uint64_t corrected, uint64_t uncorrected)
{
    printMessage(MSG_DECIMAL, static_cast<int>(targetId));
    printMessage(MSG_TEXT, "              ");
    printMessage(MSG_DECIMAL64, static_cast<long long>(corrected));
    printMessage(MSG_TEXT, "                      ");
    printMessage(MSG_DECIMAL64, static_cast<long long>(uncorrected));
    printMessage(MSG_NEWLINE);
}

namespace {

const CpRegistration<LdBBMClearCp> clearRegistration;
const CpRegistration<LdBbtEntriesCp> entriesRegistration;

} // namespace
