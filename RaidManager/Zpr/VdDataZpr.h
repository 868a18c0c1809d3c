// The virtual-drive data of the controllers spoken to through DCMD firmware commands. Its
// settings (properties) and layout (parameters) point into the configuration record of the
// drive, into the drive's information record (read once on first need and kept), or, for a
// planned drive, into records of its own.
#ifndef VDDATAZPR_H
#define VDDATAZPR_H

#include "RaidManager/VirtualDisk.h"

class Adapter;
class VdIdZpr;

class VdDataZpr : public VdData {
public:
    // An existing drive: records are pointed at by the configuration reader or read on need.
    VdDataZpr(Controller* controller, VdIdZpr* id);
    // A planned drive, with zeroed records of its own holding the values given.
    VdDataZpr(Controller* controller, VdIdZpr* id, uint8_t primaryRaidLevel, uint8_t stripExponent,
              uint8_t currentCachePolicy, uint8_t defaultCachePolicy, uint8_t encryptionType,
              uint8_t defaultPowerSavingsPolicy);
    // Frees the information record, the records of its own and the spans.
    ~VdDataZpr() override;
    string toString() override;

    // The first and the next 32 bytes of the drive's configuration record (not owned).
    void setProperties(uint8_t* record) { properties = record; }
    void setParameters(uint8_t* record) { parameters = record; }

    [[nodiscard]] int getName(char* name, size_t size) override;
    [[nodiscard]] int getDefaultCachePolicy(uint8_t* policy) override;
    [[nodiscard]] int getAccessPolicy(uint8_t* policy) override;
    [[nodiscard]] int getDiskCachePolicy(uint8_t* policy) override;
    [[nodiscard]] int getCurrentCachePolicy(uint8_t* policy) override;
    [[nodiscard]] int getPrimaryRaidLevel(uint8_t* level) override;
    [[nodiscard]] int getRaidLevelQualifier(uint8_t* qualifier) override;
    [[nodiscard]] int getSecondaryRaidLevel(uint8_t* level) override;
    [[nodiscard]] int getStripSize(uint8_t* exponent) override;
    [[nodiscard]] int getDrivesPerSpan(uint8_t* count) override;
    [[nodiscard]] int getSpanDepth(uint8_t* count) override;
    [[nodiscard]] int getState(uint8_t* state) override;
    [[nodiscard]] int isInitialized(uint8_t* answer) override;
    [[nodiscard]] int isBgiDisabled(uint8_t* answer) override;
    [[nodiscard]] int getSize(uint64_t* blocks) override;
    [[nodiscard]] int getSizes(uint64_t* dataBlocks, uint64_t* redundancyBlocks) override;
    [[nodiscard]] int getSpans(ArrayList<Span*>** spans) override;
    [[nodiscard]] int getStartBlock(uint64_t* block) override;
    [[nodiscard]] int getSpanBlockCount(uint64_t* blocks, uint8_t span) override;
    [[nodiscard]] int getEncryptionType(uint8_t* type) override;
    [[nodiscard]] int hasBadBlocks(uint8_t* answer) override;
    [[nodiscard]] int setName(const char* name) override;
    [[nodiscard]] int setDefaultCachePolicy(uint8_t policy) override;
    [[nodiscard]] int setAccessPolicy(uint8_t policy) override;
    [[nodiscard]] int setDiskCachePolicy(uint8_t policy) override;
    [[nodiscard]] int setCurrentCachePolicy(uint8_t policy) override;
    [[nodiscard]] int setBgiDisabled(uint8_t disabled) override;
    [[nodiscard]] int beginUpdate() override;
    [[nodiscard]] int endUpdate() override;
    [[nodiscard]] int addSpan(Span* span) override;
    [[nodiscard]] int returnsZero53() override;
    [[nodiscard]] int markForeign() override;
    [[nodiscard]] int getLdInfoFlag303() override;
    [[nodiscard]] int setPropertyFlag25Bit0(uint8_t value) override;
    [[nodiscard]] int getPropertyFlag25Bit0(uint8_t* value) override;
    [[nodiscard]] int setPropertyFlag25Bit1(uint8_t value) override;
    [[nodiscard]] int getPropertyFlag25Bit1(uint8_t* value) override;
    [[nodiscard]] int getLdInfoFlag303b() override;
    [[nodiscard]] int isSnapshotEnabled() override;
    [[nodiscard]] int isTidewellCache() override;
    [[nodiscard]] int getLdInfoBlock256(uint64_t* blocks) override;
    [[nodiscard]] int getPowerSavingsPolicy(uint8_t* policy) override;
    [[nodiscard]] int setPowerSavingsPolicy(uint8_t policy) override;
    [[nodiscard]] int getCurrentPowerSavingsPolicy(uint8_t* policy) override;
    [[nodiscard]] int getPiType(uint8_t* type) override;
    [[nodiscard]] int setPiType(uint8_t type) override;
    [[nodiscard]] int getCurrentAccessPolicy(uint8_t* policy) override;
    [[nodiscard]] int getCacheAssociation(uint8_t* association) override;

    // The logical sector size of the first member drive whose information is available, and
    // the first nonzero physical sector exponent of the members (0 when none answers); always 0.
    [[nodiscard]] int getMemberSectorSize(uint16_t* bytes);
    [[nodiscard]] int getMemberPhysicalSectorExponent(uint16_t* exponent);

    // The virtual-drive commands (VdDataZprCommands.cpp).
#define VD_COMMAND(ret, name, params, args) [[nodiscard]] ret name params override;
#include "RaidManager/VdCommands.def"
#undef VD_COMMAND

protected:
    // 0 when the record is there or was read; the read's status otherwise. A drive marked
    // foreign whose information cannot be read gets a record of zeros.
    [[nodiscard]] int loadLdInfo();
    [[nodiscard]] int loadProperties();
    [[nodiscard]] int loadParameters();

private:
    void appendSsdCacheText(string& text, const uint8_t* associations, uint32_t count);
    bool appendFullHead(string& text, Adapter* adapter);
    void appendFullText(string& text, Adapter* adapter, const uint8_t* associations, uint32_t count);
    void appendProgressLines(string& text);
    void appendFullTail(string& text, Adapter* adapter, const uint8_t* associations, uint32_t count);
    [[nodiscard]] int getPropertyByte(size_t offset, uint8_t* value);
    [[nodiscard]] int getParameterByte(size_t offset, uint8_t* value);
    // Marks the drive changed, then stores the value: -1 without loaded properties.
    [[nodiscard]] int setPropertyByte(size_t offset, uint8_t value);
    // Walks the spans with the level's rule: data and redundancy sizes; -1 for a level without
    // a rule or a drive count too small for the level.
    [[nodiscard]] int sumSpans(uint64_t* dataBlocks, uint64_t* redundancyBlocks);

    // Asks the member drives in order until `answer(drive, value)` is true; `value` starts at 0.
    template <class Answer>
    [[nodiscard]] int askMembers(uint16_t* value, Answer answer);
    // The drive's snapshot target-id list (DCMD_LD_SNAPSHOT_SUBCMD_0B), new, read in two passes.
    [[nodiscard]] int readSnapshotIds(uint8_t** list, uint32_t* size);
    // Sends one controller command with mailbox words 0 and 1 (word 2 zero).
    [[nodiscard]] int send(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, void* data, uint32_t length);
    // The drive's ZprLdRef as mailbox word 0; 0 without an identifier.
    uint32_t reference() const;
    // The low byte of the target id (mailbox byte 0 of the target form).
    uint32_t targetByte() const;
    // Sends a command in the reference form with mailbox byte 4 = `byte4` and no data.
    [[nodiscard]] int sendByReference(uint32_t opcode, uint8_t byte4);
    // Reads the allowed-operations word into allowedOperations when the adapter reports such
    // words; `supported` tells whether it does. -1 without a manager or adapter.
    [[nodiscard]] int readAllowedOperations(uint8_t* supported);
    // The status form of the word's tests.
    [[nodiscard]] int allowedBitStatus(unsigned bit, uint8_t* answer);
    // The answer form: the bit; `unsupportedAnswer` when the adapter has no such words.
    [[nodiscard]] int allowedBitAnswer(unsigned bit, int unsupportedAnswer);

    uint8_t foreign;
    uint8_t dirty;
    uint8_t* properties;       // ZprLdProperties::SIZE bytes; not owned unless ownProperties
    uint8_t* parameters;       // ZprLdParameters::SIZE bytes; not owned unless ownParameters
    uint8_t* ldInfo;           // ZprLdInfo::SIZE bytes, owned; null until read
    uint32_t allowedOperations;  // read anew by every query of the allowed-operations word
    ArrayList<Span*>* spans;   // owned with its spans
    VdIdZpr* vdId;             // the base's identifier, typed
    uint8_t* ownProperties;    // a planned drive's own records, freed with the object
    uint8_t* ownParameters;
};

#endif
