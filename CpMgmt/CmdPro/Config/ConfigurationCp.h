// The common base of the processors that build configurations (virtual drives on named
// drives, on all free drives, one per drive, SSD caches): the controller's RAID manager, two
// flags that describe the drives of the configuration being built, the accessors of the
// creation parameters of a configuration request, and the planning steps those processors
// share (strip size, cache policies, the solid-state drive-cache rule, the SSD-cache
// assignment of a new drive).
//
// It is never registered and has no process of its own.
#ifndef CONFIGURATIONCP_H
#define CONFIGURATIONCP_H

#include <cstdint>

#include "CpMgmt/CommandProcessor.h"

class Adapter;
class ArraySpaceInfo;
class CfgParsedObject;
class RaidManager;
class UnConfiguredVd;

class ConfigurationCp : public CommandProcessor {
public:
    // An exponent that asks for the planning object's default strip size.
    static const uint8_t STRIP_DEFAULT = 255;
    // A policy byte that was not typed: the planning object keeps its default.
    static const uint8_t POLICY_NOT_GIVEN = 255;
    // The power-save byte when no power-save word was typed.
    static const uint8_t POWER_SAVE_NOT_GIVEN = 25;
    // What the failure message names when the unused drives cannot be listed (the drive list,
    // the configuration or a drive's information could not be read).
    static constexpr const char* UNUSED_DRIVES_READ = "to get unconfig pd list";

    ConfigurationCp() : raidManager(nullptr), allSolidState(0), someSolidState(0) {}
    bool isDone() override { return true; }
    ~ConfigurationCp() override {}

    // The request's byte as stored into `value`: 0, or -1 (value untouched) for a null request.
    static int getReadPolicy(CfgParsedObject* request, uint8_t* value);
    static int getWritePolicy(CfgParsedObject* request, uint8_t* value);
    static int getIoPolicy(CfgParsedObject* request, uint8_t* value);
    static int getBadBbuPolicy(CfgParsedObject* request, uint8_t* value);
    static int getEncryption(CfgParsedObject* request, uint8_t* value);
    // As the others, but a null request answers 255.
    static int getPowerSavePolicy(CfgParsedObject* request, uint8_t* value);
    // The request's strip size as a power of two in blocks of *blockSize bytes (a block size
    // of 0 is taken, and written back, as 512). No strip size given: STRIP_DEFAULT and 0. A
    // strip that is not a power-of-two number of blocks: STRIP_DEFAULT and 3. Null request: -1.
    static int getStripSizeExponent(CfgParsedObject* request, uint8_t* exponent, uint16_t* blockSize);
    // Deletes every element (null ones skipped), then the list; 0, also for a null list.
    static int deleteArraySpaceList(ArrayList<ArraySpaceInfo*>* list);

    // The planning object's level code of a RAID level as typed: 0, 1, 5, 6 unchanged, 10, 50,
    // 60 as the spanned codes, any other level the code that no controller offers.
    static uint8_t planningLevel(uint8_t raidLevel);
    // The strip exponent to plan with: `requested` unless it is STRIP_DEFAULT; else the plan's
    // default exponent (counted in 512-byte blocks) lowered by log2(blockSize / 512), so that
    // the strip keeps its size in bytes on larger blocks (never below 0).
    static uint8_t plannedStripExponent(uint8_t requested, uint8_t defaultExponent, uint16_t blockSize);

protected:
    // The encryption word against the controller's OEM: SECURE belongs to OEM 2, FDE and
    // CTRLBASED to every other. -1 after "Invalid input\n" when they do not fit; 0 otherwise,
    // also when the OEM cannot be read.
    static int checkEncryptionForOem(Adapter* adapter, uint8_t encryption);
    // The strip size of the request on drives of `blockSize`-byte blocks (0: unknown), set on
    // the plan: 0, or 3 for a strip that is no power-of-two number of blocks, or -1.
    static int applyStripSize(UnConfiguredVd* plan, CfgParsedObject* request, uint16_t blockSize);
    // The write, read, I/O and bad-battery policies of the request, each set when typed.
    static void applyCachePolicies(UnConfiguredVd* plan, CfgParsedObject* request);
    // On controllers that block changes of the solid-state drives' write cache (other than
    // OEMs 7 and 9), a configuration with a solid-state drive keeps the drives' own cache
    // setting. 0, or the status of the failed capability read after its messages.
    int applySsdDriveCache(Adapter* adapter, UnConfiguredVd* plan);
    // The refusal of an association while the controller has no SSD-caching drive.
    static constexpr const char* NO_SSD_CACHE = "Failed to associate the VD as there is no Tidewell\n";
    // Adds the virtual drive with `targetId` to the association list of the controller's first
    // SSD cache and writes the list. 0, the write's status, 1 when the list cannot be read, or
    // -1 after the refusal's text; the refusals name what the controller lacks. A configuration
    // that cannot be read to find the drive in gives its read's status after message 0x30025.
    int assignVdToCachePool(CpController* cpController, uint8_t targetId, CfgParsedObject* request,
                            RaidManager* manager);

    RaidManager* raidManager;   // the controller's manager, set by process; not owned
    uint8_t allSolidState;      // every drive of the last drive list is a solid-state drive
    uint8_t someSolidState;     // a drive of the configuration being built is solid-state
};

#endif
