// The drive data of the controllers spoken to through DCMD firmware commands: the drive's
// information record, read once on first use and kept for the life of the object (a
// RAID-manager refresh builds a new one), and what the configuration reader learns about a
// drive of a foreign configuration.
#ifndef PDDATAZPR_H
#define PDDATAZPR_H

#include "RaidManager/PhysicalDevice.h"

class Adapter;
class PdIdZpr;
class ZprDriveInfo;

class PdDataZpr : public PdData {
public:
    static const uint16_t FOREIGN_STATE_NONE = 0xFFFF;
    // Room of the world-wide-name text, NUL included.
    static const size_t WWN_TEXT_SIZE = 512;

    // Takes ownership of the identifier (through the base), which addresses the drive.
    PdDataZpr(Controller* controller, PdIdZpr* id);
    ~PdDataZpr() override;
    string toString() override;

    [[nodiscard]] int getEnclosureIndex(uint8_t* index) override;
    [[nodiscard]] int getEnclosureDeviceId(uint16_t* deviceId) override;
    [[nodiscard]] int getSlotNumber(uint8_t* slot) override;
    [[nodiscard]] int getSequenceNumber(uint16_t* sequence) override;
    [[nodiscard]] int getDeviceId(uint16_t* deviceId) override;
    [[nodiscard]] int getDeviceRef(uint32_t* reference) override;
    [[nodiscard]] int isWidePortCapable() override;
    [[nodiscard]] int getMediaErrorCount(uint32_t* count) override;
    [[nodiscard]] int getOtherErrorCount(uint32_t* count) override;
    [[nodiscard]] int getPredictiveFailureCount(uint32_t* count) override;
    [[nodiscard]] int getLastPredictiveFailureSeq(uint32_t* sequence) override;
    [[nodiscard]] int getRawSize(uint64_t* sectors) override;
    [[nodiscard]] int getNonCoercedSize(uint64_t* sectors) override;
    [[nodiscard]] int getCoercedSize(uint64_t* sectors) override;
    [[nodiscard]] int getFirmwareState(uint16_t* state) override;
    [[nodiscard]] int getSasAddresses(const uint8_t** addresses) override;
    [[nodiscard]] int getInquiryData(const uint8_t** inquiry) override;
    [[nodiscard]] int getScsiDeviceType(uint8_t* type) override;
    [[nodiscard]] int isInfoUnavailable(uint8_t* unavailable) override;
    [[nodiscard]] int getInterfaceType(uint8_t* type) override;
    [[nodiscard]] int getMediaType(uint8_t* type) override;
    [[nodiscard]] int getLogicalSectorSize(uint16_t* bytes) override;
    [[nodiscard]] int getPhysicalSectorSizeExponent(uint16_t* exponent) override;
    [[nodiscard]] int getDeviceSpeed(uint8_t* speed) override;
    [[nodiscard]] int getLinkSpeed(uint8_t* speed) override;
    [[nodiscard]] int getNotCertifiedFlag(uint8_t* flag) override;
    [[nodiscard]] int getUnsupportedFlag(uint8_t* flag) override;
    [[nodiscard]] int isUnconfiguredGoodDisk(uint8_t* answer) override;
    [[nodiscard]] int isForeign(uint8_t* answer) override;
    [[nodiscard]] int setForeignState(uint16_t state) override;
    [[nodiscard]] int getForeignState(uint16_t* state) override;
    [[nodiscard]] int isOutdated() override;
    [[nodiscard]] int isForeignConfig() override;
    [[nodiscard]] int markOutdated() override;
    [[nodiscard]] int isCommissionedSpare() override;
    [[nodiscard]] int isEmergencySpare() override;
    [[nodiscard]] int getFlag361Bit6(uint8_t* flag) override;
    [[nodiscard]] int getFlag361Bit7(uint8_t* flag) override;
    [[nodiscard]] int getFlag362Bit1(uint8_t* flag) override;
    [[nodiscard]] int getFlag362Bit2(uint8_t* flag) override;
    [[nodiscard]] int getPowerState(uint16_t* state) override;
    [[nodiscard]] int isFdeCapable(uint16_t* answer) override;
    [[nodiscard]] int isSecured(uint16_t* answer) override;
    [[nodiscard]] int isForeignLocked(uint8_t* answer) override;
    [[nodiscard]] int isLocked(uint8_t* answer) override;
    [[nodiscard]] int hasSasSataBridge(uint8_t* answer) override;
    [[nodiscard]] int needsEkmAttention(uint8_t* answer) override;
    [[nodiscard]] int isPiEligible(uint16_t* answer) override;
    [[nodiscard]] int getPiType(uint16_t* type) override;
    [[nodiscard]] int getTemperature(uint8_t* celsius) override;
    [[nodiscard]] int getWidePortCapable(uint8_t* answer) override;
    [[nodiscard]] int canSuspendRebuild(uint8_t* answer) override;
    [[nodiscard]] int canResumeRebuild(uint8_t* answer) override;
    [[nodiscard]] int canSuspendCopyback(uint8_t* answer) override;
    [[nodiscard]] int canResumeCopyback(uint8_t* answer) override;
    [[nodiscard]] int unsupportedOperation35() override;
    string formatStateDetails() override;
    string formatSecurityDetails() override;

    // The world-wide name into `out` (WWN_TEXT_SIZE bytes): for a SAS drive the last SCSI name
    // string of its device identification, for a SATA drive its 8-byte name in 16 lowercase
    // hex digits, else empty. 0, or -1 (empty text) without the drive information.
    [[nodiscard]] int formatWwn(char* out);
    // Where the drive sits in the configuration, counted from 0: 0 when found, 255 when not,
    // or the low 8 bits of a failed model query.
    [[nodiscard]] int findDrivePosition(uint8_t* group, uint8_t* span, uint8_t* arm);

    // Where the drive sits and what only the drive itself can tell.
    [[nodiscard]] int isBehindEnclosure() override;
    [[nodiscard]] int getEnclosurePosition(uint8_t* position) override;
    [[nodiscard]] int getConnectorNumber(uint8_t* connector) override;
    [[nodiscard]] int getConnectorName(string** name) override;
    [[nodiscard]] int getConnectorLocation(uint8_t* location) override;
    [[nodiscard]] int getEnclosureSlotCount(uint16_t* slots) override;
    [[nodiscard]] int hasNoEnclosureProperty() override;
    [[nodiscard]] int getPartnerDevice(PhysicalDevice** partner) override;
    [[nodiscard]] int getAtaIdentifyData(uint8_t* identify) override;
    [[nodiscard]] int getFruCru(uint8_t* found, uint8_t* text) override;
    [[nodiscard]] int getEnclosureModelData(uint8_t* isModel, uint8_t* serial, uint8_t* field3, uint8_t* fruPartNumber,
                              uint8_t* esmSerial, uint8_t* zoningMode) override;
    // The controller's adapter element: 0, or -1 (null written) without a manager or adapter.
    [[nodiscard]] int getAdapterElement(Adapter** adapter);
    // Serial number, model number and firmware revision of a SATA drive's identify data, 68
    // characters into `text` (room for 68); the identify read's status.
    [[nodiscard]] int getAtaIdentifyText(char* text, uint8_t* length);
    // The temperature log page (32 bytes; byte 9 the temperature) and a bridge's firmware
    // page (158 bytes) of device `deviceId`; the read's status (the bridge page's low 8 bits).
    [[nodiscard]] int readTemperaturePage(uint8_t* page);
    [[nodiscard]] int readBridgeFirmwarePage(uint8_t* page, uint16_t deviceId);

    // White space removed in place at the end, at the start, or both; null stays null.
    static char* trimTrailingSpaces(char* text);
    static char* trimLeadingSpaces(char* text);
    static char* trimSpaces(char* text);

    // The drive commands (PdDataZprCommands.cpp).
    [[nodiscard]] int setFirmwareState(uint8_t state) override;
    [[nodiscard]] int startRebuild() override;
    [[nodiscard]] int stopRebuild() override;
    [[nodiscard]] int suspendRebuild() override;
    [[nodiscard]] int resumeRebuild() override;
    [[nodiscard]] int startClear() override;
    [[nodiscard]] int stopClear() override;
    [[nodiscard]] int startLocate(uint16_t argument) override;
    [[nodiscard]] int stopLocate() override;
    [[nodiscard]] int markMissing() override;
    [[nodiscard]] int prepareForRemoval() override;
    [[nodiscard]] int undoPrepareForRemoval() override;
    [[nodiscard]] int startCopyback(PhysicalDevice* destination) override;
    [[nodiscard]] int stopCopyback() override;
    [[nodiscard]] int suspendCopyback() override;
    [[nodiscard]] int resumeCopyback() override;
    [[nodiscard]] int startReprovision() override;
    [[nodiscard]] int reprovisionLockedDrive() override;
    [[nodiscard]] int startSecureErase(uint8_t eraseType, uint8_t pattern1, uint8_t pattern2) override;
    [[nodiscard]] int stopSecureErase() override;
    [[nodiscard]] int makeHotSpare(ArrayList<Array*>* arrays, uint8_t revertible, uint8_t enclosureAffinity) override;
    [[nodiscard]] int removeHotSpare() override;
    [[nodiscard]] int spinUp() override;
    [[nodiscard]] int getProgress(uint8_t* block) override;
    [[nodiscard]] int getSecurityKeyId(string& keyId) override;
    [[nodiscard]] int getDpmStatistics(uint32_t type, uint8_t* out) override;
    [[nodiscard]] int getDpmStatisticsEx(uint32_t type, uint8_t* out) override;
    [[nodiscard]] int getDpmCounters(uint8_t* out) override;
#define PD_OVERRIDE_ALLOWED_BIT(n) int isAllowedOperationBit##n(uint8_t* allowed) override;
    PD_ALLOWED_OPERATION_BITS(PD_OVERRIDE_ALLOWED_BIT)
#undef PD_OVERRIDE_ALLOWED_BIT
    [[nodiscard]] int isFirmwareDownloadBlocked(uint8_t* blocked) override;
    [[nodiscard]] int isAllowedOperationBit24() override;
    [[nodiscard]] int canStopSecureErase() override;
    [[nodiscard]] int isForeignImportable() override;

protected:
    // Reads the information record unless it is cached: 0, -1 without an identifier or
    // memory, or the read's status (nothing cached, so the next query reads again).
    [[nodiscard]] int fetchDriveInfo();
    // Reads the allowed-operations word anew when the controller's adapter reports such words:
    // the adapter query's status (0 with `supported` 0 when it does not report them; the word is
    // then left as it was), else the read's status. -1 without a RAID manager or adapter.
    [[nodiscard]] int fetchAllowedOperations(uint8_t* supported);
    // One command about the drive without data: the opcode with mailbox bytes 0-7 as one value.
    [[nodiscard]] int sendDriveCommand(uint32_t opcode, uint64_t mailbox);

private:
    // Checks that the connector queries may be answered (a drive behind an enclosure, an
    // adapter with connector information) and loads the record: 0, or -1 / the load status.
    [[nodiscard]] int connectorPreconditions(Adapter** adapter);
    // The connector of an enclosure's own record: the first port that is not passive and is
    // cabled; false when no port qualifies.
    bool ownConnector(uint8_t* connector);
    // The adapter and the connector leading to the drive (after connectorPreconditions): its
    // own for an enclosure, else its enclosure's (0xFF when there is none); 0, the
    // preconditions' status, or -1 when the enclosure cannot be asked.
    [[nodiscard]] int connectorOfPlace(Adapter** adapter, uint8_t* connector);
    // Runs `ask` on the data of the drive's enclosure, whose record must name itself (the
    // chain ends there): ask's result, or -1 without such an enclosure.
    template <typename Ask>
    [[nodiscard]] int askEnclosure(Ask ask);
    // One pass-through read from device `deviceId` (sense data into `sense` when given).
    [[nodiscard]] int readFromDevice(uint16_t deviceId, const uint8_t* cdb, uint8_t cdbLength, void* data, uint32_t length,
                       uint8_t* sense = nullptr);

    void appendStateTail(string& text, Adapter* adapter);
    void appendInquiryText(string& text);
    void appendTemperature(string& text);
    void appendSecurityTail(string& text);
    // Loads the record and writes read(record) to `out`; the load's status otherwise.
    template <typename T, typename Read>
    [[nodiscard]] int answer(T* out, Read read);
    // 1 when bit `bitNumber` of the byte at `offset` is set.
    [[nodiscard]] int answerBit(uint8_t* out, size_t offset, unsigned bitNumber);
    // Loads the record; `onFailure` instead of the status when it cannot.
    [[nodiscard]] int answerFlag(size_t offset, unsigned bitNumber, int onFailure);
    // Loads the record, then sends `opcode` with the drive's device reference (or device id)
    // in mailbox bytes 0-3 and `high` in bytes 4-7.
    [[nodiscard]] int sendForReference(uint32_t opcode, uint32_t high = 0);
    [[nodiscard]] int sendForDeviceId(uint32_t opcode, uint16_t argument = 0);
    // Suspend (0) or resume (1) of a rebuild or copyback, by the drive's reference.
    [[nodiscard]] int sendSuspendResume(uint32_t opcode, uint8_t resume);
    // A read of `length` bytes about the drive into `buffer`.
    [[nodiscard]] int readDriveData(uint32_t opcode, uint64_t mailbox, void* buffer, uint32_t length);
    // The out-parameter forms of the allowed-operation queries: bit `n` of the word, or
    // `unreported` when the controller does not report allowed operations.
    [[nodiscard]] int allowedBit(uint8_t* out, unsigned n, int unreported);
    // The result forms: bit `n`, or 1 when the word is not reported.
    [[nodiscard]] int allowedBitResult(unsigned n);

    PdIdZpr* pdId;            // the base's identifier, typed; not deleted separately
    uint8_t* driveInfo;       // ZprDriveInfo::SIZE bytes, or null until a read succeeds
    uint32_t allowedOperations;   // the last word read; 0 before the first read
    uint16_t foreignState;    // FOREIGN_STATE_NONE, or the state a foreign configuration gives
    uint8_t outdated;
};

#endif
