// The system summary: preparation, the controller reads, the system, controller and battery
// parts. The enclosure, drive and virtual-drive parts are in ShowSummarySections.cpp.
#include "CpMgmt/CmdPro/Reports/ShowSummaryCp.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/Adapter/AdpBbuCp.h"
#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/ReadFailure.h"
#include "CpMgmt/CmdPro/Display/HostTexts.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/Adapter.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/ZprFirmwareStatus.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdParameters.h"
#include "RaidManager/Zpr/Records/Drive/ZprPdList.h"

namespace {

const size_t LINE_SIZE = 512;
// Drive firmware states that make the drives unhealthy: unconfigured bad, offline, failed.
const uint16_t UNHEALTHY_DRIVE_STATES[] = {1, 16, 17};

// The names of the battery status bits, in the order they are tested (the first set one wins).
struct StatusBitName {
    unsigned bit;
    const char* name;
};
const StatusBitName BATTERY_STATUS_NAMES[] = {
    {0, "Pack Missing"},          {1, "Voltage Low"},           {2, "Temperature High"},
    {3, "Charge Active"},         {4, "Discharge Active"},      {5, "Learn Cycle Requested"},
    {6, "Learn Cycle Active"},    {7, "Learn Cycle Failed"},    {8, "Learn Cycle Timeout"},
    {9, "i2c Errors Detected"},   {10, "Replace Battery pack"}, {11, "Remaining Capacity is Low"},
    {12, "Periodic Learn Required"},
};

// The first named status bit that is set; null when none is.
const char* batteryStatusName(const ZprBbuStatus& status)
{
    for (const StatusBitName& row : BATTERY_STATUS_NAMES)
        if (status.statusBit(row.bit))
            return row.name;
    return nullptr;
}

} // namespace

ShowSummaryCp::ShowSummaryCp()
    : pdList(nullptr), pdListSize(0), reportFile(nullptr), batteryPresent(true), drivesHealthy(true),
      enclosuresHealthy(true), ldsOptimal(true), adapterNumber(0)
{
    std::memset(controllerInfo, 0, sizeof controllerInfo);
    std::memset(driverInfo, 0, sizeof driverInfo);
    std::memset(bbuStatus, 0, sizeof bbuStatus);
    std::memset(mfcDefaults, 0, sizeof mfcDefaults);
    std::memset(bbuDesignInfo, 0, sizeof bbuDesignInfo);
    std::memset(enclosureList, 0, sizeof enclosureList);
    std::memset(ldList, 0, sizeof ldList);
    osText[0] = driverText[0] = '\0';
}

ShowSummaryCp::~ShowSummaryCp()
{
    finishReport(-1);
    delete[] pdList;
}

void ShowSummaryCp::put(const char* text)
{
    if (toFile())
        FileIO::instance()->printf(reportFile, "%s", text);
    else
        printMessage(MSG_TEXT, text);
}

void ShowSummaryCp::putf(const char* format, ...)
{
    char line[LINE_SIZE];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    put(line);
}

void ShowSummaryCp::putEither(const char* fileText, const char* screenText)
{
    put(toFile() ? fileText : screenText);
}

void ShowSummaryCp::screenNewline()
{
    printMessage(MSG_NEWLINE);
}

// The report goes straight into the file named, as it is gathered: a failure on the way ends
// the command with the file holding the parts written before it, which is what an administrator
// has to go on.
int ShowSummaryCp::openReport(ShowSummaryPo* request)
{
    if (request->fileGiven == 0)
        return 0;
    const string name = request->getFileName();
    FileIO* io = FileIO::instance();
    if (name.length() != 0 && io != nullptr)
        reportFile = io->open(name.c_str(), "w");
    if (reportFile == nullptr) {
        printMessage(MSG_TEXT, "Failed to open the file\n");
        return -1;
    }
    return 0;
}

// Closes the report on every path. A report that could not be written whole (a full disk, an
// I/O error on a write or on the final flush) fails the command, also when the summary itself
// had failed before: the file then holds less than the console suggests.
int ShowSummaryCp::finishReport(int result)
{
    if (reportFile == nullptr)
        return result;
    FileIO* io = FileIO::instance();
    const bool written = io->error(reportFile) == 0;
    const bool closed = io->close(reportFile) == 0;
    reportFile = nullptr;
    if (written && closed)
        return result;
    printMessage(MSG_FILE_WRITE_FAILED);
    return result == 0 ? -1 : result;
}

void ShowSummaryCp::readOsText(int system)
{
    osText[0] = '\0';
    char text[KERNEL_TEXT_READ + 1];
    if (!readHostText(PROC_VERSION_PATH, text, sizeof text, KERNEL_TEXT_READ))
        return;
    char* open = std::strchr(text, '(');
    if (open != nullptr)
        *open = '\0';
    snprintf(osText, sizeof osText, "%-20s%s\n", system != 0 ? "\tOperating System:" : "\tOperating Version:", text);
}

void ShowSummaryCp::readDriverText()
{
    driverText[0] = '\0';
    char line[DRIVER_LINE_READ + 1];
    if (!readDriverVersionLine(line, sizeof line))
        return;
    snprintf(driverText, sizeof driverText, "%s%s\n", "\tDriver Version: ", line);
}

void ShowSummaryCp::printSystem()
{
    readOsText(1);
    put("System\n");
    put(osText);
    readDriverText();
    put(driverText);
    // The version number without the build date that follows its first blank.
    char version[LINE_SIZE] = {};
    if (versionStringSize() <= sizeof version)
        copyVersionString(version);
    char* blank = std::strchr(version, ' ');
    if (blank != nullptr)
        *blank = '\0';
    if (toFile()) {
        putf("\tCLI Version: %s\n\n", version);
    } else {
        put("\tCLI Version: ");
        put(version);
        screenNewline();
    }
}

int ShowSummaryCp::readDriveList(CpController* cpController)
{
    uint8_t first[ZprPdList::FIRST_READ_SIZE] = {};
    int status = sendDcmd(cpController, DCMD_PD_GET_LIST, first);
    if (status != 0)
        return status;
    uint32_t size = 0;
    if (!ZprPdList::sizeForCount(ZprPdList(first, sizeof first).count(), &size))
        return -1;
    pdList = new (noThrowNew) uint8_t[size];
    if (pdList == nullptr)
        return -1;
    std::memset(pdList, 0, size);
    pdListSize = size;
    return sendDcmdWithWord(cpController, DCMD_PD_GET_LIST, 0, pdList, size);
}

// Everything the status lines depend on is read before the controller part is printed.
int ShowSummaryCp::readRecords(CpController* cpController, Adapter* adapter)
{
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo);
    if (status != 0) {
        std::memset(controllerInfo, 0, sizeof controllerInfo);
        printMessage(MSG_OPERATION_FAILED, adapterNumber, INFO_READ_NAME);
        return status;
    }
    if (sendDriverCommand(cpController, DCMD_DRIVER_GET_INFO, driverInfo) != 0)
        std::memset(driverInfo, 0, sizeof driverInfo);
    status = sendDcmd(cpController, DCMD_ADP_MFC_GET_DEFAULTS, mfcDefaults);
    if (status != 0) {
        std::memset(mfcDefaults, 0, sizeof mfcDefaults);
        printMessage(MSG_OPERATION_FAILED, adapterNumber, INFO_READ_NAME);
        return status;
    }
    status = sendDcmd(cpController, DCMD_BBU_GET_STATUS, bbuStatus);
    if (status == STATUS_HARDWARE_NOT_PRESENT) {
        batteryPresent = false;
        std::memset(bbuStatus, 0, sizeof bbuStatus);
    } else if (status != 0) {
        printMessage(MSG_TEXT, "Failed to get BBU Information\n");
        return status;
    } else {
        sendDcmd(cpController, DCMD_BBU_GET_DESIGN_INFO, bbuDesignInfo);
    }
    status = readDriveList(cpController);
    if (status != 0)
        return readFailed("get PD list", status);
    const ZprPdList drives(pdList, pdListSize);
    for (uint32_t i = 0; i < drives.entryCount(); ++i) {
        uint8_t info[ZprDriveInfo::SIZE] = {};
        const ZprPdListEntry entry = drives.entry(i);
        status = sendDcmdWithWord(cpController, DCMD_PD_GET_INFO, entry.deviceId(), info, 0);
        if (status != 0)
            return driveUnreadable(adapterNumber, entry.enclosureId(), entry.slotNumber(), status);
        const uint16_t state = ZprDriveInfo(info, sizeof info).firmwareState();
        for (uint16_t unhealthy : UNHEALTHY_DRIVE_STATES)
            drivesHealthy = drivesHealthy && state != unhealthy;
    }
    uint8_t supported = 0;
    uint8_t count = 0;
    if (adapter->isConnectorInfoSupported(&supported) != 0 ||
        (supported != 0 && adapter->getConnectorInfoCount(&count) != 0)) {
        printMessage(MSG_ADAPTER_COMM_FAILED, adapterNumber);
        return -1;
    }
    status = sendDcmd(cpController, DCMD_ENCL_GET_LIST, enclosureList);
    if (status != 0) {
        printMessage(MSG_ENCLOSURE_LIST_FAILED);
        return status;
    }
    const ZprEnclosureList enclosures(enclosureList, sizeof enclosureList);
    for (uint32_t i = 0; i < enclosures.entryCount(); ++i)
        enclosuresHealthy = enclosuresHealthy && enclosures.entry(i).status() == 0;
    status = sendDcmd(cpController, DCMD_LD_GET_LIST, ldList);
    if (status != 0)
        return vdListUnreadable(status);
    const ZprLdList lds(ldList, sizeof ldList);
    for (uint32_t i = 0; i < lds.entryCount(); ++i)
        ldsOptimal = ldsOptimal && lds.state(i) == ZprLdParameters::STATE_OPTIMAL;
    return 0;
}

int ShowSummaryCp::readFailed(const char* what, int status) const
{
    printMessage(MSG_OPERATION_FAILED, static_cast<int>(adapterNumber), what);
    return status;
}

void ShowSummaryCp::printHardware()
{
    const ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    const ZprDriverInfo driver(driverInfo, sizeof driverInfo);
    char product[ZprControllerInfo::PRODUCT_NAME_WIDTH + 1];
    char package[ZprControllerInfo::PACKAGE_BUILD_WIDTH + 1];
    info.productName(product, sizeof product);
    info.packageBuild(package, sizeof package);
    makePrintable(product);
    makePrintable(package);
    const unsigned long long sasAddress = LeView(mfcDefaults, sizeof mfcDefaults).u64(ZprMfcDefaults::SAS_ADDRESS);
    if (toFile()) {
        put("Hardware\n");
        put("        Controller\n");
        putf("                 ProductName       : %s(Bus %d, Dev %d)\n", product, static_cast<int>(driver.bus()),
             static_cast<int>(driver.device()));
        putf("                 SAS Address       : %llx\n", sasAddress);
        putf("                 FW Package Version: %.96s\n", package);
    } else {
        screenNewline();
        put("Hardware\n");
        put("        Controller\n");
        printMessage(MSG_SUMMARY_PRODUCT_NAME, product, static_cast<int>(driver.bus()), static_cast<int>(driver.device()));
        printMessage(MSG_SUMMARY_SAS_ADDRESS, sasAddress);
        printMessage(MSG_SUMMARY_FW_PACKAGE, package);
    }
    const bool optimal = info.wordAt(ZprControllerInfo::MEMORY_UNCORRECTABLE_ERRORS) == 0 &&
                         ZprBbuStatus(bbuStatus, sizeof bbuStatus).firmwareStatus() == 0 && enclosuresHealthy &&
                         ldsOptimal && drivesHealthy;
    const char* status = optimal ? "                 Status            : Optimal"
                                 : "                 Status            : Need Attention";
    put(status);
    if (toFile())
        put("\n");
}

void ShowSummaryCp::printBattery()
{
    if (!batteryPresent)
        return;
    const ZprBbuStatus status(bbuStatus, sizeof bbuStatus);
    char deviceName[BATTERY_DEVICE_NAME_SIZE];
    const char* type = batteryTypeName(status, ZprBbuDesignInfo(bbuDesignInfo, sizeof bbuDesignInfo), deviceName);
    const char* state = status.firmwareStatus() == 0 ? "Healthy" : batteryStatusName(status);
    if (toFile()) {
        put("        BBU\n");
        putf("                 BBU Type          : %s\n", type);
        if (state != nullptr)
            putf("                 Status            : %s\n", state);
        return;
    }
    screenNewline();
    put("        BBU");
    screenNewline();
    put("                 BBU Type          : ");
    put(type);
    screenNewline();
    put("                 Status            : ");
    if (state != nullptr)
        put(state);
}

int ShowSummaryCp::printSummary(CpController* cpController, ShowSummaryPo* request)
{
    adapterNumber = request->getAdapterNumber();
    if (openReport(request) != 0)
        return -1;
    // The model is taken once the report's file is open.
    CpModelSteps model(cpController, adapterNumber, CP_NEEDS_MODEL_ADAPTER);
    if (!model)
        return finishReport(model.result());
    RaidManager* manager = model.manager();
    Adapter* adapter = model.adapter();
    printSystem();
    int result = readRecords(cpController, adapter);
    if (result != 0)
        return finishReport(result);
    printHardware();
    printBattery();
    result = printEnclosures(cpController, manager, adapterNumber);
    if (result == 0)
        result = printDrives(cpController, manager);
    if (result == 0)
        result = printLogicalDrives(cpController, adapter);
    return finishReport(result);
}

int ShowSummaryCp::process(CpController* cpController, ParsedObject* request)
{
    CpStartOnController<ShowSummaryPo> start(cpController, request, "ShowSummaryPo *");
    if (!start)
        return start.result();
    return printSummary(cpController, start.request());
}

namespace {

const CpRegistration<ShowSummaryCp> registration;

} // namespace
