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
    [[nodiscard]] virtual int getName(char* name, size_t size) = 0;
    [[nodiscard]] virtual int getDefaultCachePolicy(uint8_t* policy) = 0;
    [[nodiscard]] virtual int getAccessPolicy(uint8_t* policy) = 0;
    [[nodiscard]] virtual int getDiskCachePolicy(uint8_t* policy) = 0;
    [[nodiscard]] virtual int getCurrentCachePolicy(uint8_t* policy) = 0;
    // 17 (a mirror of more than two drives) is given as 1.
    [[nodiscard]] virtual int getPrimaryRaidLevel(uint8_t* level) = 0;
    [[nodiscard]] virtual int getRaidLevelQualifier(uint8_t* qualifier) = 0;
    [[nodiscard]] virtual int getSecondaryRaidLevel(uint8_t* level) = 0;
    [[nodiscard]] virtual int getStripSize(uint8_t* exponent) = 0;
    [[nodiscard]] virtual int getDrivesPerSpan(uint8_t* count) = 0;
    [[nodiscard]] virtual int getSpanDepth(uint8_t* count) = 0;
    [[nodiscard]] virtual int getState(uint8_t* state) = 0;
    [[nodiscard]] virtual int isInitialized(uint8_t* answer) = 0;
    [[nodiscard]] virtual int isBgiDisabled(uint8_t* answer) = 0;
    // Size in blocks from the spans: -1 for a level without a size rule, and for a record whose
    // drive count is too small for its level.
    [[nodiscard]] virtual int getSize(uint64_t* blocks) = 0;
    [[nodiscard]] virtual int getSizes(uint64_t* dataBlocks, uint64_t* redundancyBlocks) = 0;
    [[nodiscard]] virtual int getSpans(ArrayList<Span*>** spans) = 0;
    [[nodiscard]] virtual int getStartBlock(uint64_t* block) = 0;
    [[nodiscard]] virtual int getSpanBlockCount(uint64_t* blocks, uint8_t span) = 0;
    [[nodiscard]] virtual int getEncryptionType(uint8_t* type) = 0;
    [[nodiscard]] virtual int hasBadBlocks(uint8_t* answer) = 0;

    // -1, nothing copied, without loaded settings or for a name of more than 15 characters.
    [[nodiscard]] virtual int setName(const char* name) = 0;
    [[nodiscard]] virtual int setDefaultCachePolicy(uint8_t policy) = 0;
    [[nodiscard]] virtual int setAccessPolicy(uint8_t policy) = 0;
    [[nodiscard]] virtual int setDiskCachePolicy(uint8_t policy) = 0;
    [[nodiscard]] virtual int setCurrentCachePolicy(uint8_t policy) = 0;
    [[nodiscard]] virtual int setBgiDisabled(uint8_t disabled) = 0;
    // Loads the settings that the setters change.
    [[nodiscard]] virtual int beginUpdate() = 0;
    // Writes changed settings back; the change mark stays until the controller takes them.
    [[nodiscard]] virtual int endUpdate() = 0;
    // The data object owns the span from then on.
    [[nodiscard]] virtual int addSpan(Span* span) = 0;
    [[nodiscard]] virtual int returnsZero53() = 0;
    [[nodiscard]] virtual int markForeign() = 0;

    [[nodiscard]] virtual int getLdInfoFlag303() = 0;
    [[nodiscard]] virtual int setPropertyFlag25Bit0(uint8_t value) = 0;
    [[nodiscard]] virtual int getPropertyFlag25Bit0(uint8_t* value) = 0;
    [[nodiscard]] virtual int setPropertyFlag25Bit1(uint8_t value) = 0;
    [[nodiscard]] virtual int getPropertyFlag25Bit1(uint8_t* value) = 0;
    [[nodiscard]] virtual int getLdInfoFlag303b() = 0;
    [[nodiscard]] virtual int isSnapshotEnabled() = 0;
    // 1 also when the parameters cannot be loaded.
    [[nodiscard]] virtual int isTidewellCache() = 0;
    [[nodiscard]] virtual int getLdInfoBlock256(uint64_t* blocks) = 0;
    [[nodiscard]] virtual int getPowerSavingsPolicy(uint8_t* policy) = 0;
    [[nodiscard]] virtual int setPowerSavingsPolicy(uint8_t policy) = 0;
    [[nodiscard]] virtual int getCurrentPowerSavingsPolicy(uint8_t* policy) = 0;
    [[nodiscard]] virtual int getPiType(uint8_t* type) = 0;
    [[nodiscard]] virtual int setPiType(uint8_t type) = 0;
    [[nodiscard]] virtual int getCurrentAccessPolicy(uint8_t* policy) = 0;
    [[nodiscard]] virtual int getCacheAssociation(uint8_t* association) = 0;

#define VD_COMMAND(ret, name, params, args) [[nodiscard]] virtual ret name params = 0;
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
    [[nodiscard]] int getDedicatedSpares(ArrayList<Spare*>** spares);
    // 1 when a drive of an array under the drive's spans is foreign.
    [[nodiscard]] int hasForeignPd(uint8_t* answer);

    [[nodiscard]] int getName(char* v, size_t size) { return vdData->getName(v, size); }
    [[nodiscard]] int getDefaultCachePolicy(uint8_t* v) { return vdData->getDefaultCachePolicy(v); }
    [[nodiscard]] int getAccessPolicy(uint8_t* v) { return vdData->getAccessPolicy(v); }
    [[nodiscard]] int getDiskCachePolicy(uint8_t* v) { return vdData->getDiskCachePolicy(v); }
    [[nodiscard]] int getCurrentCachePolicy(uint8_t* v) { return vdData->getCurrentCachePolicy(v); }
    [[nodiscard]] int getPrimaryRaidLevel(uint8_t* v) { return vdData->getPrimaryRaidLevel(v); }
    [[nodiscard]] int getRaidLevelQualifier(uint8_t* v) { return vdData->getRaidLevelQualifier(v); }
    [[nodiscard]] int getSecondaryRaidLevel(uint8_t* v) { return vdData->getSecondaryRaidLevel(v); }
    [[nodiscard]] int getStripSize(uint8_t* v) { return vdData->getStripSize(v); }
    [[nodiscard]] int getDrivesPerSpan(uint8_t* v) { return vdData->getDrivesPerSpan(v); }
    [[nodiscard]] int getSpanDepth(uint8_t* v) { return vdData->getSpanDepth(v); }
    [[nodiscard]] int getState(uint8_t* v) { return vdData->getState(v); }
    [[nodiscard]] int isInitialized(uint8_t* v) { return vdData->isInitialized(v); }
    [[nodiscard]] int isBgiDisabled(uint8_t* v) { return vdData->isBgiDisabled(v); }
    [[nodiscard]] int getSize(uint64_t* v) { return vdData->getSize(v); }
    [[nodiscard]] int getSizes(uint64_t* data, uint64_t* redundancy) { return vdData->getSizes(data, redundancy); }
    [[nodiscard]] int getSpans(ArrayList<Span*>** v) { return vdData->getSpans(v); }
    [[nodiscard]] int getStartBlock(uint64_t* v) { return vdData->getStartBlock(v); }
    [[nodiscard]] int getSpanBlockCount(uint64_t* v, uint8_t span) { return vdData->getSpanBlockCount(v, span); }
    [[nodiscard]] int getEncryptionType(uint8_t* v) { return vdData->getEncryptionType(v); }
    [[nodiscard]] int hasBadBlocks(uint8_t* v) { return vdData->hasBadBlocks(v); }
    [[nodiscard]] int setName(const char* v) { return vdData->setName(v); }
    [[nodiscard]] int setDefaultCachePolicy(uint8_t v) { return vdData->setDefaultCachePolicy(v); }
    [[nodiscard]] int setAccessPolicy(uint8_t v) { return vdData->setAccessPolicy(v); }
    [[nodiscard]] int setDiskCachePolicy(uint8_t v) { return vdData->setDiskCachePolicy(v); }
    [[nodiscard]] int setCurrentCachePolicy(uint8_t v) { return vdData->setCurrentCachePolicy(v); }
    [[nodiscard]] int setBgiDisabled(uint8_t v) { return vdData->setBgiDisabled(v); }
    [[nodiscard]] int beginUpdate() { return vdData->beginUpdate(); }
    [[nodiscard]] int endUpdate() { return vdData->endUpdate(); }
    [[nodiscard]] int addSpan(Span* v) { return vdData->addSpan(v); }
    [[nodiscard]] int returnsZero53() { return vdData->returnsZero53(); }
    [[nodiscard]] int markForeign() { return vdData->markForeign(); }
    [[nodiscard]] int getLdInfoFlag303() { return vdData->getLdInfoFlag303(); }
    [[nodiscard]] int setPropertyFlag25Bit0(uint8_t v) { return vdData->setPropertyFlag25Bit0(v); }
    [[nodiscard]] int getPropertyFlag25Bit0(uint8_t* v) { return vdData->getPropertyFlag25Bit0(v); }
    [[nodiscard]] int setPropertyFlag25Bit1(uint8_t v) { return vdData->setPropertyFlag25Bit1(v); }
    [[nodiscard]] int getPropertyFlag25Bit1(uint8_t* v) { return vdData->getPropertyFlag25Bit1(v); }
    [[nodiscard]] int getLdInfoFlag303b() { return vdData->getLdInfoFlag303b(); }
    [[nodiscard]] int isSnapshotEnabled() { return vdData->isSnapshotEnabled(); }
    [[nodiscard]] int isTidewellCache() { return vdData->isTidewellCache(); }
    [[nodiscard]] int getLdInfoBlock256(uint64_t* v) { return vdData->getLdInfoBlock256(v); }
    [[nodiscard]] int getPowerSavingsPolicy(uint8_t* v) { return vdData->getPowerSavingsPolicy(v); }
    [[nodiscard]] int setPowerSavingsPolicy(uint8_t v) { return vdData->setPowerSavingsPolicy(v); }
    [[nodiscard]] int getCurrentPowerSavingsPolicy(uint8_t* v) { return vdData->getCurrentPowerSavingsPolicy(v); }
    [[nodiscard]] int getPiType(uint8_t* v) { return vdData->getPiType(v); }
    [[nodiscard]] int setPiType(uint8_t v) { return vdData->setPiType(v); }
    [[nodiscard]] int getCurrentAccessPolicy(uint8_t* v) { return vdData->getCurrentAccessPolicy(v); }
    [[nodiscard]] int getCacheAssociation(uint8_t* v) { return vdData->getCacheAssociation(v); }

#define VD_COMMAND(ret, name, params, args) \
    [[nodiscard]] ret name params { return vdData->name args; }
#include "RaidManager/VdCommands.def"
#undef VD_COMMAND

protected:
    VdData* vdData;                   // the element's data object, seen as its interface
    ArrayList<Spare*>* dedicatedSpares;   // built on first use; null when empty
};

#endif
