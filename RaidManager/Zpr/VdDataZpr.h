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

    // A new target-id list (ZprLdIdList layout, freed by the caller with delete[]): for an
    // SSD-caching drive the drives it caches, for any other the SSD-caching drives that cache it.
    int getTidewellAssociations(uint8_t** list);
    // The logical sector size and the physical sector exponent of the first member drive that
    // answers (0 when none does); always 0.
    int getMemberSectorSize(uint16_t* bytes);
    int getMemberPhysicalSectorExponent(uint16_t* exponent);

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

    uint8_t foreign;
    uint8_t dirty;
    uint8_t* properties;       // ZprLdProperties::SIZE bytes; not owned unless ownProperties
    uint8_t* parameters;       // ZprLdParameters::SIZE bytes; not owned unless ownParameters
    uint8_t* ldInfo;           // ZprLdInfo::SIZE bytes, owned; null until read
    [[maybe_unused]] uint32_t allowedOperations;  // filled by the virtual-drive commands, which land later
    ArrayList<Span*>* spans;   // owned with its spans
    VdIdZpr* vdId;             // the base's identifier, typed
    uint8_t* ownProperties;    // a planned drive's own records, freed with the object
    uint8_t* ownParameters;
};

#endif
