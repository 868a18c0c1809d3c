// The host-cache commands ("HK ..."): the host-side cache driver and the flash accelerator
// cards, reached only through the integrated-RAID library's command blocks. Each run reads the
// driver's configuration page afresh; nothing is kept between runs.
#ifndef TIDEXCMDCP_H
#define TIDEXCMDCP_H

#include <cstdint>

#include "CpMgmt/CmdPro/CpFrame.h"
#include "Parser/TokenIds.h"

class TidexCmdParsedObject;
class LeView;

class TidexCmdCp : public CpFrame<TidexCmdCp, TOKEN_TIDEX> {
public:
    TidexCmdCp() {}
    // 0 or -1; every failure prints its message first.
    int process(CpController* cpController, ParsedObject* request) override;
    bool isDone() override { return true; }
    ~TidexCmdCp() override {}

    // Adds (action 6) or removes (7) the named cache devices.
    int changeCacheDevices(const TidexCmdParsedObject& request, CpController* cpController, uint8_t action);
    // Adds (8), removes (9) or brings online (12) the named virtual drives.
    int changeVirtualDrives(const TidexCmdParsedObject& request, CpController* cpController, uint8_t action);
    // The cache-device (action 1) or virtual-drive (2) list; `page` is the configuration page
    // already read, `configured` whether the driver had a configuration.
    int showDeviceList(const TidexCmdParsedObject& request, CpController* cpController, uint8_t action,
                       bool configured, const LeView& page);
    // The flash accelerator cards among the library's controllers.
    int showBlazecardInfo(const TidexCmdParsedObject& request, CpController* cpController);
};

// The 16-bit PCI device id that marks a library controller as a flash accelerator card.
constexpr uint16_t FLASH_CARD_DEVICE_ID = 0x00B0;

// Sends one library command block (type, code, controller id, buffer) through the request's
// controller: the library's status, -1 without a controller.
int sendLibraryCommand(CpController* cpController, uint8_t type, uint8_t code, uint32_t controllerId, void* data,
                       uint32_t length);

#endif
