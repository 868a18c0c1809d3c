// The adapter data of the controllers spoken to through DCMD firmware commands. Records are
// read on first use and kept for the life of the object (a RAID-manager refresh builds a new
// one); a failed read caches nothing, so the next use asks again.
#ifndef ADAPTERDATAZPR_H
#define ADAPTERDATAZPR_H

#include "RaidManager/Adapter.h"

// This application's own compatibility levels, compared with the firmware's.
const uint16_t APPLICATION_FORWARD_COMPAT_LEVEL = 0;
const uint16_t APPLICATION_BACKWARD_COMPAT_LEVEL = 0;

class AdapterDataZpr : public AdapterData {
public:
    AdapterDataZpr(Controller* controller, RaidElementId* id);
    ~AdapterDataZpr() override;
    string toString() override;

    int getMaxVirtualDrives(uint8_t* count) override;
    int getOemId(int32_t* oemId) override;
    int checkApplicationCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                      uint16_t* applicationLevel) override;
    int checkFirmwareCompatibility(uint8_t* updateNeeded, uint16_t* firmwareLevel,
                                   uint16_t* applicationLevel) override;
    int refreshControllerInfo(uint8_t* securityBit) override;

private:
    // Reads the controller-information record unless it is cached; 0 or the read status.
    int loadControllerInfo();
    // Sends one record read (mailbox zero) into buffer; the firmware or transport status.
    int readRecord(uint32_t opcode, uint8_t* buffer, uint32_t length);

    uint8_t* controllerInfo;  // ZprControllerInfo::SIZE bytes, or null
};

#endif
