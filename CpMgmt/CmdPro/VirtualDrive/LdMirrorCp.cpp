#include "CpMgmt/CmdPro/VirtualDrive/LdMirrorCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/Config/CfgDsplyCp.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Config/ZprConfigBuffer.h"

namespace {

const uint8_t DATA_FROM_DRIVES = 1;

} // namespace

int LdMirrorCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<LdMirrorParsedObject> start(cpController, request, "LdMirrorParsedObject *...", CP_NEEDS_MODEL_ADAPTER);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    LdMirrorParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();
    uint8_t supported = 0;
    // A support flag that cannot be read counts as no support.
    ignoreStatus(adapter->isLdMirrorSupported(&supported), "an unread flag keeps 0: not supported");
    if (supported != 1) {
        printMessage(MSG_NEWLINE);
        printMessage(MSG_TEXT, "This feature is not supported");
        printMessage(MSG_NEWLINE);
        return -1;
    }
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
    int result = 0;
    for (unsigned i = 0; i < n; ++i) {
        uint8_t targetId = 0;
        int failure = 0;
        if (!walkTargetId(own, vds, all, i, manager, adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            result = -1;
            continue;
        }
        // A drive the model makes for the lookup (one not in the configuration it holds, which
        // a view replaces) is deleted with the lookup. A drive the configuration holds whose
        // lookup fails is unknown: the lookup's status (a read's) ends the walk.
        VdLookup lookup;
        if ((result = lookup.lookUp(manager, targetId)) != 0) {
            printMessage(MSG_GET_FAILED, "VD object");
            return result;
        }
        bool ends = false;
        result = mirrorOneVd(own, manager, lookup.get(), &ends);
        if (ends)
            return result;
    }
    return result;
}

int LdMirrorCp::mirrorOneVd(LdMirrorParsedObject* request, RaidManager* manager, VirtualDisk* vd, bool* ends)
{
    *ends = true;
    if (request->getCommandToken() == TOKEN_LDBREAKMIRROR) {
        printMessage(MSG_NEWLINE);
        printMessage(MSG_TEXT, "Invalid operation!! \nBreak mirror is an offline operation.");
        printMessage(MSG_NEWLINE);
        return -1;
    }
    if (vd->hasMirror() == 0) {
        printMessage(MSG_TEXT, "VD does not have mirror");
        return -1;
    }
    if (request->getCommandToken() == TOKEN_LDVIEWMIRROR) {
        uint8_t* buffer = nullptr;
        int status = vd->getMirrorInfo(&buffer);
        if (status != 0 || buffer == nullptr)
            return status != 0 ? status : -1;
        showMirror(manager, buffer);
        delete[] buffer;
        *ends = false;
        return 0;
    }
    if (request->getDataSource() == DATA_FROM_DRIVES && request->force == 0) {
        printMessage(MSG_TEXT, "Performing this operation will change the Data on Source VD.\n");
        printMessage(MSG_TEXT, " use -force option if you are sure to perform this operation\n");
        return -1;
    }
    int status = vd->joinMirror(request->getDataSource());
    if (status != 0) {
        printMessage(MSG_TEXT, "Failed to Join the mirror\n");
        return status;
    }
    *ends = false;
    return 0;
}

int LdMirrorCp::showMirror(RaidManager* manager, const uint8_t* buffer)
{
    // The buffer was checked when it was read: its header's counts describe its whole size.
    const uint64_t size = ZprConfigBuffer(buffer, ZprConfigHeader::SIZE).requiredSize();
    ignoreStatus(manager->parseConfigBuffer(ZprConfigBuffer(buffer, static_cast<size_t>(size))),
                 "the buffer was checked when it was read");
    return CfgDsplyCp::showConfiguration(manager, CfgWalkKind::Mirror);
}

namespace {

const CpRegistration<LdMirrorCp> registration;

} // namespace
