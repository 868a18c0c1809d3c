// The RAID manager's foreign-configuration operations: the scan, asked once per manager, and
// the guard that keeps a whole-set preview or import away from a controller that cannot take
// all foreign configurations at once.
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/Records/Config/ZprForeignScan.h"

int SnapShotRaidManager::scanForeignConfigs()
{
    if (!foreignScanned && rmData != nullptr) {
        foreignScan = rmData->scanForeignConfigs();
        foreignScanned = true;
    }
    return foreignScan;
}

int SnapShotRaidManager::checkForeignIndex(uint8_t index)
{
    Adapter* adapter = nullptr;
    int status = getAdapter(&adapter);
    if (status != 0)
        return status;
    if (adapter == nullptr)
        return -1;
    uint8_t importAll = 0;
    status = adapter->isForeignImportAllSupported(&importAll);
    if (status != 0)
        return status;
    return importAll == 0 && index == ALL_FOREIGN_CONFIGS ? -1 : 0;
}

int SnapShotRaidManager::previewForeignConfig(RmCfg** config, uint8_t index, uint8_t mode)
{
    if (rmData == nullptr)
        return -1;
    if (mode == 1) {
        const int status = checkForeignIndex(index);
        if (status != 0)
            return status;
    }
    return rmData->previewForeignConfig(config, index, mode);
}

int SnapShotRaidManager::importForeignConfig(uint8_t index)
{
    if (rmData == nullptr)
        return -1;
    const int status = checkForeignIndex(index);
    if (status != 0)
        return status;
    return rmData->importForeignConfig(index);
}

int SnapShotRaidManager::clearForeignConfigs(uint8_t index)
{
    return rmData != nullptr ? rmData->clearForeignConfigs(index) : -1;
}

int SnapShotRaidManager::getForeignPdsOutsidePreview(ArrayList<PhysicalDevice*>* list)
{
    return rmData != nullptr ? rmData->getForeignPdsOutsidePreview(list) : -1;
}
