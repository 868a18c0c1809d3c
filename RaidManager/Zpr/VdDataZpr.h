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

    int getName(char* name, size_t size) override;
    int getDefaultCachePolicy(uint8_t* policy) override;
    int getAccessPolicy(uint8_t* policy) override;
    int getDiskCachePolicy(uint8_t* policy) override;
    int getCurrentCachePolicy(uint8_t* policy) override;
    int getPrimaryRaidLevel(uint8_t* level) override;
    int getRaidLevelQualifier(uint8_t* qualifier) override;
    int getSecondaryRaidLevel(uint8_t* level) override;
    int getStripSize(uint8_t* exponent) override;
    int getDrivesPerSpan(uint8_t* count) override;
    int getSpanDepth(uint8_t* count) override;
    int getState(uint8_t* state) override;
    int isInitialized(uint8_t* answer) override;
    int isBgiDisabled(uint8_t* answer) override;
    int getSize(uint64_t* blocks) override;
    int getSizes(uint64_t* dataBlocks, uint64_t* redundancyBlocks) override;
    int getSpans(ArrayList<Span*>** spans) override;
    int getStartBlock(uint64_t* block) override;
    int getSpanBlockCount(uint64_t* blocks, uint8_t span) override;
    int getEncryptionType(uint8_t* type) override;
    int hasBadBlocks(uint8_t* answer) override;
    int setName(const char* name) override;
    int setDefaultCachePolicy(uint8_t policy) override;
    int setAccessPolicy(uint8_t policy) override;
    int setDiskCachePolicy(uint8_t policy) override;
    int setCurrentCachePolicy(uint8_t policy) override;
    int setBgiDisabled(uint8_t disabled) override;
    int beginUpdate() override;
    int endUpdate() override;
    int addSpan(Span* span) override;
    int returnsZero53() override;
    int markForeign() override;
    int getLdInfoFlag303() override;
    int setPropertyFlag25Bit0(uint8_t value) override;
    int getPropertyFlag25Bit0(uint8_t* value) override;
    int setPropertyFlag25Bit1(uint8_t value) override;
    int getPropertyFlag25Bit1(uint8_t* value) override;
    int getLdInfoFlag303b() override;
    int isSnapshotEnabled() override;
    int isTidewellCache() override;
    int getLdInfoBlock256(uint64_t* blocks) override;
    int getPowerSavingsPolicy(uint8_t* policy) override;
    int setPowerSavingsPolicy(uint8_t policy) override;
    int getCurrentPowerSavingsPolicy(uint8_t* policy) override;
    int getPiType(uint8_t* type) override;
    int setPiType(uint8_t type) override;
    int getCurrentAccessPolicy(uint8_t* policy) override;
    int getCacheAssociation(uint8_t* association) override;

    // The logical sector size of the first member drive whose information is available, and
    // the first nonzero physical sector exponent of the members (0 when none answers); always 0.
    int getMemberSectorSize(uint16_t* bytes);
    int getMemberPhysicalSectorExponent(uint16_t* exponent);

    // The virtual-drive commands (VdDataZprCommands.cpp).
#define VD_COMMAND(ret, name, params, args) ret name params override;
#include "RaidManager/VdCommands.def"
#undef VD_COMMAND

protected:
    // 0 when the record is there or was read; the read's status otherwise. A drive marked
    // foreign whose information cannot be read gets a record of zeros.
    int loadLdInfo();
    int loadProperties();
    int loadParameters();

private:
    void appendSsdCacheText(string& text, const uint8_t* associations, uint32_t count);
    bool appendFullHead(string& text, Adapter* adapter);
    void appendFullText(string& text, Adapter* adapter, const uint8_t* associations, uint32_t count);
    void appendProgressLines(string& text);
    void appendFullTail(string& text, Adapter* adapter, const uint8_t* associations, uint32_t count);
    int getPropertyByte(size_t offset, uint8_t* value);
    int getParameterByte(size_t offset, uint8_t* value);
    // Marks the drive changed, then stores the value: -1 without loaded properties.
    int setPropertyByte(size_t offset, uint8_t value);
    // Walks the spans with the level's rule: data and redundancy sizes; -1 for a level without
    // a rule or a drive count too small for the level.
    int sumSpans(uint64_t* dataBlocks, uint64_t* redundancyBlocks);

    // Asks the member drives in order until `answer(drive, value)` is true; `value` starts at 0.
    template <class Answer>
    int askMembers(uint16_t* value, Answer answer);
    // The drive's snapshot target-id list (DCMD_LD_SNAPSHOT_SUBCMD_0B), new, read in two passes.
    int readSnapshotIds(uint8_t** list, uint32_t* size);
    // Sends one controller command with mailbox words 0 and 1 (word 2 zero).
    int send(uint32_t opcode, uint32_t mailbox0, uint32_t mailbox1, void* data, uint32_t length);
    // The drive's ZprLdRef as mailbox word 0; 0 without an identifier.
    uint32_t reference() const;
    // The low byte of the target id (mailbox byte 0 of the target form).
    uint32_t targetByte() const;
    // Sends a command in the reference form with mailbox byte 4 = `byte4` and no data.
    int sendByReference(uint32_t opcode, uint8_t byte4);
    // Reads the allowed-operations word into allowedOperations when the adapter reports such
    // words; `supported` tells whether it does. -1 without a manager or adapter.
    int readAllowedOperations(uint8_t* supported);
    // The status form of the word's tests.
    int allowedBitStatus(unsigned bit, uint8_t* answer);
    // The answer form: the bit; `unsupportedAnswer` when the adapter has no such words.
    int allowedBitAnswer(unsigned bit, int unsupportedAnswer);

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
