// The drive commands of PdDataZpr: each sends one firmware command about the drive (state
// changes, rebuild, clear, locate, copyback, secure erase, reprovisioning, hot spares,
// spin-up, progress, key id, performance-monitor statistics) and the allowed-operation
// queries, which read the drive's allowed-operations word anew on each call.
#include "RaidManager/Zpr/PdDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/Array.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprAllowedOperations.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDeviceList.h"
#include "RaidManager/Zpr/Records/Controller/ZprDpmStatistics.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/Security/ZprPdKeyId.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdProgressBlock.h"
#include "RaidManager/Zpr/Records/Config/ZprSpareRecord.h"
#include "System/OsBoundary.h"

namespace {


const uint8_t DEFAULT_ERASE_PATTERN_1 = 0xAA;
const uint8_t DEFAULT_ERASE_PATTERN_2 = 0x55;

// The spin-up list names one drive.
const uint32_t SPIN_UP_LIST_SIZE = 12;

uint64_t highWord(uint32_t value)
{
    return static_cast<uint64_t>(value) << 32;
}

// Sends one controller command; -1 when the request cannot be made.
int execute(Controller* controller, uint32_t opcode, uint64_t mailbox, void* buffer, uint32_t length)
{
    if (controller == nullptr)
        return -1;
    DcmdZprDpParams* request = new (noThrowNew) DcmdZprDpParams(opcode, mailbox, 0u, buffer, length, 0, 0);
    if (request == nullptr)
        return -1;
    int status = controller->execute(request);
    delete request;
    return status;
}

// The adapter of the controller's RAID manager: 0, -1 without a manager, or the status.
int adapterOf(Controller* controller, Adapter** adapter)
{
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    if (manager == nullptr)
        return -1;
    return manager->getAdapter(adapter);
}

}  // namespace

int PdDataZpr::sendDriveCommand(uint32_t opcode, uint64_t mailbox)
{
    return execute(controller, opcode, mailbox, nullptr, 0);
}

int PdDataZpr::readDriveData(uint32_t opcode, uint64_t mailbox, void* buffer, uint32_t length)
{
    return execute(controller, opcode, mailbox, buffer, length);
}

int PdDataZpr::sendForReference(uint32_t opcode, uint32_t high)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    const uint32_t reference = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceRef();
    return sendDriveCommand(opcode, reference | highWord(high));
}

int PdDataZpr::sendForDeviceId(uint32_t opcode, uint16_t argument)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    const uint16_t deviceId = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceId();
    return sendDriveCommand(opcode, deviceId | (static_cast<uint64_t>(argument) << 16));
}

int PdDataZpr::sendSuspendResume(uint32_t opcode, uint8_t resume)
{
    uint32_t reference = 0;
    int status = getDeviceRef(&reference);
    if (status != 0)
        return status;
    return sendDriveCommand(opcode, reference | highWord(resume));
}

int PdDataZpr::startRebuild() { return sendForReference(DCMD_PD_REBUILD_START); }
int PdDataZpr::stopRebuild() { return sendForReference(DCMD_PD_REBUILD_STOP); }
int PdDataZpr::startClear() { return sendForReference(DCMD_PD_CLEAR_START); }
int PdDataZpr::stopClear() { return sendForReference(DCMD_PD_CLEAR_STOP); }
int PdDataZpr::startLocate(uint16_t argument) { return sendForDeviceId(DCMD_PD_LOCATE_START, argument); }
int PdDataZpr::stopLocate() { return sendForDeviceId(DCMD_PD_LOCATE_STOP); }
int PdDataZpr::markMissing() { return sendForReference(DCMD_PD_MARK_MISSING); }
int PdDataZpr::prepareForRemoval() { return sendForReference(DCMD_PD_PREPARE_REMOVAL); }
int PdDataZpr::undoPrepareForRemoval() { return sendForReference(DCMD_PD_UNDO_PREPARE_REMOVAL); }
int PdDataZpr::stopCopyback() { return sendForReference(DCMD_PD_COPYBACK_STOP); }
int PdDataZpr::startReprovision() { return sendForReference(DCMD_PD_REPROVISION_START); }
int PdDataZpr::reprovisionLockedDrive() { return sendForReference(DCMD_PD_REPROVISION_CHECK); }
int PdDataZpr::stopSecureErase() { return sendForReference(DCMD_PD_SECURE_ERASE_STOP); }
int PdDataZpr::removeHotSpare() { return sendForReference(DCMD_CFG_REMOVE_HOTSPARE); }
int PdDataZpr::suspendRebuild() { return sendSuspendResume(DCMD_PD_REBUILD_SUSPEND_RESUME, 0); }
int PdDataZpr::resumeRebuild() { return sendSuspendResume(DCMD_PD_REBUILD_SUSPEND_RESUME, 1); }
int PdDataZpr::suspendCopyback() { return sendSuspendResume(DCMD_PD_COPYBACK_SUSPEND_RESUME, 0); }
int PdDataZpr::resumeCopyback() { return sendSuspendResume(DCMD_PD_COPYBACK_SUSPEND_RESUME, 1); }

int PdDataZpr::startCopyback(PhysicalDevice* destination)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    // A copyback needs somewhere to go.
    if (destination == nullptr)
        return -1;
    uint32_t target = 0;
    status = destination->getDeviceRef(&target);
    if (status != 0)
        return status;
    const uint32_t source = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceRef();
    return sendDriveCommand(DCMD_PD_COPYBACK_START, target | highWord(source));
}

int PdDataZpr::startSecureErase(uint8_t eraseType, uint8_t pattern1, uint8_t pattern2)
{
    if (pattern1 == 0)
        pattern1 = DEFAULT_ERASE_PATTERN_1;
    if (pattern2 == 0)
        pattern2 = DEFAULT_ERASE_PATTERN_2;
    const uint32_t high = eraseType | (static_cast<uint32_t>(pattern1) << 8) | (static_cast<uint32_t>(pattern2) << 16);
    return sendForReference(DCMD_PD_SECURE_ERASE_START, high);
}

int PdDataZpr::setFirmwareState(uint8_t state)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    LeView record(driveInfo, ZprDriveInfo::SIZE);
    ZprDriveInfo info(record);
    if (info.firmwareState() == state)
        return -1;
    status = sendDriveCommand(DCMD_PD_SET_STATE, info.deviceRef() | highWord(state));
    if (status == 0) {
        // Later queries of this object see the new state without reading the drive again.
        record.setU16(ZprDriveInfo::FIRMWARE_STATE, state);
        return 0;
    }
    return status == STATUS_CONVERSION_LIMIT ? status : -1;
}

int PdDataZpr::makeHotSpare(ArrayList<Array*>* arrays, uint8_t revertible, uint8_t enclosureAffinity)
{
    Adapter* adapter = nullptr;
    int status = adapterOf(controller, &adapter);
    if (status != 0)
        return status;
    uint16_t revertibleSupported = 1;
    status = adapter->isRevertibleHotSpareSupported(&revertibleSupported);
    if (status != 0)
        return status;
    status = fetchDriveInfo();
    if (status != 0)
        return status;
    // The record has room for 16 arrays; a longer list is refused rather than cut.
    if (arrays != nullptr && arrays->count() > ZprSpareRecord::MAX_ARRAY_REFS)
        return -1;
    uint8_t bytes[ZprSpareRecord::SIZE] = {};
    ZprSpareRecord spare(LeView(bytes, sizeof bytes));
    ZprDriveInfo info(driveInfo, ZprDriveInfo::SIZE);
    spare.setDeviceId(info.deviceId());
    spare.setSequenceNumber(info.sequenceNumber());
    uint8_t flags = static_cast<uint8_t>((enclosureAffinity & 1u) << ZprSpareRecord::FLAG_ENCLOSURE_AFFINITY);
    if (revertibleSupported != 0)
        flags |= static_cast<uint8_t>((revertible & 1u) << ZprSpareRecord::FLAG_REVERTIBLE);
    if (arrays != nullptr) {
        flags |= 1u << ZprSpareRecord::FLAG_DEDICATED;
        spare.setArrayRefCount(arrays->count());
        for (uint8_t i = 0; i < arrays->count(); ++i) {
            Array* array = arrays->get(i);
            uint16_t ref = 0;
            // An array whose reference cannot be read would dedicate the spare to array 0.
            status = array != nullptr ? array->getArrayRef(&ref) : -1;
            if (status != 0)
                return status;
            spare.setArrayRef(i, ref);
        }
    }
    spare.setFlags(flags);
    return readDriveData(DCMD_CFG_MAKE_HOTSPARE, 0, bytes, sizeof bytes);
}

int PdDataZpr::spinUp()
{
    uint8_t* info = new (noThrowNew) uint8_t[ZprControllerInfo::SIZE];
    if (info == nullptr)
        return -1;
    memset(info, 0, ZprControllerInfo::SIZE);
    int status = readDriveData(DCMD_ADP_GET_INFO, 0, info, ZprControllerInfo::SIZE);
    typedef ZprControllerInfo Info;
    const uint8_t capable = Info(info, Info::SIZE).flag(Info::POWER_FEATURES, Info::SPIN_UP_BEFORE_CONFIG_BIT);
    delete[] info;
    if (status != 0)
        return status;
    if (capable == 0)
        return 0;
    uint16_t powerState = 0;
    status = getPowerState(&powerState);
    if (status != 0 || powerState == 0)
        return status;
    uint16_t deviceId = 0;
    status = getDeviceId(&deviceId);
    if (status != 0)
        return status;
    uint8_t built[SPIN_UP_LIST_SIZE] = {};
    ZprDeviceList list(LeView(built, sizeof built));
    list.setSize(SPIN_UP_LIST_SIZE);
    list.setCount(1);
    list.setDeviceId(0, deviceId);
    uint8_t sent[SPIN_UP_LIST_SIZE];
    memcpy(sent, built, sizeof sent);
    status = readDriveData(DCMD_PD_LIST_OPERATION, 0, sent, sizeof sent);
    for (unsigned round = 0;
         round < MAX_SPIN_UP_ROUNDS && (status == STATUS_POWER_UPDATE_BUSY || status == STATUS_OTHER_POWER_UPDATE_BUSY);
         ++round) {
        osBoundary().system(SPIN_UP_PAUSE);
        memcpy(sent, built, sizeof sent);
        status = readDriveData(DCMD_PD_LIST_OPERATION, 0, sent, sizeof sent);
    }
    return status;
}

int PdDataZpr::getProgress(uint8_t* block)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    uint8_t received[PdProgressBlock::SIZE] = {};
    const uint16_t deviceId = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceId();
    status = readDriveData(DCMD_PD_GET_PROGRESS, deviceId, received, sizeof received);
    if (status == 0 && block != nullptr)
        memcpy(block, received, sizeof received);
    return status;
}

int PdDataZpr::getSecurityKeyId(string& keyId)
{
    uint16_t deviceId = 0;
    int status = getDeviceId(&deviceId);
    if (status != 0)
        return status;
    // One byte more than the text: a key id of the full 256 bytes still ends with a NUL.
    char text[ZprPdKeyId::SIZE + 1] = {};
    status = readDriveData(DCMD_ADP_LOCK_KEY_GET_PD_KEY_ID, deviceId, text, ZprPdKeyId::SIZE);
    if (status == 0)
        keyId = text;
    return status;
}

int PdDataZpr::getDpmStatistics(uint32_t type, uint8_t* out)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    uint8_t received[ZprDpmStatistics::STATISTICS_SIZE] = {};
    const uint32_t reference = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceRef();
    status = readDriveData(DCMD_DPM_GET_STATISTICS, reference | highWord(type), received, sizeof received);
    if (status == 0 && out != nullptr)
        memcpy(out, received, sizeof received);
    return status;
}

int PdDataZpr::getDpmStatisticsEx(uint32_t type, uint8_t* out)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    uint8_t received[ZprDpmStatistics::EXTENDED_SIZE] = {};
    const uint32_t length = static_cast<uint32_t>(
        type == ZprDpmStatistics::TYPE_EXTENDED_LONG ? ZprDpmStatistics::EXTENDED_SIZE
                                                     : ZprDpmStatistics::EXTENDED_SHORT_SIZE);
    const uint32_t reference = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceRef();
    status = readDriveData(DCMD_DPM_GET_STATISTICS, reference | highWord(type), received, length);
    if (status == 0 && out != nullptr)
        memcpy(out, received, length);
    return status;
}

int PdDataZpr::getDpmCounters(uint8_t* out)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    if (out == nullptr)
        return -1;
    memset(out, 0, ZprDpmStatistics::COUNTERS_SIZE);
    const uint32_t reference = ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).deviceRef();
    return readDriveData(DCMD_DPM_GET_STATISTICS, reference | highWord(ZprDpmStatistics::TYPE_COUNTERS), out,
                         static_cast<uint32_t>(ZprDpmStatistics::COUNTERS_SIZE));
}

// ---------------------------------------------------------------------------------------------
// Allowed operations.

int PdDataZpr::fetchAllowedOperations(uint8_t* supported)
{
    Adapter* adapter = nullptr;
    if (adapterOf(controller, &adapter) != 0)
        return -1;
    uint8_t reported = 0;
    int status = adapter->isAllowedOperationsSupported(&reported);
    if (supported != nullptr)
        *supported = status == 0 ? reported : 0;
    if (status != 0 || reported == 0)
        return status;
    allowedOperations = 0;
    uint16_t deviceId = 0;
    status = getDeviceId(&deviceId);
    if (status != 0)
        return status;
    uint8_t word[ZprAllowedOperations::SIZE] = {};
    status = readDriveData(DCMD_PD_SUBCMD_0A, deviceId, word, sizeof word);
    if (status == 0)
        allowedOperations = ZprAllowedOperations(word, sizeof word).word();
    return status;
}

int PdDataZpr::allowedBit(uint8_t* out, unsigned n, int unreported)
{
    uint8_t supported = 0;
    int status = fetchAllowedOperations(&supported);
    if (status != 0)
        return status;
    if (out != nullptr)
        *out = supported != 0 ? ZprAllowedOperations::bit(allowedOperations, n) : static_cast<uint8_t>(unreported);
    return 0;
}

int PdDataZpr::allowedBitResult(unsigned n)
{
    uint8_t supported = 0;
    ignoreStatus(fetchAllowedOperations(&supported), "unread, the drive's operations are not restricted");
    return supported != 0 ? ZprAllowedOperations::bit(allowedOperations, n) : 1;
}

#define PD_DEFINE_ALLOWED_BIT(n) \
    int PdDataZpr::isAllowedOperationBit##n(uint8_t* allowed) { return allowedBit(allowed, n, 1); }
PD_ALLOWED_OPERATION_BITS(PD_DEFINE_ALLOWED_BIT)
#undef PD_DEFINE_ALLOWED_BIT

int PdDataZpr::isFirmwareDownloadBlocked(uint8_t* blocked)
{
    // Without allowed-operation words the answer is whatever was read last (0 when never).
    const unsigned bit = ZprAllowedOperations::FIRMWARE_DOWNLOAD_BLOCKED;
    return allowedBit(blocked, bit, ZprAllowedOperations::bit(allowedOperations, bit));
}

int PdDataZpr::isAllowedOperationBit24() { return allowedBitResult(ZprAllowedOperations::OPERATION_BIT_24); }
int PdDataZpr::canStopSecureErase() { return allowedBitResult(ZprAllowedOperations::SECURE_ERASE_STOPPABLE); }

int PdDataZpr::isForeignImportable()
{
    uint8_t supported = 0;
    ignoreStatus(fetchAllowedOperations(&supported), "unread, the drive's operations are not restricted");
    if (fetchDriveInfo() != 0 || isForeignConfig() != 1)
        return 0;
    const bool forbidden =
        supported != 0 && ZprAllowedOperations::bit(allowedOperations, ZprAllowedOperations::FOREIGN_NOT_IMPORTABLE) != 0;
    return forbidden ? 0 : 1;
}
