// A physical drive of the controller: the element and its data interface PdData. The drive's
// commands, its texts and its enclosure queries join the interface as they are built.
#ifndef PHYSICALDEVICE_H
#define PHYSICALDEVICE_H

#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/RaidElement.h"

class Array;
class PhysicalDevice;
class Spare;

// The allowed-operation queries answered from bits 0-12 of the drive's allowed-operations word.
#define PD_ALLOWED_OPERATION_BITS(X) \
    X(0) X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12)

// The drive's properties. Queries with an out-parameter write it only on success (0) and
// otherwise return the status of the failed record read; the queries whose answer is the
// result say what they answer on failure.
class PdData : public RaidElementData {
public:
    PdData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~PdData() override;

    [[nodiscard]] virtual int getEnclosureIndex(uint8_t* index) = 0;
    [[nodiscard]] virtual int getEnclosureDeviceId(uint16_t* deviceId) = 0;
    [[nodiscard]] virtual int getSlotNumber(uint8_t* slot) = 0;
    [[nodiscard]] virtual int getSequenceNumber(uint16_t* sequence) = 0;
    [[nodiscard]] virtual int getDeviceId(uint16_t* deviceId) = 0;
    // Device id (low half) and sequence number (high half): how drive commands name the drive.
    [[nodiscard]] virtual int getDeviceRef(uint32_t* reference) = 0;
    [[nodiscard]] virtual int isWidePortCapable() = 0;   // 0 without a record

    [[nodiscard]] virtual int getMediaErrorCount(uint32_t* count) = 0;
    [[nodiscard]] virtual int getOtherErrorCount(uint32_t* count) = 0;
    [[nodiscard]] virtual int getPredictiveFailureCount(uint32_t* count) = 0;
    [[nodiscard]] virtual int getLastPredictiveFailureSeq(uint32_t* sequence) = 0;
    [[nodiscard]] virtual int getRawSize(uint64_t* sectors) = 0;
    [[nodiscard]] virtual int getNonCoercedSize(uint64_t* sectors) = 0;
    [[nodiscard]] virtual int getCoercedSize(uint64_t* sectors) = 0;
    // The live state; a stored foreign state is not applied.
    [[nodiscard]] virtual int getFirmwareState(uint16_t* state) = 0;
    // The SAS address bytes (one little-endian 64-bit address per port) and the INQUIRY data,
    // inside the cached record: valid as long as the data object.
    [[nodiscard]] virtual int getSasAddresses(const uint8_t** addresses) = 0;
    [[nodiscard]] virtual int getInquiryData(const uint8_t** inquiry) = 0;

    [[nodiscard]] virtual int getScsiDeviceType(uint8_t* type) = 0;
    // 1 when the record cannot be read, else 0; the result is always 0.
    [[nodiscard]] virtual int isInfoUnavailable(uint8_t* unavailable) = 0;
    [[nodiscard]] virtual int getInterfaceType(uint8_t* type) = 0;
    [[nodiscard]] virtual int getMediaType(uint8_t* type) = 0;
    [[nodiscard]] virtual int getLogicalSectorSize(uint16_t* bytes) = 0;
    [[nodiscard]] virtual int getPhysicalSectorSizeExponent(uint16_t* exponent) = 0;
    [[nodiscard]] virtual int getDeviceSpeed(uint8_t* speed) = 0;
    [[nodiscard]] virtual int getLinkSpeed(uint8_t* speed) = 0;
    [[nodiscard]] virtual int getNotCertifiedFlag(uint8_t* flag) = 0;
    [[nodiscard]] virtual int getUnsupportedFlag(uint8_t* flag) = 0;
    [[nodiscard]] virtual int isUnconfiguredGoodDisk(uint8_t* answer) = 0;
    [[nodiscard]] virtual int isForeign(uint8_t* answer) = 0;

    [[nodiscard]] virtual int setForeignState(uint16_t state) = 0;
    [[nodiscard]] virtual int getForeignState(uint16_t* state) = 0;
    [[nodiscard]] virtual int isOutdated() = 0;
    [[nodiscard]] virtual int isForeignConfig() = 0;       // 0 without a record
    [[nodiscard]] virtual int markOutdated() = 0;
    [[nodiscard]] virtual int isCommissionedSpare() = 0;   // 0 without a record
    [[nodiscard]] virtual int isEmergencySpare() = 0;      // 0 without a record
    [[nodiscard]] virtual int getFlag361Bit6(uint8_t* flag) = 0;
    [[nodiscard]] virtual int getFlag361Bit7(uint8_t* flag) = 0;
    [[nodiscard]] virtual int getFlag362Bit1(uint8_t* flag) = 0;
    [[nodiscard]] virtual int getFlag362Bit2(uint8_t* flag) = 0;
    [[nodiscard]] virtual int getPowerState(uint16_t* state) = 0;

    [[nodiscard]] virtual int isFdeCapable(uint16_t* answer) = 0;
    [[nodiscard]] virtual int isSecured(uint16_t* answer) = 0;
    // Both return 1 (not a status) when the record cannot be read.
    [[nodiscard]] virtual int isForeignLocked(uint8_t* answer) = 0;
    [[nodiscard]] virtual int isLocked(uint8_t* answer) = 0;
    [[nodiscard]] virtual int hasSasSataBridge(uint8_t* answer) = 0;
    [[nodiscard]] virtual int needsEkmAttention(uint8_t* answer) = 0;
    [[nodiscard]] virtual int isPiEligible(uint16_t* answer) = 0;
    [[nodiscard]] virtual int getPiType(uint16_t* type) = 0;
    [[nodiscard]] virtual int getTemperature(uint8_t* celsius) = 0;
    [[nodiscard]] virtual int getWidePortCapable(uint8_t* answer) = 0;

    [[nodiscard]] virtual int canSuspendRebuild(uint8_t* answer) = 0;
    [[nodiscard]] virtual int canResumeRebuild(uint8_t* answer) = 0;
    [[nodiscard]] virtual int canSuspendCopyback(uint8_t* answer) = 0;
    [[nodiscard]] virtual int canResumeCopyback(uint8_t* answer) = 0;

    // An operation the controllers in use do not offer: always -1.
    [[nodiscard]] virtual int unsupportedOperation35() = 0;

    // Where the drive sits. isBehindEnclosure answers 1 when the drive hangs behind an
    // enclosure on one of the adapter's connectors (or is an enclosure), else 0. The others
    // answer the enclosure's position, the connector that leads to it (its number, name as a
    // new string the caller deletes, and location byte) and the enclosure's slot count; -1 when
    // the drive is in no enclosure or the adapter gives no connector information.
    [[nodiscard]] virtual int isBehindEnclosure() = 0;
    [[nodiscard]] virtual int getEnclosurePosition(uint8_t* position) = 0;
    [[nodiscard]] virtual int getConnectorNumber(uint8_t* connector) = 0;
    [[nodiscard]] virtual int getConnectorName(string** name) = 0;
    [[nodiscard]] virtual int getConnectorLocation(uint8_t* location) = 0;
    [[nodiscard]] virtual int getEnclosureSlotCount(uint16_t* slots) = 0;
    // 1 when the enclosure list gives the drive's enclosure no property (or does not list it),
    // else 0 (also when it cannot be asked).
    [[nodiscard]] virtual int hasNoEnclosureProperty() = 0;
    // The drive's partner (null when the model has none by that id); -1 without a partner.
    [[nodiscard]] virtual int getPartnerDevice(PhysicalDevice** partner) = 0;
    // What only the drive itself can tell, read with pass-through commands: the 512 bytes of a
    // SATA drive's identify data; the 12-character FRU/CRU text (found = 1) of a drive whose
    // vendor is the one that carries it; an enclosure model's serial, FRU part number, ESM
    // serial and zoning mode (isModel = 1).
    [[nodiscard]] virtual int getAtaIdentifyData(uint8_t* identify) = 0;
    [[nodiscard]] virtual int getFruCru(uint8_t* found, uint8_t* text) = 0;
    [[nodiscard]] virtual int getEnclosureModelData(uint8_t* isModel, uint8_t* serial, uint8_t* field3, uint8_t* fruPartNumber,
                                      uint8_t* esmSerial, uint8_t* zoningMode) = 0;

    // The drive's state block (sizes, state, firmware level, diagnostics, addresses, ports,
    // inquiry data) and security block (encryption, foreign state, speeds, media, temperature,
    // protection information, ports, bridge); each empty when the drive information cannot be
    // read and for a tape. toString gives the identity block.
    virtual string formatStateDetails() = 0;
    virtual string formatSecurityDetails() = 0;

    // Drive commands. Each sends one firmware command about the drive and returns its status:
    // 0, the firmware or transport status, or -1 where said. Those that need the drive's record
    // return the status of reading it, before anything is sent, when it cannot be read.
    // The new state is a firmware state code: -1 when the drive already has it (nothing sent)
    // and for a failure other than status 0x5F (the controller's limit of drive conversions).
    [[nodiscard]] virtual int setFirmwareState(uint8_t state) = 0;
    [[nodiscard]] virtual int startRebuild() = 0;
    [[nodiscard]] virtual int stopRebuild() = 0;
    [[nodiscard]] virtual int suspendRebuild() = 0;
    [[nodiscard]] virtual int resumeRebuild() = 0;
    [[nodiscard]] virtual int startClear() = 0;
    [[nodiscard]] virtual int stopClear() = 0;
    [[nodiscard]] virtual int startLocate(uint16_t argument) = 0;
    [[nodiscard]] virtual int stopLocate() = 0;
    [[nodiscard]] virtual int markMissing() = 0;
    [[nodiscard]] virtual int prepareForRemoval() = 0;
    [[nodiscard]] virtual int undoPrepareForRemoval() = 0;
    // Copies this drive back onto `destination`.
    [[nodiscard]] virtual int startCopyback(PhysicalDevice* destination) = 0;
    [[nodiscard]] virtual int stopCopyback() = 0;
    [[nodiscard]] virtual int suspendCopyback() = 0;
    [[nodiscard]] virtual int resumeCopyback() = 0;
    [[nodiscard]] virtual int startReprovision() = 0;
    // Reprovisions a drive secured by a foreign key and locked.
    [[nodiscard]] virtual int reprovisionLockedDrive() = 0;
    // Erase type 0, 1 or 2; a pattern of 0 is sent as 0xAA (first) and 0x55 (second).
    [[nodiscard]] virtual int startSecureErase(uint8_t eraseType, uint8_t pattern1, uint8_t pattern2) = 0;
    [[nodiscard]] virtual int stopSecureErase() = 0;
    // A dedicated spare of the arrays listed (at most 16), or a global one without a list.
    [[nodiscard]] virtual int makeHotSpare(ArrayList<Array*>* arrays, uint8_t revertible, uint8_t enclosureAffinity) = 0;
    [[nodiscard]] virtual int removeHotSpare() = 0;
    // Spins the drive up when the controller can and the drive is not spun up.
    [[nodiscard]] virtual int spinUp() = 0;
    // Reads the progress block (PdProgressBlock::SIZE bytes), written only on success.
    [[nodiscard]] virtual int getProgress(uint8_t* block) = 0;
    // The drive's security key id; the string is untouched on failure.
    [[nodiscard]] virtual int getSecurityKeyId(string& keyId) = 0;
    // Performance-monitor statistics: 56 bytes; 400 bytes for type 2 of the extended form and
    // 40 for any other type; the counters 152 bytes (zeroed first).
    [[nodiscard]] virtual int getDpmStatistics(uint32_t type, uint8_t* out) = 0;
    [[nodiscard]] virtual int getDpmStatisticsEx(uint32_t type, uint8_t* out) = 0;
    [[nodiscard]] virtual int getDpmCounters(uint8_t* out) = 0;

    // Allowed-operation queries: the word is read anew on each call. The out-parameter forms
    // return the status of the read and write the bit on success (1 when the controller does
    // not report allowed operations; isFirmwareDownloadBlocked then writes the last bit read).
#define PD_DECLARE_ALLOWED_BIT(n) virtual int isAllowedOperationBit##n(uint8_t* allowed) = 0;
    PD_ALLOWED_OPERATION_BITS(PD_DECLARE_ALLOWED_BIT)
#undef PD_DECLARE_ALLOWED_BIT
    [[nodiscard]] virtual int isFirmwareDownloadBlocked(uint8_t* blocked) = 0;
    // The result forms: the bit, or 1 when the controller does not report allowed operations.
    [[nodiscard]] virtual int isAllowedOperationBit24() = 0;
    [[nodiscard]] virtual int canStopSecureErase() = 0;
    // 1 when the record loads, the drive holds a foreign configuration and the controller does
    // not forbid its import.
    [[nodiscard]] virtual int isForeignImportable() = 0;
};

class PhysicalDevice : public RaidElement {
public:
    // Without array and spare links.
    PhysicalDevice(PdData* data, Controller* controller);
    // The identity block, then the hot-spare text of a hot spare or one line end.
    string toString() override;
    // The state block and the security block, each followed by one line end.
    string formatStateDetails();
    string formatSecurityDetails();
    ~PhysicalDevice() override;

    // The creator registered under ELEMENT_TYPE_PD; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

    // The array the drive belongs to and the spare that makes it a hot spare; neither is
    // owned, and the destructor does not follow them.
    [[nodiscard]] int setArray(Array* memberOf);
    [[nodiscard]] int getArray(Array** memberOf);
    [[nodiscard]] int setSpare(Spare* spareOf);
    Spare* getSpare() const { return spare; }

    // Every property query passes straight to the data object.
    [[nodiscard]] int getEnclosureIndex(uint8_t* v) { return pdData->getEnclosureIndex(v); }
    [[nodiscard]] int getEnclosureDeviceId(uint16_t* v) { return pdData->getEnclosureDeviceId(v); }
    [[nodiscard]] int getSlotNumber(uint8_t* v) { return pdData->getSlotNumber(v); }
    [[nodiscard]] int getSequenceNumber(uint16_t* v) { return pdData->getSequenceNumber(v); }
    [[nodiscard]] int getDeviceId(uint16_t* v) { return pdData->getDeviceId(v); }
    [[nodiscard]] int getDeviceRef(uint32_t* v) { return pdData->getDeviceRef(v); }
    [[nodiscard]] int isWidePortCapable() { return pdData->isWidePortCapable(); }
    [[nodiscard]] int getMediaErrorCount(uint32_t* v) { return pdData->getMediaErrorCount(v); }
    [[nodiscard]] int getOtherErrorCount(uint32_t* v) { return pdData->getOtherErrorCount(v); }
    [[nodiscard]] int getPredictiveFailureCount(uint32_t* v) { return pdData->getPredictiveFailureCount(v); }
    [[nodiscard]] int getLastPredictiveFailureSeq(uint32_t* v) { return pdData->getLastPredictiveFailureSeq(v); }
    [[nodiscard]] int getRawSize(uint64_t* v) { return pdData->getRawSize(v); }
    [[nodiscard]] int getNonCoercedSize(uint64_t* v) { return pdData->getNonCoercedSize(v); }
    [[nodiscard]] int getCoercedSize(uint64_t* v) { return pdData->getCoercedSize(v); }
    [[nodiscard]] int getFirmwareState(uint16_t* v) { return pdData->getFirmwareState(v); }
    [[nodiscard]] int getSasAddresses(const uint8_t** v) { return pdData->getSasAddresses(v); }
    [[nodiscard]] int getInquiryData(const uint8_t** v) { return pdData->getInquiryData(v); }
    [[nodiscard]] int getScsiDeviceType(uint8_t* v) { return pdData->getScsiDeviceType(v); }
    [[nodiscard]] int isInfoUnavailable(uint8_t* v) { return pdData->isInfoUnavailable(v); }
    [[nodiscard]] int getInterfaceType(uint8_t* v) { return pdData->getInterfaceType(v); }
    [[nodiscard]] int getMediaType(uint8_t* v) { return pdData->getMediaType(v); }
    [[nodiscard]] int getLogicalSectorSize(uint16_t* v) { return pdData->getLogicalSectorSize(v); }
    [[nodiscard]] int getPhysicalSectorSizeExponent(uint16_t* v) { return pdData->getPhysicalSectorSizeExponent(v); }
    [[nodiscard]] int getDeviceSpeed(uint8_t* v) { return pdData->getDeviceSpeed(v); }
    [[nodiscard]] int getLinkSpeed(uint8_t* v) { return pdData->getLinkSpeed(v); }
    [[nodiscard]] int getNotCertifiedFlag(uint8_t* v) { return pdData->getNotCertifiedFlag(v); }
    [[nodiscard]] int getUnsupportedFlag(uint8_t* v) { return pdData->getUnsupportedFlag(v); }
    [[nodiscard]] int isUnconfiguredGoodDisk(uint8_t* v) { return pdData->isUnconfiguredGoodDisk(v); }
    [[nodiscard]] int isForeign(uint8_t* v) { return pdData->isForeign(v); }
    [[nodiscard]] int setForeignState(uint16_t v) { return pdData->setForeignState(v); }
    [[nodiscard]] int getForeignState(uint16_t* v) { return pdData->getForeignState(v); }
    [[nodiscard]] int isOutdated() { return pdData->isOutdated(); }
    [[nodiscard]] int isForeignConfig() { return pdData->isForeignConfig(); }
    [[nodiscard]] int markOutdated() { return pdData->markOutdated(); }
    [[nodiscard]] int isCommissionedSpare() { return pdData->isCommissionedSpare(); }
    [[nodiscard]] int isEmergencySpare() { return pdData->isEmergencySpare(); }
    [[nodiscard]] int getFlag361Bit6(uint8_t* v) { return pdData->getFlag361Bit6(v); }
    [[nodiscard]] int getFlag361Bit7(uint8_t* v) { return pdData->getFlag361Bit7(v); }
    [[nodiscard]] int getFlag362Bit1(uint8_t* v) { return pdData->getFlag362Bit1(v); }
    [[nodiscard]] int getFlag362Bit2(uint8_t* v) { return pdData->getFlag362Bit2(v); }
    [[nodiscard]] int getPowerState(uint16_t* v) { return pdData->getPowerState(v); }
    [[nodiscard]] int isFdeCapable(uint16_t* v) { return pdData->isFdeCapable(v); }
    [[nodiscard]] int isSecured(uint16_t* v) { return pdData->isSecured(v); }
    [[nodiscard]] int isForeignLocked(uint8_t* v) { return pdData->isForeignLocked(v); }
    [[nodiscard]] int isLocked(uint8_t* v) { return pdData->isLocked(v); }
    [[nodiscard]] int hasSasSataBridge(uint8_t* v) { return pdData->hasSasSataBridge(v); }
    [[nodiscard]] int needsEkmAttention(uint8_t* v) { return pdData->needsEkmAttention(v); }
    [[nodiscard]] int isPiEligible(uint16_t* v) { return pdData->isPiEligible(v); }
    [[nodiscard]] int getPiType(uint16_t* v) { return pdData->getPiType(v); }
    [[nodiscard]] int getTemperature(uint8_t* v) { return pdData->getTemperature(v); }
    [[nodiscard]] int getWidePortCapable(uint8_t* v) { return pdData->getWidePortCapable(v); }
    [[nodiscard]] int canSuspendRebuild(uint8_t* v) { return pdData->canSuspendRebuild(v); }
    [[nodiscard]] int canResumeRebuild(uint8_t* v) { return pdData->canResumeRebuild(v); }
    [[nodiscard]] int canSuspendCopyback(uint8_t* v) { return pdData->canSuspendCopyback(v); }
    [[nodiscard]] int canResumeCopyback(uint8_t* v) { return pdData->canResumeCopyback(v); }
    [[nodiscard]] int unsupportedOperation35() { return pdData->unsupportedOperation35(); }
    [[nodiscard]] int isBehindEnclosure() { return pdData->isBehindEnclosure(); }
    [[nodiscard]] int getEnclosurePosition(uint8_t* v) { return pdData->getEnclosurePosition(v); }
    [[nodiscard]] int getConnectorNumber(uint8_t* v) { return pdData->getConnectorNumber(v); }
    [[nodiscard]] int getConnectorName(string** v) { return pdData->getConnectorName(v); }
    [[nodiscard]] int getConnectorLocation(uint8_t* v) { return pdData->getConnectorLocation(v); }
    [[nodiscard]] int getEnclosureSlotCount(uint16_t* v) { return pdData->getEnclosureSlotCount(v); }
    [[nodiscard]] int hasNoEnclosureProperty() { return pdData->hasNoEnclosureProperty(); }
    [[nodiscard]] int getPartnerDevice(PhysicalDevice** v) { return pdData->getPartnerDevice(v); }
    [[nodiscard]] int getAtaIdentifyData(uint8_t* v) { return pdData->getAtaIdentifyData(v); }
    [[nodiscard]] int getFruCru(uint8_t* found, uint8_t* text) { return pdData->getFruCru(found, text); }
    [[nodiscard]] int getEnclosureModelData(uint8_t* isModel, uint8_t* serial, uint8_t* field3, uint8_t* fruPartNumber,
                              uint8_t* esmSerial, uint8_t* zoningMode)
    {
        return pdData->getEnclosureModelData(isModel, serial, field3, fruPartNumber, esmSerial, zoningMode);
    }

    // The drive commands and allowed-operation queries pass straight to the data object too.
    [[nodiscard]] int setFirmwareState(uint8_t v) { return pdData->setFirmwareState(v); }
    [[nodiscard]] int startRebuild() { return pdData->startRebuild(); }
    [[nodiscard]] int stopRebuild() { return pdData->stopRebuild(); }
    [[nodiscard]] int suspendRebuild() { return pdData->suspendRebuild(); }
    [[nodiscard]] int resumeRebuild() { return pdData->resumeRebuild(); }
    [[nodiscard]] int startClear() { return pdData->startClear(); }
    [[nodiscard]] int stopClear() { return pdData->stopClear(); }
    [[nodiscard]] int startLocate(uint16_t v) { return pdData->startLocate(v); }
    [[nodiscard]] int stopLocate() { return pdData->stopLocate(); }
    [[nodiscard]] int markMissing() { return pdData->markMissing(); }
    [[nodiscard]] int prepareForRemoval() { return pdData->prepareForRemoval(); }
    [[nodiscard]] int undoPrepareForRemoval() { return pdData->undoPrepareForRemoval(); }
    [[nodiscard]] int startCopyback(PhysicalDevice* v) { return pdData->startCopyback(v); }
    [[nodiscard]] int stopCopyback() { return pdData->stopCopyback(); }
    [[nodiscard]] int suspendCopyback() { return pdData->suspendCopyback(); }
    [[nodiscard]] int resumeCopyback() { return pdData->resumeCopyback(); }
    [[nodiscard]] int startReprovision() { return pdData->startReprovision(); }
    [[nodiscard]] int reprovisionLockedDrive() { return pdData->reprovisionLockedDrive(); }
    [[nodiscard]] int startSecureErase(uint8_t t, uint8_t p1, uint8_t p2) { return pdData->startSecureErase(t, p1, p2); }
    [[nodiscard]] int stopSecureErase() { return pdData->stopSecureErase(); }
    [[nodiscard]] int makeHotSpare(ArrayList<Array*>* a, uint8_t r, uint8_t e) { return pdData->makeHotSpare(a, r, e); }
    [[nodiscard]] int removeHotSpare() { return pdData->removeHotSpare(); }
    [[nodiscard]] int spinUp() { return pdData->spinUp(); }
    [[nodiscard]] int getProgress(uint8_t* v) { return pdData->getProgress(v); }
    [[nodiscard]] int getSecurityKeyId(string& v) { return pdData->getSecurityKeyId(v); }
    [[nodiscard]] int getDpmStatistics(uint32_t t, uint8_t* v) { return pdData->getDpmStatistics(t, v); }
    [[nodiscard]] int getDpmStatisticsEx(uint32_t t, uint8_t* v) { return pdData->getDpmStatisticsEx(t, v); }
    [[nodiscard]] int getDpmCounters(uint8_t* v) { return pdData->getDpmCounters(v); }
#define PD_FORWARD_ALLOWED_BIT(n) \
    int isAllowedOperationBit##n(uint8_t* v) { return pdData->isAllowedOperationBit##n(v); }
    PD_ALLOWED_OPERATION_BITS(PD_FORWARD_ALLOWED_BIT)
#undef PD_FORWARD_ALLOWED_BIT
    [[nodiscard]] int isFirmwareDownloadBlocked(uint8_t* v) { return pdData->isFirmwareDownloadBlocked(v); }
    [[nodiscard]] int isAllowedOperationBit24() { return pdData->isAllowedOperationBit24(); }
    [[nodiscard]] int canStopSecureErase() { return pdData->canStopSecureErase(); }
    [[nodiscard]] int isForeignImportable() { return pdData->isForeignImportable(); }

protected:
    PdData* pdData;  // the element's data object, seen as its interface
    Array* array;    // not owned; null when the drive is in no array
    Spare* spare;    // not owned; null when the drive is no hot spare
};

#endif
