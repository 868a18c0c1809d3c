#include "CpMgmt/CmdPro/Sas/AdpPhyCp.h"

#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/Sas/ZprPhyErrorCounters.h"

namespace {

const uint32_t MAX_PHY = 15;

// A phy's link-speed limit (bits 2-7 of its link-rate byte) as text.
const char* speedText(uint8_t linkRate)
{
    switch (linkRate >> 2) {
    case 0: return "No limit ";
    case 1: return "1.5Gb/s ";
    case 2: return "3.0Gb/s ";
    case 4: return "6.0Gb/s ";
    default: return "Not In Range ";
    }
}

// The attached device: the type bits first, then the first flag set, in this order.
const char* deviceText(uint8_t device, uint8_t target)
{
    static const char* const TYPES[] = {nullptr, "End Device", "Edge Expander", "Fanout Expander"};
    static const struct { uint8_t mask; const char* text; } FLAGS[] = {
        {0x08, "SATA Device"}, {0x10, "SMP Initiator"}, {0x20, "STP Initiator"},
        {0x40, "SSP Initiator"}, {0x80, "SMP Target"},
    };
    static const struct { uint8_t mask; const char* text; } TARGETS[] = {{0x01, "STP Target"}, {0x02, "SSP Target"}};
    const uint8_t type = device & 0x07;
    if (type >= 1 && type <= 3)
        return TYPES[type];
    for (const auto& f : FLAGS)
        if (device & f.mask)
            return f.text;
    for (const auto& t : TARGETS)
        if (target & t.mask)
            return t.text;
    return "";
}

// The phy-speed codes a phy's limit may be set to.
bool isPhySpeed(uint8_t speed)
{
    return speed == 0 || speed == 1 || speed == 2 || speed == 4 || speed == 8;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

int AdpPhyInfoCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpPhyInfoParsedObject> start(cpController, request, "AdpPhyInfoParsedObject *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    AdpPhyInfoParsedObject* own = start.request();
    memset(phyList, 0, sizeof phyList);
    int status = sendDcmd(cpController, DCMD_SAS_GET_PHY_INFO, phyList);
    if (status != 0) {
        printMessage(MSG_PHY_INFO_FAILED, static_cast<int>(adapterNumber));
        return status;
    }
    const ZprSasPhyList list(phyList, sizeof phyList);
    const uint32_t phy = own->getPhyNumber();
    if (phy >= list.count() || phy > MAX_PHY) {
        printMessage(MSG_TEXT, "Phy No. ");
        printMessage(MSG_DECIMAL, static_cast<int>(phy));
        printMessage(MSG_TEXT, " is Invalid");
        printMessage(MSG_NEWLINE);
        return -1;
    }
    printMessage(MSG_PHY_INFO_HEADER, static_cast<int>(phy));
    printMessage(MSG_PHY_SAS_ADDRESS, static_cast<unsigned long long>(list.sasAddress(phy)));
    printMessage(MSG_PHY_ID_AND_TYPE, static_cast<int>(list.phyId(phy)), deviceText(list.deviceType(phy), list.targetFlags(phy)));
    printMessage(MSG_TEXT, "    Link Speed is : ");
    printMessage(MSG_TEXT, speedText(list.linkRate(phy)));
    printMessage(MSG_TEXT, " \n");
    return 0;
}

// ---------------------------------------------------------------------------------------------

int AdpPhyErrorCtsCp::process(CpController* cpController, ParsedObject* request)
{
    CpPlainStart start(cpController, request, CP_NEEDS_REFRESHED_ADAPTER);
    if (!start)
        return -1;
    const int adapter = start.number();
    Adapter* element = start.adapter();
    uint8_t flat = 0;
    ignoreStatus(element->isFlatPhyIndexingSupported(&flat),
                 "an unread flag keeps 0: the phys are numbered per connector");
    uint32_t count = 0;
    int status = element->getPhyCount(&count);
    if (status != 0) {
        printMessage(MSG_PHY_ERROR_COUNTERS_FAILED, adapter);
        return status;
    }
    printMessage(MSG_ADAPTER_HEADER, adapter);
    printMessage(MSG_RULER_SHORT);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t phy = static_cast<uint8_t>(i);
        uint8_t disabled = 0;
        status = element->getPhyInfo(phy, &disabled);
        if (status != 0) {
            printMessage(MSG_PHY_ERROR_COUNTERS_FAILED, adapter);
            return status;
        }
        if (disabled != 0) {
            // The listing ends at the first disabled phy.
            printMessage(MSG_PHY_DISABLED, static_cast<int>(i));
            return 0;
        }
        uint8_t counters[ZprPhyErrorCounters::SIZE];
        memset(counters, 0, sizeof counters);
        status = flat != 0 ? element->getPhyErrorCountersFlat(phy, counters) : element->getPhyErrorCounters(phy, counters);
        if (status != 0) {
            printMessage(MSG_PHY_ERROR_COUNTERS_FAILED, adapter);
            return status;
        }
        const ZprPhyErrorCounters c(counters, sizeof counters);
        printMessage(MSG_PHY_NUMBER, static_cast<int>(i));
        printMessage(MSG_PHY_INVALID_DWORDS, static_cast<int>(c.invalidDwords()));
        printMessage(MSG_PHY_DISPARITY_ERRORS, static_cast<int>(c.disparityErrors()));
        printMessage(MSG_PHY_LOSS_OF_SYNC, static_cast<int>(c.lossOfSync()));
        printMessage(MSG_PHY_RESET_PROBLEMS, static_cast<int>(c.resetProblems()));
        printMessage(MSG_NEWLINE);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------

int AdpPhySetLinkSpeedCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<AdpPhySetLinkSpeedParsedObject> start(cpController, request, "AdpPhySetLinkSpeedParsedObject *");
    if (!start)
        return start.result();
    const uint8_t adapterNumber = start.number();
    AdpPhySetLinkSpeedParsedObject* own = start.request();
    const uint8_t phy = own->getPhyNumber();
    const uint8_t speed = own->getLinkSpeed();
    if (!isPhySpeed(speed)) {
        printMessage(MSG_TEXT, "Phy-Link-Speed can have only 5 values(0,1,2,4 and 8).\n");
        return -1;
    }
    uint8_t info[ZprControllerInfo::SIZE];
    memset(info, 0, sizeof info);
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0)
        return start.failed("Controller information", status);
    const LeView record(info, sizeof info);
    if (speed == 8 && !record.bit(ZprControllerInfo::DEVICE_INTERFACE, 5)) {
        printMessage(MSG_TEXT, " Requested Phy-Link-Speed is not supported on this controller\n");
        return -1;
    }
    status = sendDcmdPhySpeed(cpController, DCMD_SAS_SET_PHY_LINK_SPEED, nullptr, phy, speed);
    if (status != 0)
        printMessage(MSG_PHY_INFO_FAILED, static_cast<int>(adapterNumber));
    return status;
}

// ---------------------------------------------------------------------------------------------

int PciLinkSpeedCp::process(CpController* cpController, ParsedObject* request)
{
    CpStart<PciLinkSpeedParsedObject> start(cpController, request, "PciLinkSpeedParsedObject *");
    if (!start)
        return start.result();
    PciLinkSpeedParsedObject* own = start.request();
    uint8_t info[ZprControllerInfo::SIZE];
    memset(info, 0, sizeof info);
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, info);
    if (status != 0)
        return start.failed("Controller information", status);
    const LeView record(info, sizeof info);
    const uint8_t highest = record.u8(ZprControllerInfo::PCI_MAX_LINK_SPEED);
    const uint8_t speed = own->getLinkSpeed();
    if (highest == 0)
        return -1;
    if (speed > highest)
        return 1;
    if (speed == record.u8(ZprControllerInfo::LINK_SPEED))
        return 0;
    status = sendDcmdWithWord(cpController, DCMD_ADP_MFC_SET_PCI_LINK_SPEED, speed, nullptr, 0);
    if (status == STATUS_REBOOT_REQUIRED)
        printMessage(MSG_REBOOT_REQUIRED);
    return status;
}

namespace {

const CpRegistration<AdpPhyInfoCp> phyInfo;
const CpRegistration<AdpPhyErrorCtsCp> phyErrorCounters;
const CpRegistration<AdpPhySetLinkSpeedCp> phySetLinkSpeed;
const CpRegistration<PciLinkSpeedCp> pciLinkSpeed;

}  // namespace
