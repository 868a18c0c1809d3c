#include "CpMgmt/CmdPro/Security/LdMakeSecureCp.h"

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "CpMgmt/EnclosureIdText.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/PdParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/EnclSlotId.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Security/ZprKeyIdBlock.h"

namespace {

// Makes one drive secure when it may be: 0 made secure, 1 not allowed (reported), else the
// failed command's status (reported).
int makeSecure(VirtualDisk* vd)
{
    // An allowed-operations word that cannot be read leaves the drive as not allowed.
    uint8_t allowed = 0;
    ignoreStatus(vd->isMakeSecureAllowed(&allowed), "an unread word keeps 0: not allowed");
    if (allowed != 1) {
        printMessage(MSG_LD_SECURE_NOT_ALLOWED);
        return 1;
    }
    const int status = vd->makeSecure();
    printMessage(status != 0 ? MSG_LD_SECURE_FAILED : MSG_LD_SECURE_DONE);
    return status;
}

// The key identifiers of the named drives, in the order given; the first failure ends the list
// (a drive list or drive information that cannot be read with its status, message 0x33006).
int showDriveKeyIds(CpController* cpController, RaidManager* manager, ArrayList<EnclSlotId*>* drives,
                    uint8_t adapterNumber)
{
    for (unsigned char i = 0; i < drives->count(); ++i) {
        EnclSlotId* address = drives->get(i);
        if (address == nullptr)
            continue;
        unsigned short enclosure = address->getEnclosureId();
        const int resolved = CommandProcessor::resolveEnclosureId(cpController, &enclosure);
        if (resolved != 0)
            return resolved;
        const int slot = address->getSlotNumber();
        PhysicalDevice* pd = nullptr;
        const int checked = lookUpDrive(manager, adapterNumber, enclosure, address->getSlotNumber(), &pd);
        if (checked != 0)
            return checked;
        if (pd == nullptr) {
            printMessage(MSG_PD_NOT_FOUND, static_cast<int>(adapterNumber), formatEnclosureId(enclosure), slot);
            return -1;
        }
        string keyId;
        if (pd->getSecurityKeyId(keyId) != 0) {
            printMessage(MSG_KEY_ID_OF_DRIVE_FAILED, formatEnclosureId(enclosure), slot);
            return -1;
        }
        printMessage(MSG_KEY_ID_OF_DRIVE, formatEnclosureId(enclosure), slot, printableText(keyId.c_str()).c_str());
    }
    return 0;
}

} // namespace

int LdMakeSecureCp::process(CpController* cpController, ParsedObject* request)
{
    CpStartOnController<LdMakeSecureParsedObject> start(cpController, request, "LdMakeSecureParsedObject *...",
                                                        CP_NEEDS_MODEL);
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    LdMakeSecureParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    uint8_t vdCount = 0;
    if (const int counted = readVdCount(manager, adapterNumber, &vdCount))
        return counted;
    if (vdCount == 0) {
        printMessage(MSG_NO_VD_CONFIGURED, static_cast<int>(adapterNumber));
        return 0;
    }
    ArrayList<VirtualDisk*>* vds = nullptr;
    const int listed = sortedVds(manager, &vds);
    if (listed != 0)
        return listed;
    const bool all = selectsAllVds(own);
    const unsigned n = all ? vdCount : own->getLdCount();
    int result = -1;
    for (unsigned i = 0; i < n; ++i) {
        uint8_t targetId = 0;
        int failure = 0;
        if (!walkTargetId(own, vds, all, i, manager, adapterNumber, &targetId, &failure)) {
            if (failure != 0)
                return failure;
            continue;
        }
        VirtualDisk* vd = findVdByTargetId(vds, targetId);
        if (vd == nullptr) {
            printMessage(MSG_VD_NOT_FOUND, static_cast<int>(adapterNumber), static_cast<int>(targetId));
            continue;
        }
        printMessage(MSG_VD_TITLE, "", static_cast<int>(targetId), static_cast<int>(targetId));
        const int status = makeSecure(vd);
        if (status == 1)
            continue;
        if (status != 0)
            return status;
        result = 0;
    }
    return result;
}

int AdpPdKeyIDSetGetCp::process(CpController* cpController, ParsedObject* request)
{
    CpQuietRefresh<CpStart<AdPdKeyIDGetSetParsedObject>> start(cpController, request, "AdPdKeyIDGetSetParsedObject *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    AdPdKeyIDGetSetParsedObject* own = start.request();
    RaidManager* manager = start.manager();
    Adapter* adapter = start.adapter();
    uint8_t enabled = 0;
    ignoreStatus(adapter->isEncryptionEnabled(&enabled), "an unread flag keeps 0: encryption disabled");
    if (enabled == 0) {
        printMessage(MSG_ENCRYPTION_DISABLED, static_cast<int>(adapterNumber));
        return -1;
    }
    if (own->getCommandToken() == TOKEN_SET_KEYID) {
        const string keyId = own->getKeyId();
        if (keyId.length() > ZprKeyIdBlock::MAX_LENGTH) {
            printMessage(MSG_KEY_ID_TOO_LONG);
            return -1;
        }
        const bool set = adapter->setSecurityKeyId(keyId) == 0;
        printMessage(set ? MSG_KEY_ID_SET : MSG_KEY_ID_SET_FAILED, static_cast<int>(adapterNumber));
        return set ? 0 : -1;
    }
    if (own->getDriveList() != nullptr)
        return showDriveKeyIds(cpController, manager, own->getDriveList(), adapterNumber);
    string keyId;
    if (adapter->getSecurityKeyId(&keyId) != 0) {
        printMessage(MSG_KEY_ID_GET_FAILED, static_cast<int>(adapterNumber));
        return -1;
    }
    printMessage(MSG_KEY_ID_OF_ADAPTER, static_cast<int>(adapterNumber), printableText(keyId.c_str()).c_str());
    return 0;
}

namespace {

const CpRegistration<LdMakeSecureCp> makeSecureRegistration;
const CpRegistration<AdpPdKeyIDSetGetCp> keyIdRegistration;

} // namespace
