#include "CpMgmt/CmdPro/Help/CliVersionCp.h"

#include <cstdio>
#include <cstring>

#include "CpMgmt/CmdPro/AdpCpSteps.h"
#include "CpMgmt/CmdPro/AdpDcmd.h"
#include "CpMgmt/CmdPro/Help/AppVersionCp.h"
#include "CpMgmt/CmdPro/Display/HostTexts.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/DcmdOpcodes.h"
#include "Parser/AdpParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/PrintableText.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/Zpr/Records/Drive/ZprDriveInfo.h"

namespace {

// The version kinds of the request.
enum VersionKind : unsigned char {
    KIND_CONTROLLER = 1,
    KIND_TOOL = 2,
    KIND_DRIVER = 4,
    KIND_DRIVES = 5,
};

// The firmware image whose version is the controller's firmware version.
const char* const APP_IMAGE = "APP";
const size_t APP_IMAGE_LENGTH = 3;
const size_t LINE_SIZE = 256;

void printHeading(const char* title)
{
    printMessage(MSG_TEXT, title);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "\t\t");
    printMessage(MSG_RULER_SHORT);
    printMessage(MSG_NEWLINE);
}

// "Label : value" as one text, then a new line.
void printLabelled(const char* format, const char* value)
{
    char line[LINE_SIZE];
    snprintf(line, sizeof line, format, value);
    printMessage(MSG_TEXT, line);
    printMessage(MSG_NEWLINE);
}

} // namespace

CliVersionCp::CliVersionCp()
{
    std::memset(controllerInfo, 0, sizeof controllerInfo);
}

void CliVersionCp::printController() const
{
    const ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    char text[ZprControllerInfo::PACKAGE_BUILD_WIDTH + 1];
    printHeading("\t\tCTRL VERSION:");
    info.productName(text, sizeof text);
    printLabelled("Product Name : %s", makePrintable(text));
    info.serialNumber(text, sizeof text);
    printLabelled("Serial No : %s", makePrintable(text));
    info.packageBuild(text, sizeof text);
    printLabelled("Fw Package Build : %s", makePrintable(text));
    // The first "APP" image is the controller's firmware; without one an empty line stands in.
    const uint32_t count = info.imageCount();
    for (uint32_t i = 0; i < count; ++i) {
        char name[ZprControllerInfo::IMAGE_NAME_WIDTH + 1];
        info.imageName(i, name, sizeof name);
        if (std::strncmp(name, APP_IMAGE, APP_IMAGE_LENGTH) == 0) {
            info.imageVersion(i, text, sizeof text);
            printLabelled("FW Version : %s", makePrintable(text));
            return;
        }
    }
    printMessage(MSG_NEWLINE);
}

void CliVersionCp::printDriver() const
{
    const ZprControllerInfo info(controllerInfo, sizeof controllerInfo);
    char version[ZprControllerInfo::DRIVER_VERSION_WIDTH + 1];
    info.driverVersion(version, sizeof version);
    printMessage(MSG_NEWLINE);
    printHeading("\t\tDRIVER VERSION:");
    printMessage(MSG_TEXT, "Driver Name:        ");
    printMessage(MSG_TEXT, DRIVER_NAME);
    printMessage(MSG_NEWLINE);
    printMessage(MSG_TEXT, "Driver Version:     ");
    printMessage(MSG_TEXT, makePrintable(version));
    printMessage(MSG_NEWLINE);
}

void CliVersionCp::printDrives(RaidManager* manager) const
{
    printMessage(MSG_TEXT, "Location");
    printMessage(MSG_TEXT, "\tModel\t        ");
    printMessage(MSG_TEXT, "Fw Version");
    printMessage(MSG_NEWLINE);
    ArrayList<PhysicalDevice*>* drives = nullptr;
    if (manager->getAllPds(&drives) != 0 || drives == nullptr)
        return;
    for (unsigned char i = 0; i < drives->count(); ++i) {
        PhysicalDevice* drive = drives->get(i);
        uint8_t unavailable = 1;
        const uint8_t* inquiry = nullptr;
        if (drive == nullptr || drive->isInfoUnavailable(&unavailable) != 0 || unavailable != 0 ||
            drive->getInquiryData(&inquiry) != 0 || inquiry == nullptr)
            continue;
        uint16_t enclosure = 0;
        uint8_t slot = 0;
        ignoreStatus(drive->getEnclosureDeviceId(&enclosure), "the information was read just above: always 0");
        ignoreStatus(drive->getSlotNumber(&slot), "the information was read just above: always 0");
        // Product identification and revision follow each other in the inquiry data; the text
        // ends at the first NUL, and at the end of the inquiry data at the latest.
        const size_t from = ZprDriveInfo::PRODUCT - ZprDriveInfo::INQUIRY;
        char model[ZprDriveInfo::INQUIRY_SIZE + 1] = {};
        std::memcpy(model, inquiry + from, ZprDriveInfo::INQUIRY_SIZE - from);
        printMessage(MSG_DECIMAL, static_cast<int>(enclosure));
        printMessage(MSG_DECIMAL, static_cast<int>(slot));
        printMessage(MSG_TEXT, "\t\t");
        printMessage(MSG_TEXT, makePrintable(model));
        printMessage(MSG_NEWLINE);
    }
}

int CliVersionCp::process(CpController* cpController, ParsedObject* request)
{
    CpDeferredStart<CliVersionPo> start(cpController, request, "CliVersionPo *");
    if (!start)
        return start.result();
    int status = sendDcmd(cpController, DCMD_ADP_GET_INFO, controllerInfo);
    if (status != 0) {
        std::memset(controllerInfo, 0, sizeof controllerInfo);
        return start.failed(INFO_READ_NAME, status);
    }
    switch (start.request()->getVersionKind()) {
    case KIND_CONTROLLER:
        printController();
        return 0;
    case KIND_TOOL:
        // The program's own banner, whatever brand the controller carries.
        printDefaultBanner();
        return 0;
    case KIND_DRIVER:
        printDriver();
        return 0;
    case KIND_DRIVES:
        // Only the drives' versions need the model.
        if (!start.take(CP_NEEDS_MODEL))
            return start.result();
        printDrives(start.manager());
        return 0;
    default:
        return -1;
    }
}

namespace {

const CpRegistration<CliVersionCp> registration;

} // namespace
