#include "RaidManager/Zpr/PdDataZpr.h"

#include <cstring>

#include "ControllerMgmt/Controller.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "Output/VoError.h"
#include "PavUtil/Memory.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveValues.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"

PdDataZpr::PdDataZpr(Controller* controller, PdIdZpr* id)
    : PdData(controller, id), pdId(id), driveInfo(nullptr), allowedOperations(0),
      foreignState(FOREIGN_STATE_NONE), outdated(0)
{
}

PdDataZpr::~PdDataZpr()
{
    delete[] driveInfo;
}

int PdDataZpr::fetchDriveInfo()
{
    if (pdId == nullptr)
        return -1;
    if (driveInfo != nullptr)
        return 0;
    if (controller == nullptr)
        return -1;
    uint8_t* record = new (noThrowNew) uint8_t[ZprDriveInfo::SIZE];
    if (record == nullptr)
        return -1;
    memset(record, 0, ZprDriveInfo::SIZE);
    DcmdZprDpParams* request = new (noThrowNew)
        DcmdZprDpParams(DCMD_PD_GET_INFO, static_cast<uint64_t>(pdId->getDeviceId()), 0u, record,
                        static_cast<uint32_t>(ZprDriveInfo::SIZE), 0, 0);
    if (request == nullptr) {
        delete[] record;
        return -1;
    }
    int status = controller->execute(request);
    delete request;
    if (status != 0) {
        delete[] record;
        return status;
    }
    driveInfo = record;
    return 0;
}

template <typename T, typename Read>
int PdDataZpr::answer(T* out, Read read)
{
    int status = fetchDriveInfo();
    if (status != 0)
        return status;
    if (out != nullptr)
        *out = static_cast<T>(read(ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE)));
    return 0;
}

int PdDataZpr::answerBit(uint8_t* out, size_t offset, unsigned bitNumber)
{
    return answer(out, [=](const ZprDriveInfo& r) { return r.bit(offset, bitNumber) ? 1 : 0; });
}

int PdDataZpr::answerFlag(size_t offset, unsigned bitNumber, int onFailure)
{
    if (fetchDriveInfo() != 0)
        return onFailure;
    return ZprDriveInfo(driveInfo, ZprDriveInfo::SIZE).bit(offset, bitNumber) ? 1 : 0;
}

int PdDataZpr::getEnclosureIndex(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.enclosureIndex(); }); }
int PdDataZpr::getEnclosureDeviceId(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.enclosureDeviceId(); }); }
int PdDataZpr::getSlotNumber(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.slotNumber(); }); }
int PdDataZpr::getSequenceNumber(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.sequenceNumber(); }); }
int PdDataZpr::getDeviceId(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.deviceId(); }); }
int PdDataZpr::getDeviceRef(uint32_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.deviceRef(); }); }
int PdDataZpr::getMediaErrorCount(uint32_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.mediaErrors(); }); }
int PdDataZpr::getOtherErrorCount(uint32_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.otherErrors(); }); }
int PdDataZpr::getPredictiveFailureCount(uint32_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.predictiveFailures(); }); }
int PdDataZpr::getLastPredictiveFailureSeq(uint32_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.lastPredictiveFailureSeq(); }); }
int PdDataZpr::getRawSize(uint64_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.rawSize(); }); }
int PdDataZpr::getNonCoercedSize(uint64_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.nonCoercedSize(); }); }
int PdDataZpr::getCoercedSize(uint64_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.coercedSize(); }); }
int PdDataZpr::getFirmwareState(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.firmwareState(); }); }
int PdDataZpr::getScsiDeviceType(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.scsiDeviceType(); }); }
int PdDataZpr::getInterfaceType(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.interfaceType(); }); }
int PdDataZpr::getMediaType(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.mediaType(); }); }
int PdDataZpr::getLogicalSectorSize(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.logicalSectorSize(); }); }
int PdDataZpr::getPhysicalSectorSizeExponent(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.physicalSectorExponent(); }); }
int PdDataZpr::getDeviceSpeed(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.deviceSpeed(); }); }
int PdDataZpr::getLinkSpeed(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.linkSpeed(); }); }
int PdDataZpr::getNotCertifiedFlag(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.notCertified(); }); }
int PdDataZpr::getUnsupportedFlag(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.unsupported(); }); }
int PdDataZpr::getPowerState(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.powerState(); }); }
int PdDataZpr::getTemperature(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.temperature(); }); }
int PdDataZpr::getPiType(uint16_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.piType(); }); }
int PdDataZpr::hasSasSataBridge(uint8_t* v) { return answer(v, [](const ZprDriveInfo& r) { return r.hasBridge() ? 1 : 0; }); }

int PdDataZpr::getWidePortCapable(uint8_t* v) { return answerBit(v, ZprDriveInfo::PORT_FLAGS, ZprDriveInfo::PORT_WIDE); }
int PdDataZpr::isForeign(uint8_t* v) { return answerBit(v, ZprDriveInfo::CONFIG_FLAGS, ZprDriveInfo::CONFIG_FOREIGN); }
int PdDataZpr::needsEkmAttention(uint8_t* v) { return answerBit(v, ZprDriveInfo::SECURITY_FLAGS, ZprDriveInfo::SEC_EKM_ATTENTION); }
int PdDataZpr::getFlag361Bit6(uint8_t* v) { return answerBit(v, ZprDriveInfo::FLAGS_361, 6); }
int PdDataZpr::getFlag361Bit7(uint8_t* v) { return answerBit(v, ZprDriveInfo::FLAGS_361, 7); }
int PdDataZpr::getFlag362Bit1(uint8_t* v) { return answerBit(v, ZprDriveInfo::OPERATION_FLAGS, ZprDriveInfo::OP_FLAG_REPROVISION); }
int PdDataZpr::getFlag362Bit2(uint8_t* v) { return answerBit(v, ZprDriveInfo::OPERATION_FLAGS, ZprDriveInfo::OP_FLAG_2); }
int PdDataZpr::canSuspendRebuild(uint8_t* v) { return answerBit(v, ZprDriveInfo::OPERATION_FLAGS, ZprDriveInfo::OP_REBUILD_SUSPENDABLE); }
int PdDataZpr::canResumeRebuild(uint8_t* v) { return answerBit(v, ZprDriveInfo::OPERATION_FLAGS, ZprDriveInfo::OP_REBUILD_RESUMABLE); }
int PdDataZpr::canSuspendCopyback(uint8_t* v) { return answerBit(v, ZprDriveInfo::OPERATION_FLAGS, ZprDriveInfo::OP_COPYBACK_SUSPENDABLE); }
int PdDataZpr::canResumeCopyback(uint8_t* v) { return answerBit(v, ZprDriveInfo::OPERATION_FLAGS, ZprDriveInfo::OP_COPYBACK_RESUMABLE); }

int PdDataZpr::isFdeCapable(uint16_t* v)
{
    return answer(v, [](const ZprDriveInfo& r) { return r.bit(ZprDriveInfo::SECURITY_FLAGS, ZprDriveInfo::SEC_FDE_CAPABLE) ? 1 : 0; });
}

int PdDataZpr::isSecured(uint16_t* v)
{
    return answer(v, [](const ZprDriveInfo& r) { return r.bit(ZprDriveInfo::SECURITY_FLAGS, ZprDriveInfo::SEC_SECURED) ? 1 : 0; });
}

int PdDataZpr::isPiEligible(uint16_t* v)
{
    return answer(v, [](const ZprDriveInfo& r) { return r.bit(ZprDriveInfo::PROTECTION, ZprDriveInfo::PI_ELIGIBLE) ? 1 : 0; });
}

// A drive that cannot be read counts as locked: better refuse an operation than send it to
// a drive whose lock state is unknown.
int PdDataZpr::isForeignLocked(uint8_t* v)
{
    return answerBit(v, ZprDriveInfo::SECURITY_FLAGS, ZprDriveInfo::SEC_FOREIGN_LOCKED) == 0 ? 0 : 1;
}

int PdDataZpr::isLocked(uint8_t* v)
{
    return answerBit(v, ZprDriveInfo::SECURITY_FLAGS, ZprDriveInfo::SEC_LOCKED) == 0 ? 0 : 1;
}

int PdDataZpr::isWidePortCapable() { return answerFlag(ZprDriveInfo::PORT_FLAGS, ZprDriveInfo::PORT_WIDE, 0); }
int PdDataZpr::isForeignConfig() { return answerFlag(ZprDriveInfo::CONFIG_FLAGS, ZprDriveInfo::CONFIG_FOREIGN, 0); }
int PdDataZpr::isCommissionedSpare() { return answerFlag(ZprDriveInfo::PROTECTION, ZprDriveInfo::PI_COMMISSIONED_SPARE, 0); }
int PdDataZpr::isEmergencySpare() { return answerFlag(ZprDriveInfo::SPARE_FLAGS, ZprDriveInfo::SPARE_EMERGENCY, 0); }

int PdDataZpr::getSasAddresses(const uint8_t** addresses)
{
    return answer(addresses, [this](const ZprDriveInfo&) { return driveInfo + ZprDriveInfo::SAS_ADDRESSES; });
}

int PdDataZpr::getInquiryData(const uint8_t** inquiry)
{
    return answer(inquiry, [this](const ZprDriveInfo&) { return driveInfo + ZprDriveInfo::INQUIRY; });
}

int PdDataZpr::isUnconfiguredGoodDisk(uint8_t* v)
{
    return answer(v, [](const ZprDriveInfo& r) {
        const uint8_t inUseOrForeign = ZprDriveInfo::CONFIG_IN_USE_MASK | (1u << ZprDriveInfo::CONFIG_FOREIGN);
        return r.unsupported() == 0 && r.firmwareState() == PD_STATE_UNCONFIGURED_GOOD &&
                       (r.configFlags() & inUseOrForeign) == 0 && r.scsiDeviceType() == 0
                   ? 1
                   : 0;
    });
}

int PdDataZpr::isInfoUnavailable(uint8_t* unavailable)
{
    int status = fetchDriveInfo();
    if (unavailable != nullptr)
        *unavailable = status == 0 ? 0 : 1;
    // A drive that vanished since the drive list was read must not decide the exit code.
    if (status == STATUS_NO_DEVICE)
        setLastErrorCode(0);
    return 0;
}

int PdDataZpr::setForeignState(uint16_t state)
{
    foreignState = state;
    return 0;
}

int PdDataZpr::getForeignState(uint16_t* state)
{
    if (state != nullptr)
        *state = foreignState;
    return 0;
}

int PdDataZpr::isOutdated()
{
    return outdated;
}

int PdDataZpr::markOutdated()
{
    outdated = 1;
    return 0;
}

int PdDataZpr::unsupportedOperation35()
{
    return -1;
}
