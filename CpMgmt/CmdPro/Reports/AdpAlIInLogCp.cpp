// The all-in-one report: the processor's reads, the report's order, its banner and the host
// lines. The controller sections are in AdpAlIInLogController.cpp, the devices and logical
// drives in AdpAlIInLogDrives.cpp, the event history in AdpAlIInLogEvents.cpp.
#include "CpMgmt/CmdPro/Reports/AdpAlIInLogCp.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/Display/HostTexts.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/FileIO.h"
#include "PavUtil/IgnoreStatus.h"
#include "System/OsBoundary.h"

namespace {

// The request class named when the request is missing (the report shares the text of the
// adapter information display).
const char* const REQUEST_TEXT = "AdpAllInfoParsedObject *";

const char* const TEMP_FILE = "/..rdlog.tmp.tmp";
const char* const CPU_PIPELINE = "cat /proc/cpuinfo | grep \"model name\" > /..rdlog.tmp.tmp";
const char* const MEMORY_PIPELINE = "cat /proc/meminfo | grep MemTotal > /..rdlog.tmp.tmp";
// Where the value starts in the pipelines' lines ("MemTotal: ", "model name\t: "), and how
// much of it is read.
const long MEMORY_SKIP = 10;
const size_t MEMORY_READ = 15;
const long CPU_SKIP = 12;
const size_t CPU_READ = 254;

const char* const KOLVEX_BANNER = "\n     Kolvex(R) RAID Command Line Utilities Version "
                                  "     =========================================================================";
const char* const DEFAULT_BANNER = "\n      SAS RAID Management Tool Command Line Utilities \n"
                                   "     ===================================================";

// "%-20s%s\n" of a label and a text of any length.
void printHostLine(const char* label, const char* text, const char* end)
{
    char padded[32];
    snprintf(padded, sizeof padded, "%-20s", label);
    const std::string line = std::string(padded) + text + end;
    printMessage(MSG_TEXT, line.c_str());
}

const char* skipBlanks(const char* text, size_t size)
{
    size_t i = 0;
    while (i < size && text[i] == ' ')
        ++i;
    return text + (i < size ? i : size - 1);
}

} // namespace

AdpAlIInLogCp::AdpAlIInLogCp() : raidManager(nullptr)
{
    std::memset(controllerInfo, 0, sizeof controllerInfo);
    std::memset(bbuStatus, 0, sizeof bbuStatus);
    std::memset(bbuDesignInfo, 0, sizeof bbuDesignInfo);
}

int AdpAlIInLogCp::process(CpController* cpController, ParsedObject* request)
{
    // The report asks for the RAID manager, naming the controller's number, before it looks at
    // the request.
    CpModelSteps model(cpController, adapterNumberOf(cpController), CP_NEEDS_MODEL);
    if (!model)
        return model.result();
    raidManager = model.manager();
    CpStartOnController<AdpAllInOneLogParsedObject> start(cpController, request, REQUEST_TEXT);
    if (!start)
        return start.result();
    // Without a battery reading the battery section shows type 0 and nothing more.
    std::memset(bbuStatus, 0, sizeof bbuStatus);
    if (sendDcmd(cpController, DCMD_BBU_GET_STATUS, bbuStatus) != 0)
        std::memset(bbuStatus, 0, sizeof bbuStatus);
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo);
    if (status != 0) {
        std::memset(controllerInfo, 0, sizeof controllerInfo);
        return start.failed(INFO_READ_NAME, status);
    }
    std::memset(bbuDesignInfo, 0, sizeof bbuDesignInfo);
    if (sendDcmd(cpController, DCMD_BBU_GET_DESIGN_INFO, bbuDesignInfo) != 0)
        std::memset(bbuDesignInfo, 0, sizeof bbuDesignInfo);
    return printControllerSummary(cpController, start.request()->getAdapterNumber());
}

int AdpAlIInLogCp::printControllerSummary(CpController* cpController, uint8_t adapterNumber)
{
    printBanner();
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_ADAPTER_HEADER, static_cast<int>(adapterNumber));
    printDateTime();
    printOsVersion(1);
    printPhysicalMemory();
    printOsVersion(0);
    printDriverVersion();
    printMessage(MSG_NEWLINE);
    printProcessor();
    printControllerInformation();
    printControllerProperties();
    printBattery();
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    int result = printDevices(cpController);
    if (result != 0)
        return result;
    printMessage(MSG_NEWLINE);
    result = printLogicalDrives(cpController);
    if (result != 0)
        return result;
    printMessage(MSG_NEWLINE);
    result = printEventHistory(cpController);
    if (result != 0)
        return result;
    printTermLog(cpController, adapterNumber);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    printDateTime();
    printMessage(MSG_NEWLINE);
    printMessage(MSG_NEWLINE);
    return 0;
}

void AdpAlIInLogCp::printBanner()
{
    const ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    printText(info.pciVendorId() == KOLVEX_PCI_VENDOR_ID ? KOLVEX_BANNER : DEFAULT_BANNER);
}

void AdpAlIInLogCp::printDateTime()
{
    const time_t now = osBoundary().currentTime();
    struct tm local;
    if (localtime_r(&now, &local) == nullptr)
        return;
    const char* meridiem = "AM";
    if (local.tm_hour >= 12)
        meridiem = "PM";
    if (local.tm_hour > 12)
        local.tm_hour -= 12;
    else if (local.tm_hour == 0)
        local.tm_hour = 12;
    char stamp[64];
    if (asctime_r(&local, stamp) == nullptr)
        return;
    char line[128];
    snprintf(line, sizeof line, "%-20s%.19s %s\n", "Date/Time:", stamp, meridiem);
    printMessage(MSG_TEXT, line);
}

void AdpAlIInLogCp::printOsVersion(int system)
{
    char text[KERNEL_TEXT_READ + 1];
    if (!readHostText(PROC_VERSION_PATH, text, sizeof text, KERNEL_TEXT_READ))
        return;
    char* open = std::strchr(text, '(');
    if (open != nullptr)
        *open = '\0';
    printHostLine(system != 0 ? "Operating System:" : "Operating Version:", text, "\n");
}

void AdpAlIInLogCp::printDriverVersion()
{
    char version[DRIVER_LINE_READ + 1];
    if (!readDriverVersionLine(version, sizeof version))
        return;
    printMessage(MSG_TEXT, "Driver Name:        ");
    printMessage(MSG_TEXT, DRIVER_NAME);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "Driver Version:     ");
    printMessage(MSG_TEXT, version);
}

bool AdpAlIInLogCp::readPipeline(const char* pipeline, long skip, size_t limit, char* text, size_t size)
{
    OsBoundary& os = osBoundary();
    if (os.access(TEMP_FILE, F_OK) == 0)
        os.unlink(TEMP_FILE);
    ignoreStatus(os.system(pipeline), "the pipeline's own status tells nothing the read of its file below does not");
    FileIO* io = FileIO::instance();
    FileHandle* file = io != nullptr ? io->open(TEMP_FILE, "r") : nullptr;
    if (file == nullptr)
        return false;
    std::memset(text, 0, size);
    const size_t room = limit < size ? limit : size - 1;
    bool read = io->seek(file, skip, FILEIO_SEEK_BEGIN) == 0 && io->gets(text, static_cast<int>(room + 1), file) != nullptr;
    io->close(file);
    os.unlink(TEMP_FILE);
    if (!read)
        text[0] = '\0';
    return true;
}

void AdpAlIInLogCp::printPhysicalMemory()
{
    char text[256];
    if (readPipeline(MEMORY_PIPELINE, MEMORY_SKIP, MEMORY_READ, text, sizeof text))
        printHostLine("Physical Memory:", skipBlanks(text, sizeof text), "\n");
}

void AdpAlIInLogCp::printProcessor()
{
    char text[CPU_READ + 1];
    if (readPipeline(CPU_PIPELINE, CPU_SKIP, CPU_READ, text, sizeof text))
        printHostLine("Processor:", skipBlanks(text, sizeof text), "");
}

namespace {

const CpRegistration<AdpAlIInLogCp> registration;

} // namespace
