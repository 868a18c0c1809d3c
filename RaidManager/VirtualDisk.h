// A virtual drive: the element and its data interface VdData. The commands that send one
// firmware command about the drive are listed once, in VdCommands.def; the text block joins
// the interface as it is built.
#ifndef VIRTUALDISK_H
#define VIRTUALDISK_H

#include <cstddef>
#include <cstdint>

#include "PavUtil/List.h"
#include "RaidManager/RaidElement.h"

class LdProgressBlock;
class PhysicalDevice;
class Span;
class Spare;

// Getters load their record when it is absent and return the load's failure, the out-parameter
// untouched; setters change the loaded settings and mark the drive changed, and endUpdate
// writes them back.
class VdData : public RaidElementData {
public:
    VdData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~VdData() override;

    // Copies the name (at most 15 characters and the NUL) to `name`, cut to `size` bytes.
    virtual int getName(char* name, size_t size) = 0;
    virtual int getDefaultCachePolicy(uint8_t* policy) = 0;
    virtual int getAccessPolicy(uint8_t* policy) = 0;
    virtual int getDiskCachePolicy(uint8_t* policy) = 0;
    virtual int getCurrentCachePolicy(uint8_t* policy) = 0;
    // 17 (a mirror of more than two drives) is given as 1.
    virtual int getPrimaryRaidLevel(uint8_t* level) = 0;
    virtual int getRaidLevelQualifier(uint8_t* qualifier) = 0;
    virtual int getSecondaryRaidLevel(uint8_t* level) = 0;
    virtual int getStripSize(uint8_t* exponent) = 0;
    virtual int getDrivesPerSpan(uint8_t* count) = 0;
    virtual int getSpanDepth(uint8_t* count) = 0;
    virtual int getState(uint8_t* state) = 0;
    virtual int isInitialized(uint8_t* answer) = 0;
    virtual int isBgiDisabled(uint8_t* answer) = 0;
    // Size in blocks from the spans: -1 for a level without a size rule, and for a record whose
    // drive count is too small for its level.
    virtual int getSize(uint64_t* blocks) = 0;
    virtual int getSizes(uint64_t* dataBlocks, uint64_t* redundancyBlocks) = 0;
    virtual int getSpans(ArrayList<Span*>** spans) = 0;
    virtual int getStartBlock(uint64_t* block) = 0;
    virtual int getSpanBlockCount(uint64_t* blocks, uint8_t span) = 0;
    virtual int getEncryptionType(uint8_t* type) = 0;
    virtual int hasBadBlocks(uint8_t* answer) = 0;

    // -1, nothing copied, without loaded settings or for a name of more than 15 characters.
    virtual int setName(const char* name) = 0;
    virtual int setDefaultCachePolicy(uint8_t policy) = 0;
    virtual int setAccessPolicy(uint8_t policy) = 0;
    virtual int setDiskCachePolicy(uint8_t policy) = 0;
    virtual int setCurrentCachePolicy(uint8_t policy) = 0;
    virtual int setBgiDisabled(uint8_t disabled) = 0;
    // Loads the settings that the setters change.
    virtual int beginUpdate() = 0;
    // Writes changed settings back; the change mark stays until the controller takes them.
    virtual int endUpdate() = 0;
    // The data object owns the span from then on.
    virtual int addSpan(Span* span) = 0;
    virtual int returnsZero53() = 0;
    virtual int markForeign() = 0;

    virtual int getLdInfoFlag303() = 0;
    virtual int setPropertyFlag25Bit0(uint8_t value) = 0;
    virtual int getPropertyFlag25Bit0(uint8_t* value) = 0;
    virtual int setPropertyFlag25Bit1(uint8_t value) = 0;
    virtual int getPropertyFlag25Bit1(uint8_t* value) = 0;
    virtual int getLdInfoFlag303b() = 0;
    virtual int isSnapshotEnabled() = 0;
    // 1 also when the parameters cannot be loaded.
    virtual int isTidewellCache() = 0;
    virtual int getLdInfoBlock256(uint64_t* blocks) = 0;
    virtual int getPowerSavingsPolicy(uint8_t* policy) = 0;
    virtual int setPowerSavingsPolicy(uint8_t policy) = 0;
    virtual int getCurrentPowerSavingsPolicy(uint8_t* policy) = 0;
    virtual int getPiType(uint8_t* type) = 0;
    virtual int setPiType(uint8_t type) = 0;
    virtual int getCurrentAccessPolicy(uint8_t* policy) = 0;
    virtual int getCacheAssociation(uint8_t* association) = 0;

#define VD_COMMAND(ret, name, params, args) virtual ret name params = 0;
#include "RaidManager/VdCommands.def"
#undef VD_COMMAND
};

class VirtualDisk : public RaidElement {
public:
    VirtualDisk(VdData* data, Controller* controller);
    string toString() override;
    // Deletes the dedicated-spare cache container (not the spares).
    ~VirtualDisk() override;

    // The creator registered under ELEMENT_TYPE_VD; null without a data object.
    static RaidElement* create(RaidElementData* data, Controller* controller);

    // The hot spares dedicated to the arrays under the drive's spans, one per drive, in span
    // and then array order; null when there is none. The list belongs to the element.
    int getDedicatedSpares(ArrayList<Spare*>** spares);
    // 1 when a drive of an array under the drive's spans is foreign.
    int hasForeignPd(uint8_t* answer);

    int getName(char* v, size_t size) { return vdData->getName(v, size); }
    int getDefaultCachePolicy(uint8_t* v) { return vdData->getDefaultCachePolicy(v); }
    int getAccessPolicy(uint8_t* v) { return vdData->getAccessPolicy(v); }
    int getDiskCachePolicy(uint8_t* v) { return vdData->getDiskCachePolicy(v); }
    int getCurrentCachePolicy(uint8_t* v) { return vdData->getCurrentCachePolicy(v); }
    int getPrimaryRaidLevel(uint8_t* v) { return vdData->getPrimaryRaidLevel(v); }
    int getRaidLevelQualifier(uint8_t* v) { return vdData->getRaidLevelQualifier(v); }
    int getSecondaryRaidLevel(uint8_t* v) { return vdData->getSecondaryRaidLevel(v); }
    int getStripSize(uint8_t* v) { return vdData->getStripSize(v); }
    int getDrivesPerSpan(uint8_t* v) { return vdData->getDrivesPerSpan(v); }
    int getSpanDepth(uint8_t* v) { return vdData->getSpanDepth(v); }
    int getState(uint8_t* v) { return vdData->getState(v); }
    int isInitialized(uint8_t* v) { return vdData->isInitialized(v); }
    int isBgiDisabled(uint8_t* v) { return vdData->isBgiDisabled(v); }
    int getSize(uint64_t* v) { return vdData->getSize(v); }
    int getSizes(uint64_t* data, uint64_t* redundancy) { return vdData->getSizes(data, redundancy); }
    int getSpans(ArrayList<Span*>** v) { return vdData->getSpans(v); }
    int getStartBlock(uint64_t* v) { return vdData->getStartBlock(v); }
    int getSpanBlockCount(uint64_t* v, uint8_t span) { return vdData->getSpanBlockCount(v, span); }
    int getEncryptionType(uint8_t* v) { return vdData->getEncryptionType(v); }
    int hasBadBlocks(uint8_t* v) { return vdData->hasBadBlocks(v); }
    int setName(const char* v) { return vdData->setName(v); }
    int setDefaultCachePolicy(uint8_t v) { return vdData->setDefaultCachePolicy(v); }
    int setAccessPolicy(uint8_t v) { return vdData->setAccessPolicy(v); }
    int setDiskCachePolicy(uint8_t v) { return vdData->setDiskCachePolicy(v); }
    int setCurrentCachePolicy(uint8_t v) { return vdData->setCurrentCachePolicy(v); }
    int setBgiDisabled(uint8_t v) { return vdData->setBgiDisabled(v); }
    int beginUpdate() { return vdData->beginUpdate(); }
    int endUpdate() { return vdData->endUpdate(); }
    int addSpan(Span* v) { return vdData->addSpan(v); }
    int returnsZero53() { return vdData->returnsZero53(); }
    int markForeign() { return vdData->markForeign(); }
    int getLdInfoFlag303() { return vdData->getLdInfoFlag303(); }
    int setPropertyFlag25Bit0(uint8_t v) { return vdData->setPropertyFlag25Bit0(v); }
    int getPropertyFlag25Bit0(uint8_t* v) { return vdData->getPropertyFlag25Bit0(v); }
    int setPropertyFlag25Bit1(uint8_t v) { return vdData->setPropertyFlag25Bit1(v); }
    int getPropertyFlag25Bit1(uint8_t* v) { return vdData->getPropertyFlag25Bit1(v); }
    int getLdInfoFlag303b() { return vdData->getLdInfoFlag303b(); }
    int isSnapshotEnabled() { return vdData->isSnapshotEnabled(); }
    int isTidewellCache() { return vdData->isTidewellCache(); }
    int getLdInfoBlock256(uint64_t* v) { return vdData->getLdInfoBlock256(v); }
    int getPowerSavingsPolicy(uint8_t* v) { return vdData->getPowerSavingsPolicy(v); }
    int setPowerSavingsPolicy(uint8_t v) { return vdData->setPowerSavingsPolicy(v); }
    int getCurrentPowerSavingsPolicy(uint8_t* v) { return vdData->getCurrentPowerSavingsPolicy(v); }
    int getPiType(uint8_t* v) { return vdData->getPiType(v); }
    int setPiType(uint8_t v) { return vdData->setPiType(v); }
    int getCurrentAccessPolicy(uint8_t* v) { return vdData->getCurrentAccessPolicy(v); }
    int getCacheAssociation(uint8_t* v) { return vdData->getCacheAssociation(v); }

#define VD_COMMAND(ret, name, params, args) \
    ret name params { return vdData->name args; }
#include "RaidManager/VdCommands.def"
#undef VD_COMMAND

protected:
    VdData* vdData;                   // the element's data object, seen as its interface
    ArrayList<Spare*>* dedicatedSpares;   // built on first use; null when empty
};

#endif
