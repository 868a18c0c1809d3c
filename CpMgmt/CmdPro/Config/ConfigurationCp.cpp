#include "CpMgmt/CmdPro/Config/ConfigurationCp.h"

#include <vector>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Cache/SsdCacheList.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/VdSelection.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/CfgParsedObjects.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/UnConfiguredVd.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdValues.h"

namespace {

const uint16_t STRIP_NOT_GIVEN = 0xFFFF;

// The OEM whose controllers take the SECURE form of a request's encryption byte.
const int32_t OEM_SECURE_FORM = 2;
// OEMs whose controllers leave the solid-state drives' write cache to the plan.
const int32_t OEM_SSD_CACHE_EXEMPT_A = 7;
const int32_t OEM_SSD_CACHE_EXEMPT_B = 9;


int readByte(CfgParsedObject* request, uint8_t CfgParsedObject::*field, uint8_t* value)
{
    if (request == nullptr)
        return -1;
    if (value != nullptr)
        *value = request->*field;
    return 0;
}

}  // namespace

int ConfigurationCp::getReadPolicy(CfgParsedObject* request, uint8_t* value)
{
    return readByte(request, &CfgParsedObject::readPolicy, value);
}

int ConfigurationCp::getWritePolicy(CfgParsedObject* request, uint8_t* value)
{
    return readByte(request, &CfgParsedObject::writePolicy, value);
}

int ConfigurationCp::getIoPolicy(CfgParsedObject* request, uint8_t* value)
{
    return readByte(request, &CfgParsedObject::ioPolicy, value);
}

int ConfigurationCp::getBadBbuPolicy(CfgParsedObject* request, uint8_t* value)
{
    return readByte(request, &CfgParsedObject::badBbuPolicy, value);
}

int ConfigurationCp::getEncryption(CfgParsedObject* request, uint8_t* value)
{
    return readByte(request, &CfgParsedObject::encryption, value);
}

int ConfigurationCp::getPowerSavePolicy(CfgParsedObject* request, uint8_t* value)
{
    return request == nullptr ? 255 : readByte(request, &CfgParsedObject::powerSavePolicy, value);
}

int ConfigurationCp::getStripSizeExponent(CfgParsedObject* request, uint8_t* exponent, uint16_t* blockSize)
{
    uint8_t found = STRIP_DEFAULT;
    if (exponent != nullptr)
        *exponent = STRIP_DEFAULT;
    if (request == nullptr || blockSize == nullptr)
        return -1;
    if (*blockSize == 0)
        *blockSize = BASE_BLOCK_SIZE;
    const unsigned stripKib = request->stripSize;
    if (stripKib == 0 || stripKib == STRIP_NOT_GIVEN)
        return 0;
    uint16_t q = static_cast<uint16_t>((stripKib * 1024u) / *blockSize);
    uint8_t halvings = 0;
    while (q > 1) {
        if ((q & 1u) != 0)
            return 3;
        q = static_cast<uint16_t>(q >> 1);
        ++halvings;
    }
    if (q == 0)
        return 3;
    found = halvings;
    if (exponent != nullptr)
        *exponent = found;
    return 0;
}

int ConfigurationCp::deleteArraySpaceList(ArrayList<ArraySpaceInfo*>* list)
{
    if (list == nullptr)
        return 0;
    for (unsigned char i = 0; i < list->count(); ++i)
        delete list->get(i);
    delete list;
    return 0;
}

uint8_t ConfigurationCp::planningLevel(uint8_t raidLevel)
{
    switch (raidLevel) {
    case 0:
    case 1:
    case 5:
    case 6:
        return raidLevel;
    case 10:
        return UnConfiguredVd::LEVEL_SPANNED_RAID1;
    case 50:
        return UnConfiguredVd::LEVEL_SPANNED_RAID5;
    case 60:
        return UnConfiguredVd::LEVEL_SPANNED_RAID6;
    default:
        return UnConfiguredVd::LEVEL_NONE;
    }
}

uint8_t ConfigurationCp::plannedStripExponent(uint8_t requested, uint8_t defaultExponent, uint16_t blockSize)
{
    if (requested != STRIP_DEFAULT)
        return requested;
    uint8_t shift = 0;
    for (unsigned blocks = blockSize / BASE_BLOCK_SIZE; blocks > 1; blocks >>= 1)
        ++shift;
    return defaultExponent > shift ? static_cast<uint8_t>(defaultExponent - shift) : 0;
}

int ConfigurationCp::checkEncryptionForOem(Adapter* adapter, uint8_t encryption)
{
    int32_t oem = 0;
    if (adapter == nullptr || adapter->getOemId(&oem) != 0)
        return 0;
    const bool secureElsewhere = encryption == ENCRYPTION_SECURE && oem != OEM_SECURE_FORM;
    const bool driveFormsOnSecureOem =
        (encryption == ENCRYPTION_FDE || encryption == ENCRYPTION_CTRLBASED) && oem == OEM_SECURE_FORM;
    if (secureElsewhere || driveFormsOnSecureOem) {
        printMessage(MSG_TEXT, "Invalid input\n");
        return -1;
    }
    return 0;
}

int ConfigurationCp::applyStripSize(UnConfiguredVd* plan, CfgParsedObject* request, uint16_t blockSize)
{
    uint8_t exponent = STRIP_DEFAULT;
    if (int result = getStripSizeExponent(request, &exponent, &blockSize))
        return result;
    uint8_t defaultExponent = 0;
    ignoreStatus(plan->getStripSize(&defaultExponent), "a field of the plan: always 0");
    ignoreStatus(plan->setStripSize(plannedStripExponent(exponent, defaultExponent, blockSize)),
                 "a setter of the plan: always 0");
    return 0;
}

void ConfigurationCp::applyCachePolicies(UnConfiguredVd* plan, CfgParsedObject* request)
{
    uint8_t value = POLICY_NOT_GIVEN;
    if (getWritePolicy(request, &value) == 0 && value != POLICY_NOT_GIVEN)
        ignoreStatus(plan->setParameter29(value), "a setter of the plan: always 0");
    value = POLICY_NOT_GIVEN;
    if (getReadPolicy(request, &value) == 0 && value != POLICY_NOT_GIVEN)
        ignoreStatus(plan->setParameter28(value), "a setter of the plan: always 0");
    value = POLICY_NOT_GIVEN;
    if (getIoPolicy(request, &value) == 0 && value != POLICY_NOT_GIVEN)
        ignoreStatus(plan->setParameter27(value), "a setter of the plan: always 0");
    value = POLICY_NOT_GIVEN;
    if (getBadBbuPolicy(request, &value) == 0 && value != POLICY_NOT_GIVEN)
        ignoreStatus(plan->setParameter30(value), "a setter of the plan: always 0");
}

int ConfigurationCp::applySsdDriveCache(Adapter* adapter, UnConfiguredVd* plan)
{
    uint8_t blocked = 0;
    int status = adapter->getBlockSsdWriteCacheChange(&blocked);
    if (status != 0) {
        printMessage(MSG_TEXT, "Fail To Get Adapter blockSSDWriteCacheChange bit.");
        printMessage(MSG_NEWLINE);
        return status;
    }
    int32_t oem = 0;
    ignoreStatus(adapter->getOemId(&oem), "an unread OEM id keeps 0: no exemption");
    if (oem != OEM_SSD_CACHE_EXEMPT_A && oem != OEM_SSD_CACHE_EXEMPT_B && blocked == 1 && someSolidState == 1)
        ignoreStatus(plan->setParameter31(0), "a setter of the plan: always 0");
    return 0;
}

int ConfigurationCp::assignVdToCachePool(CpController* cpController, uint8_t targetId, CfgParsedObject* request,
                                         RaidManager* manager)
{
    Adapter* adapter = nullptr;
    if (request == nullptr || manager == nullptr || manager->getAdapter(&adapter) != 0 || adapter == nullptr)
        return -1;
    uint8_t answer = 0;
    if (adapter->isSsdCachingSupported(&answer) != 0)
        return -1;
    if (answer == 0) {
        printMessage(MSG_TEXT, "Tidewell is not supported \n");
        return -1;
    }
    answer = 0;
    // A capability that cannot be read is taken as absent.
    if (adapter->isManualSscAssociationAllowed(&answer) != 0 || answer == 0) {
        printMessage(MSG_TEXT, "Vd association is not supported \n");
        return -1;
    }
    VirtualDisk* cache = nullptr;
    if (const int unread = findFirstSsdCache(manager, &cache))
        return unread;
    if (cache == nullptr) {
        printMessage(MSG_TEXT, NO_SSD_CACHE);
        return -1;
    }
    // Controller information that cannot be read is never taken as filled: no SSD cache.
    uint8_t info[ZprControllerInfo::SIZE] = {};
    if (sendDcmd(cpController, DCMD_ADP_GET_INFO, info) != 0 ||
        ZprControllerInfo(info, sizeof info).view().u16(ZprControllerInfo::SSC_SIZE) == 0) {
        printMessage(MSG_TEXT, NO_SSD_CACHE);
        return -1;
    }
    std::vector<uint8_t> ids;
    if (const int unread = readSsdCacheList(adapter, targetIdOf(cache), &ids))
        return ssdCacheListUnreadable(request->getAdapterNumber(), unread);
    uint8_t inConfig = 0;
    if (int status = manager->findTargetIdInConfig(targetId, 1, &inConfig))
        return vdListUnreadable(status);
    if (inConfig == 0) {
        printMessage(MSG_VD_NOT_FOUND, static_cast<int>(request->getAdapterNumber()), static_cast<int>(targetId));
        return -1;
    }
    bool present = false;
    for (uint8_t id : ids)
        present = present || id == targetId;
    if (!present)
        ids.push_back(targetId);
    std::vector<uint8_t> block = makeSsdCacheList(ids);
    const int status = adapter->setSsdCacheAssociation(block.data());
    printMessage(MSG_TEXT, status == 0 ? "Successfully assigned VD to Cache  \n" : "Association failed ! \n");
    return status;
}
