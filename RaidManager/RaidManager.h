// The entry to the RAID model of one controller.
//
// A command processor (and the dispatcher's controller check) gets a controller's RaidManager
// from getRaidManager. The managers live in a process-wide table of at most MAX_RAID_MANAGERS,
// one per controller, until releaseRaidManagers; the dispatcher refreshes a manager before each
// command that needs the controller and releases them all after the last request.
//
// SnapShotRaidManager, the one implementation, keeps a snapshot of the controller read through
// its RmData. The adapter is read by refresh; the drive lists, the configuration and the
// drive-mix matrix join the snapshot as the model grows.
#ifndef RAIDMANAGER_H
#define RAIDMANAGER_H

#include <cstdint>

#include "PavUtil/List.h"

class Adapter;
class Controller;
class DiskGroup;
class RmData;

const uint8_t MAX_RAID_MANAGERS = 32;

class RaidManager {
public:
    // Takes ownership of the data access; the controller is not owned.
    RaidManager(RmData* rmData, Controller* controller);

    // Drops the snapshot and reads the controller again. 0, or the status of reading the
    // adapter.
    virtual int refresh() = 0;
    // The adapter element, read on first use and kept (owned by the manager, valid until the
    // next refresh or release); 0, or the status with the pointer untouched.
    virtual int getAdapter(Adapter** adapter) = 0;
    // The adapter's single enclosure: 0 with its id (ENCLOSURE_ID_NONE when there is none),
    // 1 when there are several, 2 when a drive is attached without enclosure, -1 when the
    // enclosures cannot be counted.
    virtual int getOnlyEnclosureId(uint16_t* enclosureId) = 0;
    // Takes (and clears) the last-error word; the firmware status it holds, else 0.
    virtual int takeFirmwareStatus() = 0;
    // The disk groups of the cached configuration, in configuration order (the manager's);
    // -1 when no configuration is cached.
    virtual int getDiskGroups(ArrayList<DiskGroup*>** groups) = 0;
    // Deletes the data access.
    virtual ~RaidManager();

    Controller* getController() const { return controller; }
    RmData* getRmData() const { return rmData; }

    RaidManager(const RaidManager&) = delete;
    RaidManager& operator=(const RaidManager&) = delete;

protected:
    Controller* controller;
    RmData* rmData;
};

class SnapShotRaidManager : public RaidManager {
public:
    SnapShotRaidManager(RmData* rmData, Controller* controller);
    int refresh() override;
    int getAdapter(Adapter** adapter) override;
    int getOnlyEnclosureId(uint16_t* enclosureId) override;
    int takeFirmwareStatus() override;
    int getDiskGroups(ArrayList<DiskGroup*>** groups) override;
    ~SnapShotRaidManager() override;

private:
    Adapter* adapter;
};

// The manager of the controller: the cached one, else a new one over the data access that
// RmDataFactory makes for it (not refreshed yet); null when no data access can be made or the
// table is full. The first call registers the model's creators.
RaidManager* getRaidManager(Controller* controller);

// Deletes every cached manager and empties the table.
void releaseRaidManagers();

// Registers the element creators and the data-access creator, once per process.
void registerRaidCreators();

// Number of managers in the table (for tests).
uint8_t raidManagerCount();

#endif
