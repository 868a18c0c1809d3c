// The drive information record, through the RAID model's drive data: every answer it gives
// from the record, the texts it holds (inquiry data, SAS addresses) and its own text.
#include "FirmwareFuzz.h"
#include "FuzzSupport.h"

#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/Zpr/PdDataZpr.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"

namespace {

unsigned askSizes(PdDataZpr& drive)
{
    uint64_t sectors = 0, sum = 0;
    uint32_t count = 0;
    ignoreStatus(drive.getRawSize(&sectors), "the fuzzer exercises the read; its answer does not matter");
    sum += sectors;
    ignoreStatus(drive.getNonCoercedSize(&sectors),
                 "the fuzzer exercises the read; its answer does not matter");
    sum += sectors;
    ignoreStatus(drive.getCoercedSize(&sectors), "the fuzzer exercises the read; its answer does not matter");
    sum += sectors;
    ignoreStatus(drive.getMediaErrorCount(&count),
                 "the fuzzer exercises the read; its answer does not matter");
    sum += count;
    ignoreStatus(drive.getOtherErrorCount(&count),
                 "the fuzzer exercises the read; its answer does not matter");
    sum += count;
    ignoreStatus(drive.getPredictiveFailureCount(&count),
                 "the fuzzer exercises the read; its answer does not matter");
    sum += count;
    ignoreStatus(drive.getLastPredictiveFailureSeq(&count),
                 "the fuzzer exercises the read; its answer does not matter");
    sum += count;
    ignoreStatus(drive.getDeviceRef(&count), "the fuzzer exercises the read; its answer does not matter");
    return static_cast<unsigned>(sum + count);
}

unsigned askWords(PdDataZpr& drive)
{
    uint16_t word = 0;
    unsigned sum = 0;
    int (PdDataZpr::*questions[])(uint16_t*) = {
        &PdDataZpr::getEnclosureDeviceId, &PdDataZpr::getSequenceNumber, &PdDataZpr::getDeviceId,
        &PdDataZpr::getFirmwareState, &PdDataZpr::getLogicalSectorSize, &PdDataZpr::getPhysicalSectorSizeExponent,
        &PdDataZpr::getForeignState, &PdDataZpr::getPowerState, &PdDataZpr::isFdeCapable, &PdDataZpr::isSecured,
        &PdDataZpr::isPiEligible, &PdDataZpr::getPiType};
    for (auto question : questions) {
        (drive.*question)(&word);
        sum += word;
    }
    return sum;
}

unsigned askBytes(PdDataZpr& drive)
{
    uint8_t byte = 0;
    unsigned sum = 0;
    int (PdDataZpr::*questions[])(uint8_t*) = {
        &PdDataZpr::getEnclosureIndex, &PdDataZpr::getSlotNumber, &PdDataZpr::getScsiDeviceType,
        &PdDataZpr::isInfoUnavailable, &PdDataZpr::getInterfaceType, &PdDataZpr::getMediaType,
        &PdDataZpr::getDeviceSpeed, &PdDataZpr::getLinkSpeed, &PdDataZpr::getNotCertifiedFlag,
        &PdDataZpr::getUnsupportedFlag, &PdDataZpr::isUnconfiguredGoodDisk, &PdDataZpr::isForeign,
        &PdDataZpr::getFlag361Bit6, &PdDataZpr::getFlag361Bit7, &PdDataZpr::getFlag362Bit1,
        &PdDataZpr::getFlag362Bit2, &PdDataZpr::isForeignLocked, &PdDataZpr::isLocked,
        &PdDataZpr::hasSasSataBridge, &PdDataZpr::needsEkmAttention, &PdDataZpr::getTemperature,
        &PdDataZpr::getWidePortCapable, &PdDataZpr::canSuspendRebuild, &PdDataZpr::canResumeRebuild,
        &PdDataZpr::canSuspendCopyback, &PdDataZpr::canResumeCopyback};
    for (auto question : questions) {
        (drive.*question)(&byte);
        sum += byte;
    }
    return sum;
}

unsigned askTexts(PdDataZpr& drive)
{
    unsigned sum = 0;
    const uint8_t* bytes = nullptr;
    if (drive.getInquiryData(&bytes) == 0 && bytes != nullptr)
        for (size_t i = 0; i < ZprDriveInfo::INQUIRY_SIZE; ++i)
            sum += bytes[i];
    bytes = nullptr;
    if (drive.getSasAddresses(&bytes) == 0 && bytes != nullptr)
        for (size_t i = 0; i < 8 * ZprDriveInfo::MAX_PORTS; ++i)
            sum += bytes[i];
    sum += drive.isWidePortCapable() + drive.isOutdated() + drive.isForeignConfig() + drive.isCommissionedSpare() +
           drive.isEmergencySpare() + drive.unsupportedOperation35();
    return sum + static_cast<unsigned>(drive.toString().length());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietConsole();
    forbidPlatformCalls();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedFirmware fw(data, size, layout::DRIVE_INFO);
    PdDataZpr drive(&fw.controller, new PdIdZpr(0, 0, 0x10, 0xFFFF));
    volatile unsigned sink = askSizes(drive) + askWords(drive) + askBytes(drive) + askTexts(drive);
    (void)sink;
    return 0;
}
