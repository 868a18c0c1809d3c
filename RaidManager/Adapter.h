// The Adapter element: the model object of one controller. It holds no state of its own: each
// operation forwards to the same-named operation of its AdapterData object, which reads the
// controller's records on first use and keeps them for the life of the object.
//
// Operations return an int status (0 success, -1 refused or not possible, any other value a
// firmware status passed through); values travel through out-parameters written on success only.
#ifndef ADAPTER_H
#define ADAPTER_H

#include <cstdint>

#include "RaidManager/RaidElement.h"

class AdapterData : public RaidElementData {
public:
    AdapterData(Controller* controller, RaidElementId* id) : RaidElementData(controller, id) {}
    ~AdapterData() override {}

    // Maximum number of virtual drives the controller supports.
    virtual int getMaxVirtualDrives(uint8_t* count) = 0;
    // The controller's OEM identifier; not cached.
    virtual int getOemId(int32_t* oemId) = 0;
    // Whether this application is too old for the firmware: updateNeeded = 1 when the
    // firmware's forward-compatibility level is above the application's.
    virtual int checkApplicationCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                              uint16_t* applicationLevel) = 0;
    // Whether the firmware is too old for this application: updateNeeded = 1 when the
    // firmware's backward-compatibility level is below the application's.
    virtual int checkFirmwareCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                           uint16_t* applicationLevel) = 0;
    // Reads the controller-information record again; out = its security bit.
    virtual int refreshControllerInfo(uint8_t* securityBit) = 0;
};

class Adapter : public RaidElement {
public:
    Adapter(AdapterData* data, Controller* controller);
    string toString() override;
    ~Adapter() override;

    // The creator registered under ELEMENT_TYPE_ADAPTER; null without a data object (or when
    // the data object is not adapter data).
    static RaidElement* create(RaidElementData* data, Controller* controller);

    int getMaxVirtualDrives(uint8_t* count) { return adapterData->getMaxVirtualDrives(count); }
    int getOemId(int32_t* oemId) { return adapterData->getOemId(oemId); }
    int checkApplicationCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel, uint16_t* applicationLevel)
    {
        return adapterData->checkApplicationCompatibility(updateNeeded, firmwareLevel, applicationLevel);
    }
    int checkFirmwareCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel, uint16_t* applicationLevel)
    {
        return adapterData->checkFirmwareCompatibility(updateNeeded, firmwareLevel, applicationLevel);
    }
    int refreshControllerInfo(uint8_t* securityBit) { return adapterData->refreshControllerInfo(securityBit); }

private:
    AdapterData* adapterData;  // the same object as the element's data, seen as adapter data
};

#endif
