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

    virtual int getEnclosureIndex(uint8_t* index) = 0;
    virtual int getEnclosureDeviceId(uint16_t* deviceId) = 0;
    virtual int getSlotNumber(uint8_t* slot) = 0;
    virtual int getSequenceNumber(uint16_t* sequence) = 0;
    virtual int getDeviceId(uint16_t* deviceId) = 0;
    // Device id (low half) and sequence number (high half): how drive commands name the drive.
    virtual int getDeviceRef(uint32_t* reference) = 0;
    virtual int isWidePortCapable() = 0;   // 0 without a record

    virtual int getMediaErrorCount(uint32_t* count) = 0;
    virtual int getOtherErrorCount(uint32_t* count) = 0;
    virtual int getPredictiveFailureCount(uint32_t* count) = 0;
    virtual int getLastPredictiveFailureSeq(uint32_t* sequence) = 0;
    virtual int getRawSize(uint64_t* sectors) = 0;
    virtual int getNonCoercedSize(uint64_t* sectors) = 0;
    virtual int getCoercedSize(uint64_t* sectors) = 0;
    // The live state; a stored foreign state is not applied.
    virtual int getFirmwareState(uint16_t* state) = 0;
    // The SAS address bytes (one little-endian 64-bit address per port) and the INQUIRY data,
    // inside the cached record: valid as long as the data object.
    virtual int getSasAddresses(const uint8_t** addresses) = 0;
    virtual int getInquiryData(const uint8_t** inquiry) = 0;

    virtual int getScsiDeviceType(uint8_t* type) = 0;
    // 1 when the record cannot be read, else 0; the result is always 0.
    virtual int isInfoUnavailable(uint8_t* unavailable) = 0;
    virtual int getInterfaceType(uint8_t* type) = 0;
    virtual int getMediaType(uint8_t* type) = 0;
    virtual int getLogicalSectorSize(uint16_t* bytes) = 0;
    virtual int getPhysicalSectorSizeExponent(uint16_t* exponent) = 0;
    virtual int getDeviceSpeed(uint8_t* speed) = 0;
    virtual int getLinkSpeed(uint8_t* speed) = 0;
    virtual int getNotCertifiedFlag(uint8_t* flag) = 0;
    virtual int getUnsupportedFlag(uint8_t* flag) = 0;
    virtual int isUnconfiguredGoodDisk(uint8_t* answer) = 0;
    virtual int isForeign(uint8_t* answer) = 0;

    virtual int setForeignState(uint16_t state) = 0;
    virtual int getForeignState(uint16_t* state) = 0;
    virtual int isOutdated() = 0;
    virtual int isForeignConfig() = 0;       // 0 without a record
    virtual int markOutdated() = 0;
    virtual int isCommissionedSpare() = 0;   // 0 without a record
    virtual int isEmergencySpare() = 0;      // 0 without a record
    virtual int getFlag361Bit6(uint8_t* flag) = 0;
    virtual int getFlag361Bit7(uint8_t* flag) = 0;
    virtual int getFlag362Bit1(uint8_t* flag) = 0;
    virtual int getFlag362Bit2(uint8_t* flag) = 0;
    virtual int getPowerState(uint16_t* state) = 0;

    virtual int isFdeCapable(uint16_t* answer) = 0;
    virtual int isSecured(uint16_t* answer) = 0;
    // Both return 1 (not a status) when the record cannot be read.
    virtual int isForeignLocked(uint8_t* answer) = 0;
    virtual int isLocked(uint8_t* answer) = 0;
    virtual int hasSasSataBridge(uint8_t* answer) = 0;
    virtual int needsEkmAttention(uint8_t* answer) = 0;
    virtual int isPiEligible(uint16_t* answer) = 0;
    virtual int getPiType(uint16_t* type) = 0;
    virtual int getTemperature(uint8_t* celsius) = 0;
    virtual int getWidePortCapable(uint8_t* answer) = 0;

    virtual int canSuspendRebuild(uint8_t* answer) = 0;
    virtual int canResumeRebuild(uint8_t* answer) = 0;
    virtual int canSuspendCopyback(uint8_t* answer) = 0;
    virtual int canResumeCopyback(uint8_t* answer) = 0;

    // An operation the controllers in use do not offer: always -1.
    virtual int unsupportedOperation35() = 0;

    // Where the drive sits. isBehindEnclosure answers 1 when the drive hangs behind an
    // enclosure on one of the adapter's connectors (or is an enclosure), else 0. The others
    // answer the enclosure's position, the connector that leads to it (its number, name as a
    // new string the caller deletes, and location byte) and the enclosure's slot count; -1 when
    // the drive is in no enclosure or the adapter gives no connector information.
    virtual int isBehindEnclosure() = 0;
    virtual int getEnclosurePosition(uint8_t* position) = 0;
    virtual int getConnectorNumber(uint8_t* connector) = 0;
    virtual int getConnectorName(string** name) = 0;
    virtual int getConnectorLocation(uint8_t* location) = 0;
    virtual int getEnclosureSlotCount(uint16_t* slots) = 0;
    // 1 when the enclosure list gives the drive's enclosure no property (or does not list it),
    // else 0 (also when it cannot be asked).
    virtual int hasNoEnclosureProperty() = 0;
    // The drive's partner (null when the model has none by that id); -1 without a partner.
    virtual int getPartnerDevice(PhysicalDevice** partner) = 0;
    // What only the drive itself can tell, read with pass-through commands: the 512 bytes of a
    // SATA drive's identify data; the 12-character FRU/CRU text (found = 1) of a drive whose
    // vendor is the one that carries it; an enclosure model's serial, FRU part number, ESM
    // serial and zoning mode (isModel = 1).
    virtual int getAtaIdentifyData(uint8_t* identify) = 0;
    virtual int getFruCru(uint8_t* found, uint8_t* text) = 0;
    virtual int getEnclosureModelData(uint8_t* isModel, uint8_t* serial, uint8_t* field3, uint8_t* fruPartNumber,
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
    virtual int setFirmwareState(uint8_t state) = 0;
    virtual int startRebuild() = 0;
    virtual int stopRebuild() = 0;
    virtual int suspendRebuild() = 0;
    virtual int resumeRebuild() = 0;
    virtual int startClear() = 0;
    virtual int stopClear() = 0;
    virtual int startLocate(uint16_t argument) = 0;
    virtual int stopLocate() = 0;
    virtual int markMissing() = 0;
    virtual int prepareForRemoval() = 0;
    virtual int undoPrepareForRemoval() = 0;
    // Copies this drive back onto `destination`.
    virtual int startCopyback(PhysicalDevice* destination) = 0;
    virtual int stopCopyback() = 0;
    virtual int suspendCopyback() = 0;
    virtual int resumeCopyback() = 0;
    virtual int startReprovision() = 0;
    // Reprovisions a drive secured by a foreign key and locked.
    virtual int reprovisionLockedDrive() = 0;
    // Erase type 0, 1 or 2; a pattern of 0 is sent as 0xAA (first) and 0x55 (second).
    virtual int startSecureErase(uint8_t eraseType, uint8_t pattern1, uint8_t pattern2) = 0;
    virtual int stopSecureErase() = 0;
    // A dedicated spare of the arrays listed (at most 16), or a global one without a list.
    virtual int makeHotSpare(ArrayList<Array*>* arrays, uint8_t revertible, uint8_t enclosureAffinity) = 0;
    virtual int removeHotSpare() = 0;
    // Spins the drive up when the controller can and the drive is not spun up.
    virtual int spinUp() = 0;
    // Reads the progress block (PdProgressBlock::SIZE bytes), written only on success.
    virtual int getProgress(uint8_t* block) = 0;
    // The drive's security key id; the string is untouched on failure.
    virtual int getSecurityKeyId(string& keyId) = 0;
    // Performance-monitor statistics: 56 bytes; 400 bytes for type 2 of the extended form and
    // 40 for any other type; the counters 152 bytes (zeroed first).
    virtual int getDpmStatistics(uint32_t type, uint8_t* out) = 0;
    virtual int getDpmStatisticsEx(uint32_t type, uint8_t* out) = 0;
    virtual int getDpmCounters(uint8_t* out) = 0;

    // Allowed-operation queries: the word is read anew on each call. The out-parameter forms
    // return the status of the read and write the bit on success (1 when the controller does
    // not report allowed operations; isFirmwareDownloadBlocked then writes the last bit read).
#define PD_DECLARE_ALLOWED_BIT(n) virtual int isAllowedOperationBit##n(uint8_t* allowed) = 0;
    PD_ALLOWED_OPERATION_BITS(PD_DECLARE_ALLOWED_BIT)
#undef PD_DECLARE_ALLOWED_BIT
    virtual int isFirmwareDownloadBlocked(uint8_t* blocked) = 0;
    // The result forms: the bit, or 1 when the controller does not report allowed operations.
    virtual int isAllowedOperationBit24() = 0;
    virtual int canStopSecureErase() = 0;
    // 1 when the record loads, the drive holds a foreign configuration and the controller does
    // not forbid its import.
    virtual int isForeignImportable() = 0;
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
    int setArray(Array* memberOf);
    int getArray(Array** memberOf);
    int setSpare(Spare* spareOf);
    Spare* getSpare() const { return spare; }

    // Every property query passes straight to the data object.
    int getEnclosureIndex(uint8_t* v) { return pdData->getEnclosureIndex(v); }
    int getEnclosureDeviceId(uint16_t* v) { return pdData->getEnclosureDeviceId(v); }
    int getSlotNumber(uint8_t* v) { return pdData->getSlotNumber(v); }
    int getSequenceNumber(uint16_t* v) { return pdData->getSequenceNumber(v); }
    int getDeviceId(uint16_t* v) { return pdData->getDeviceId(v); }
    int getDeviceRef(uint32_t* v) { return pdData->getDeviceRef(v); }
    int isWidePortCapable() { return pdData->isWidePortCapable(); }
    int getMediaErrorCount(uint32_t* v) { return pdData->getMediaErrorCount(v); }
    int getOtherErrorCount(uint32_t* v) { return pdData->getOtherErrorCount(v); }
    int getPredictiveFailureCount(uint32_t* v) { return pdData->getPredictiveFailureCount(v); }
    int getLastPredictiveFailureSeq(uint32_t* v) { return pdData->getLastPredictiveFailureSeq(v); }
    int getRawSize(uint64_t* v) { return pdData->getRawSize(v); }
    int getNonCoercedSize(uint64_t* v) { return pdData->getNonCoercedSize(v); }
    int getCoercedSize(uint64_t* v) { return pdData->getCoercedSize(v); }
    int getFirmwareState(uint16_t* v) { return pdData->getFirmwareState(v); }
    int getSasAddresses(const uint8_t** v) { return pdData->getSasAddresses(v); }
    int getInquiryData(const uint8_t** v) { return pdData->getInquiryData(v); }
    int getScsiDeviceType(uint8_t* v) { return pdData->getScsiDeviceType(v); }
    int isInfoUnavailable(uint8_t* v) { return pdData->isInfoUnavailable(v); }
    int getInterfaceType(uint8_t* v) { return pdData->getInterfaceType(v); }
    int getMediaType(uint8_t* v) { return pdData->getMediaType(v); }
    int getLogicalSectorSize(uint16_t* v) { return pdData->getLogicalSectorSize(v); }
    int getPhysicalSectorSizeExponent(uint16_t* v) { return pdData->getPhysicalSectorSizeExponent(v); }
    int getDeviceSpeed(uint8_t* v) { return pdData->getDeviceSpeed(v); }
    int getLinkSpeed(uint8_t* v) { return pdData->getLinkSpeed(v); }
    int getNotCertifiedFlag(uint8_t* v) { return pdData->getNotCertifiedFlag(v); }
    int getUnsupportedFlag(uint8_t* v) { return pdData->getUnsupportedFlag(v); }
    int isUnconfiguredGoodDisk(uint8_t* v) { return pdData->isUnconfiguredGoodDisk(v); }
    int isForeign(uint8_t* v) { return pdData->isForeign(v); }
    int setForeignState(uint16_t v) { return pdData->setForeignState(v); }
    int getForeignState(uint16_t* v) { return pdData->getForeignState(v); }
    int isOutdated() { return pdData->isOutdated(); }
    int isForeignConfig() { return pdData->isForeignConfig(); }
    int markOutdated() { return pdData->markOutdated(); }
    int isCommissionedSpare() { return pdData->isCommissionedSpare(); }
    int isEmergencySpare() { return pdData->isEmergencySpare(); }
    int getFlag361Bit6(uint8_t* v) { return pdData->getFlag361Bit6(v); }
    int getFlag361Bit7(uint8_t* v) { return pdData->getFlag361Bit7(v); }
    int getFlag362Bit1(uint8_t* v) { return pdData->getFlag362Bit1(v); }
    int getFlag362Bit2(uint8_t* v) { return pdData->getFlag362Bit2(v); }
    int getPowerState(uint16_t* v) { return pdData->getPowerState(v); }
    int isFdeCapable(uint16_t* v) { return pdData->isFdeCapable(v); }
    int isSecured(uint16_t* v) { return pdData->isSecured(v); }
    int isForeignLocked(uint8_t* v) { return pdData->isForeignLocked(v); }
    int isLocked(uint8_t* v) { return pdData->isLocked(v); }
    int hasSasSataBridge(uint8_t* v) { return pdData->hasSasSataBridge(v); }
    int needsEkmAttention(uint8_t* v) { return pdData->needsEkmAttention(v); }
    int isPiEligible(uint16_t* v) { return pdData->isPiEligible(v); }
    int getPiType(uint16_t* v) { return pdData->getPiType(v); }
    int getTemperature(uint8_t* v) { return pdData->getTemperature(v); }
    int getWidePortCapable(uint8_t* v) { return pdData->getWidePortCapable(v); }
    int canSuspendRebuild(uint8_t* v) { return pdData->canSuspendRebuild(v); }
    int canResumeRebuild(uint8_t* v) { return pdData->canResumeRebuild(v); }
    int canSuspendCopyback(uint8_t* v) { return pdData->canSuspendCopyback(v); }
    int canResumeCopyback(uint8_t* v) { return pdData->canResumeCopyback(v); }
    int unsupportedOperation35() { return pdData->unsupportedOperation35(); }
    int isBehindEnclosure() { return pdData->isBehindEnclosure(); }
    int getEnclosurePosition(uint8_t* v) { return pdData->getEnclosurePosition(v); }
    int getConnectorNumber(uint8_t* v) { return pdData->getConnectorNumber(v); }
    int getConnectorName(string** v) { return pdData->getConnectorName(v); }
    int getConnectorLocation(uint8_t* v) { return pdData->getConnectorLocation(v); }
    int getEnclosureSlotCount(uint16_t* v) { return pdData->getEnclosureSlotCount(v); }
    int hasNoEnclosureProperty() { return pdData->hasNoEnclosureProperty(); }
    int getPartnerDevice(PhysicalDevice** v) { return pdData->getPartnerDevice(v); }
    int getAtaIdentifyData(uint8_t* v) { return pdData->getAtaIdentifyData(v); }
    int getFruCru(uint8_t* found, uint8_t* text) { return pdData->getFruCru(found, text); }
    int getEnclosureModelData(uint8_t* isModel, uint8_t* serial, uint8_t* field3, uint8_t* fruPartNumber,
                              uint8_t* esmSerial, uint8_t* zoningMode)
    {
        return pdData->getEnclosureModelData(isModel, serial, field3, fruPartNumber, esmSerial, zoningMode);
    }

    // The drive commands and allowed-operation queries pass straight to the data object too.
    int setFirmwareState(uint8_t v) { return pdData->setFirmwareState(v); }
    int startRebuild() { return pdData->startRebuild(); }
    int stopRebuild() { return pdData->stopRebuild(); }
    int suspendRebuild() { return pdData->suspendRebuild(); }
    int resumeRebuild() { return pdData->resumeRebuild(); }
    int startClear() { return pdData->startClear(); }
    int stopClear() { return pdData->stopClear(); }
    int startLocate(uint16_t v) { return pdData->startLocate(v); }
    int stopLocate() { return pdData->stopLocate(); }
    int markMissing() { return pdData->markMissing(); }
    int prepareForRemoval() { return pdData->prepareForRemoval(); }
    int undoPrepareForRemoval() { return pdData->undoPrepareForRemoval(); }
    int startCopyback(PhysicalDevice* v) { return pdData->startCopyback(v); }
    int stopCopyback() { return pdData->stopCopyback(); }
    int suspendCopyback() { return pdData->suspendCopyback(); }
    int resumeCopyback() { return pdData->resumeCopyback(); }
    int startReprovision() { return pdData->startReprovision(); }
    int reprovisionLockedDrive() { return pdData->reprovisionLockedDrive(); }
    int startSecureErase(uint8_t t, uint8_t p1, uint8_t p2) { return pdData->startSecureErase(t, p1, p2); }
    int stopSecureErase() { return pdData->stopSecureErase(); }
    int makeHotSpare(ArrayList<Array*>* a, uint8_t r, uint8_t e) { return pdData->makeHotSpare(a, r, e); }
    int removeHotSpare() { return pdData->removeHotSpare(); }
    int spinUp() { return pdData->spinUp(); }
    int getProgress(uint8_t* v) { return pdData->getProgress(v); }
    int getSecurityKeyId(string& v) { return pdData->getSecurityKeyId(v); }
    int getDpmStatistics(uint32_t t, uint8_t* v) { return pdData->getDpmStatistics(t, v); }
    int getDpmStatisticsEx(uint32_t t, uint8_t* v) { return pdData->getDpmStatisticsEx(t, v); }
    int getDpmCounters(uint8_t* v) { return pdData->getDpmCounters(v); }
#define PD_FORWARD_ALLOWED_BIT(n) \
    int isAllowedOperationBit##n(uint8_t* v) { return pdData->isAllowedOperationBit##n(v); }
    PD_ALLOWED_OPERATION_BITS(PD_FORWARD_ALLOWED_BIT)
#undef PD_FORWARD_ALLOWED_BIT
    int isFirmwareDownloadBlocked(uint8_t* v) { return pdData->isFirmwareDownloadBlocked(v); }
    int isAllowedOperationBit24() { return pdData->isAllowedOperationBit24(); }
    int canStopSecureErase() { return pdData->canStopSecureErase(); }
    int isForeignImportable() { return pdData->isForeignImportable(); }

protected:
    PdData* pdData;  // the element's data object, seen as its interface
    Array* array;    // not owned; null when the drive is in no array
    Spare* spare;    // not owned; null when the drive is no hot spare
};

#endif
