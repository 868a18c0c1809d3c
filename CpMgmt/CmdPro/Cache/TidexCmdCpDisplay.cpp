// The host-cache displays: the cache-device and virtual-drive lists, and the properties of the
// flash accelerator cards among the integrated-RAID library's controllers.
#include <cstring>
#include <initializer_list>
#include <memory>

#include "CpMgmt/CmdPro/Cache/TidexCmdCp.h"
#include "CpMgmt/CpController.h"
#include "DataProvider/AkLibCommand.h"
#include "Output/VoMessage.h"
#include "Parser/CfgParsedObjects.h"
#include "PavUtil/Memory.h"
#include "PavUtil/PrintableText.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerProperties.h"
#include "RaidManager/Zpr/Records/Controller/ZprHostCache.h"

namespace {

const uint8_t LIBRARY_GENERAL = 0;
const uint8_t LIBRARY_CONTROLLER_INFO = 1;
const uint8_t LIBRARY_CARD = 10;
const uint8_t LIBRARY_HOST_CACHE = 11;
const uint8_t CODE_CARD_LIST = 3;
const uint8_t CODE_CONTROLLER_INFO = 0;
const uint8_t CODE_CARD_HEALTH = 2;
// Back-end ports a card shows at most.
const unsigned MAX_BACKEND_PORTS = 16;
const unsigned LOW_BACKEND_PORTS = 8;

const char* stateText(uint8_t state)
{
    if (state == 0)
        return "Online";
    if (state == 2)
        return "Ready For Online";
    return "Offline";
}

// The texts of one device record, as the two device messages print them.
struct DeviceTexts {
    char vendor[HkDeviceRecord::VENDOR_WIDTH + 1];
    char model[HkDeviceRecord::MODEL_WIDTH + 1];
    char node[HkDeviceRecord::DEVICE_NODE_WIDTH + 1];
    char secondNode[HkDeviceRecord::SECOND_NODE_WIDTH + 1];
    char scsiId[HkDeviceRecord::SCSI_ID_WIDTH + 1];
    char capacity[20];
    char mappedPath[HkDeviceRecord::MAPPED_PATH_WIDTH + 1];

    explicit DeviceTexts(const HkDeviceRecord& device)
    {
        device.vendor(vendor, sizeof vendor);
        device.model(model, sizeof model);
        device.deviceNode(node, sizeof node);
        device.secondNode(secondNode, sizeof secondNode);
        device.scsiId(scsiId, sizeof scsiId);
        memset(capacity, 0, sizeof capacity);
        formatCapacity(device.capacityBlocks() / 2, capacity);
        device.mappedPath(mappedPath, sizeof mappedPath);
        for (char* shown : {vendor, model, node, secondNode, scsiId, mappedPath})
            makePrintable(shown);
    }
};

void printDevice(const HkDeviceRecord& device)
{
    const DeviceTexts t(device);
    printMessage(MSG_HK_DEVICE, t.vendor, t.model, t.node, t.secondNode, t.scsiId, t.capacity,
                 stateText(device.state()), t.mappedPath);
}

void printDeviceWithMark(const HkDeviceRecord& device)
{
    const DeviceTexts t(device);
    printMessage(MSG_HK_DEVICE_WITH_MARK, t.vendor, t.model, t.node, t.secondNode, t.scsiId, t.capacity,
                 stateText(device.state()), device.configured() ? "YES" : "NO", t.mappedPath);
}

// Whether a configured slot of the area holds the SCSI ID.
bool isInArea(const HkConfigPage& page, size_t area, const char* scsiId)
{
    for (size_t i = 0; i < HkConfigPage::SLOTS; ++i) {
        char slotId[HkDeviceRecord::SCSI_ID_WIDTH + 1];
        if (page.slot(area, i).scsiId(slotId, sizeof slotId) > 0 && strcmp(slotId, scsiId) == 0)
            return true;
    }
    return false;
}

// ---- the flash-card information ----

void text(const char* t) { printMessage(MSG_TEXT, t); }

// The values are the devices' and the controllers' own texts.
void line(const char* label, const char* value)
{
    text(label);
    text(printableText(value).c_str());
    text("\n");
}

void sectionTitle(const char* title)
{
    const char* blanks = "                ";
    text(blanks);
    text(title);
    text(blanks);
    printMessage(MSG_RULER_SHORT);
}

const char* yesNo(bool yes) { return yes ? "Yes" : "No"; }
const char* presentAbsent(bool present) { return present ? "Present" : "Absent"; }

const char* hostInterfaceText(uint8_t bits)
{
    static const char* const names[] = {"PCIX", "PCIE", "iSCSI", "SAS-3G"};
    for (unsigned bit = 0; bit < 4; ++bit) {
        if ((bits >> bit) & 1u)
            return names[bit];
    }
    return "UNKNOWN";
}

const char* coercionText(uint8_t mode)
{
    static const char* const names[] = {"1GB", "128MB", "Adaptive Coercion", "Zero Coercion"};
    return mode < 4 ? names[mode] : "Unknown";
}

const char* controllerStatusText(uint32_t status)
{
    static const char* const names[] = {"Good", "Warning", "Error"};
    return status < 3 ? names[status] : "Unknown";
}

const char* auxiliaryPowerText(uint16_t power)
{
    if (power == 0)
        return "Not Present";
    if (power == 255)
        return "Not Supported";
    return "Present";
}

size_t propertyOffset(size_t field) { return ZprControllerInfo::CURRENT_PROPERTIES + field; }

void imageLines(const ZprControllerInfo& info, const char* prefix, const char* label)
{
    const uint32_t count = info.imageCount();
    for (uint32_t i = 0; i < count; ++i) {
        char name[ZprControllerInfo::IMAGE_NAME_WIDTH + 1];
        info.imageName(i, name, sizeof name);
        if (strncmp(name, prefix, strlen(prefix)) != 0)
            continue;
        char version[ZprControllerInfo::IMAGE_VERSION_WIDTH + 1];
        info.imageVersion(i, version, sizeof version);
        text(label);
        text(makePrintable(version));
        text("\n");
    }
}

void showGeneralProperties(const ZprControllerInfo& info, uint32_t controllerId)
{
    const LeView& v = info.view();
    char buffer[ZprControllerInfo::PACKAGE_BUILD_WIDTH + 1];
    sectionTitle("General Properties:\n");
    text("Controller ID         : 0x");
    printMessage(MSG_HEX16, controllerId);
    text("\n");
    info.productName(buffer, sizeof buffer);
    line("Product Name          : ", buffer);
    info.serialNumber(buffer, sizeof buffer);
    line("Serial Number         : ", buffer);
    const struct {
        const char* label;
        unsigned value;
    } ids[] = {{"Vendor ID             : 0x", info.pciVendorId()},
               {"Sub-Vendor ID         : 0x", info.pciSubvendorId()},
               {"Device ID             : 0x", info.pciDeviceId()}};
    for (const auto& id : ids) {
        text(id.label);
        printMessage(MSG_HEX16, id.value);
        text("\n");
    }
    text("SAS Address           : ");
    printMessage(MSG_HEX64, static_cast<unsigned long long>(v.u64(ZprControllerInfo::FRONTEND_PORTS)));
    text("\n");
    text("Device Port Count     : ");
    printMessage(MSG_DECIMAL, static_cast<int>(info.byteAt(ZprControllerInfo::BACKEND_PORT_COUNT)));
    text("\n");
    line("Host Interface        : ", hostInterfaceText(info.byteAt(ZprControllerInfo::HOST_INTERFACE)));
    text("Metadata Size         : ");
    printMessage(MSG_DECIMAL, static_cast<int>(info.wordAt(ZprControllerInfo::INFO_WORD_786)));
    text("MB\n");
    line("Alarm Present         : ", presentAbsent(info.flag(ZprControllerInfo::DEVICES_PRESENT, 1)));
    line("Cache Flush Interval  : ", "NA");
    line("Coercion Mode         : ",
         coercionText(info.byteAt(propertyOffset(ZprControllerProperties::COERCION_MODE))));
    line("BBU Present           : ", presentAbsent(info.flag(ZprControllerInfo::DEVICES_PRESENT, 0)));
    line("NVRAM Present         : ", yesNo(info.flag(ZprControllerInfo::DEVICES_PRESENT, 2)));
    line("NVRAM Size            : ", "NA");
    imageLines(info, "NVDA", "NVDATA Version        : ");
    imageLines(info, "BIOS", "BIOS Version          : ");
    line("Native Command Queuing: ",
         info.flag(propertyOffset(ZprControllerProperties::DRIVE_FLAGS), 4) ? "Disabled" : "Enabled");
    line("Flash Size            : ", "NA");
    text("Shield State Supported: ");
    text(yesNo(info.flag(ZprControllerInfo::PI_FEATURES, 5)));
    text("\n\n\n");
}

void showCardProperties(const HkCardHealth& health)
{
    sectionTitle("Blazecard Properties: \n");
    text("SSD Life Left    : ");
    printMessage(MSG_DECIMAL, static_cast<int>(health.lifeLeftPercent()));
    text("%\n");
    line("Controller Status: ", controllerStatusText(health.controllerStatus()));
    text("Life Curve Status: ");
    printMessage(MSG_DECIMAL, static_cast<int>(health.lifeCurveStatus()));
    text("\n");
    line("Auxiliary Power  : ", auxiliaryPowerText(health.auxiliaryPower()));
    text("\n\n");
}

uint64_t backendAddress(const LeView& v, unsigned port)
{
    if (port < LOW_BACKEND_PORTS)
        return v.u64(ZprControllerInfo::BACKEND_PORTS + 8 * port);
    return v.u64(ZprControllerInfo::BACKEND_PORTS_HIGH + 8 * (port - LOW_BACKEND_PORTS));
}

void showFirmwareProperties(const ZprControllerInfo& info)
{
    const LeView& v = info.view();
    char buffer[ZprControllerInfo::PACKAGE_BUILD_WIDTH + 1];
    sectionTitle("Firmware Properties: \n");
    info.packageBuild(buffer, sizeof buffer);
    line("Firmware Package Version: ", buffer);
    const uint32_t count = info.imageCount();
    for (uint32_t i = 0; i < count; ++i) {
        char name[ZprControllerInfo::IMAGE_NAME_WIDTH + 1];
        info.imageName(i, name, sizeof name);
        if (strncmp(name, "APP", 3) != 0)
            continue;
        info.imageVersion(i, buffer, sizeof buffer);
        line("Firmware Version        : ", buffer);
        info.imageBuildTime(i, buffer, sizeof buffer);
        line("Firmware Build Time     : ", buffer);
        break;
    }
    const unsigned ports = info.byteAt(ZprControllerInfo::BACKEND_PORT_COUNT);
    for (unsigned port = 0; port < ports && port < MAX_BACKEND_PORTS; ++port) {
        text("Backend SAS Address ");
        printMessage(MSG_DECIMAL, static_cast<int>(port));
        text("  : ");
        printMessage(MSG_HEX64, static_cast<unsigned long long>(backendAddress(v, port)));
        text("\n");
    }
    line("Cluster Enable          : ", yesNo(info.byteAt(propertyOffset(ZprControllerProperties::CLUSTER_ENABLE)) != 0));
    line("Cluster Active          : ", yesNo(info.byteAt(ZprControllerInfo::CLUSTER_ACTIVE) != 0));
    line("SSD Gaurd               : ",
         info.flag(propertyOffset(ZprControllerProperties::DRIVE_FLAGS), 5) ? "Enabled" : "Disabled");
    text("SSD Disk Cache Setting  : ");
    text(info.flag(ZprControllerInfo::PI_FEATURES, 6) ? "Disabled" : "Enabled");
    text("\n\n\n");
}

void showCard(const ZprControllerInfo& info, const HkCardHealth& health, uint32_t controllerId, int number)
{
    text("Blazecard Index #");
    printMessage(MSG_DECIMAL, number);
    text("\n\n");
    printMessage(MSG_RULER_LONG);
    text("\n");
    showGeneralProperties(info, controllerId);
    showCardProperties(health);
    showFirmwareProperties(info);
    sectionTitle("Drive Security Properties: \n");
    line("Drive Security Capable  : ", yesNo(info.flag(ZprControllerInfo::STORAGE_FEATURES, 2)));
    text("\n");
}

struct Buffer {
    explicit Buffer(size_t size) : bytes(new (noThrowNew) uint8_t[size]()), size(size) {}
    bool ok() const { return bytes != nullptr; }
    LeView view() const { return LeView(bytes.get(), size); }
    void clear() { memset(bytes.get(), 0, size); }

    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};

// Reads one library controller's information record; 0 or -1 after the internal-error message.
int readControllerInfo(CpController* cpController, uint32_t id, Buffer& info)
{
    info.clear();
    if (sendLibraryCommand(cpController, LIBRARY_CONTROLLER_INFO, CODE_CONTROLLER_INFO, id, info.bytes.get(),
                           ZprControllerInfo::SIZE) != 0) {
        printMessage(MSG_INTERNAL_ERROR);
        return -1;
    }
    return 0;
}

bool isFlashCard(const Buffer& info) { return ZprControllerInfo(info.view()).pciDeviceId() == FLASH_CARD_DEVICE_ID; }

// The position in the list of the card whose number among the cards is `wanted`; -1 after its
// message when there is none, -2 after a failed read.
int findCard(CpController* cpController, const uint32_t* ids, unsigned count, unsigned wanted, Buffer& info)
{
    unsigned cards = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (readControllerInfo(cpController, ids[i], info) != 0)
            return -2;
        if (!isFlashCard(info))
            continue;
        if (cards == wanted)
            return static_cast<int>(i);
        ++cards;
    }
    text("No Blazecard at this index");
    return -1;
}

}  // namespace

int TidexCmdCp::showDeviceList(const TidexCmdParsedObject& request, CpController* cpController, uint8_t action,
                               bool configured, const LeView& pageBytes)
{
    if (!configured && request.getConfigured() == 1)
        return 0;
    const HkConfigPage page(pageBytes);
    const size_t area = action == 1 ? HkConfigPage::CACHE_DEVICE_AREA : HkConfigPage::VD_AREA;
    if (request.getConfigured() == 1) {
        for (size_t i = 0; i < HkConfigPage::SLOTS; ++i) {
            const HkDeviceRecord slot = page.slot(area, i);
            char scsiId[HkDeviceRecord::SCSI_ID_WIDTH + 1];
            if (slot.scsiId(scsiId, sizeof scsiId) > 0)
                printDevice(slot);
        }
        return 0;
    }
    Buffer list(HkDeviceList::SIZE);
    if (!list.ok())
        return -1;
    const int status =
        sendLibraryCommand(cpController, LIBRARY_HOST_CACHE, action, request.getIndex(), list.bytes.get(), HkDeviceList::SIZE);
    if (status != 0) {
        printMessage(status == 0x6001 ? MSG_HK_DRIVER_NOT_LOADED : MSG_INTERNAL_ERROR);
        return -1;
    }
    const HkDeviceList devices(list.view());
    for (uint32_t i = 0; i < devices.count(); ++i) {
        const HkDeviceRecord device = devices.device(i);
        if (request.getAllIndices() == 1) {
            printDeviceWithMark(device);
            continue;
        }
        char scsiId[HkDeviceRecord::SCSI_ID_WIDTH + 1];
        device.scsiId(scsiId, sizeof scsiId);
        if (!isInArea(page, area, scsiId))
            printDevice(device);
    }
    return 0;
}

int TidexCmdCp::showBlazecardInfo(const TidexCmdParsedObject& request, CpController* cpController)
{
    uint8_t listBytes[AK_LIB_CONTROLLER_LIST_SIZE] = {};
    if (sendLibraryCommand(cpController, LIBRARY_GENERAL, CODE_CARD_LIST, 0, listBytes, sizeof listBytes) != 0) {
        printMessage(MSG_INTERNAL_ERROR);
        return -1;
    }
    const LeView listView(listBytes, sizeof listBytes);
    // The count is kept within the ids the list holds.
    unsigned count = listView.u16(0);
    if (count > AK_LIB_CONTROLLER_LIST_IDS)
        count = AK_LIB_CONTROLLER_LIST_IDS;
    if (count == 0)
        return 0;
    uint32_t ids[AK_LIB_CONTROLLER_LIST_IDS];
    for (unsigned i = 0; i < count; ++i)
        ids[i] = listView.u32(4 + 4 * i);

    Buffer info(ZprControllerInfo::SIZE);
    Buffer health(HkCardHealth::SIZE);
    if (!info.ok() || !health.ok())
        return -1;
    unsigned first = 0;
    unsigned last = count;
    if (request.getAllIndices() == 0) {
        const int found = findCard(cpController, ids, count, request.getIndex(), info);
        if (found < 0)
            return -1;
        first = static_cast<unsigned>(found);
        last = first + 1;
    }
    int number = 0;
    for (unsigned i = first; i < last; ++i) {
        if (readControllerInfo(cpController, ids[i], info) != 0)
            return -1;
        if (!isFlashCard(info))
            continue;
        health.clear();
        if (sendLibraryCommand(cpController, LIBRARY_CARD, CODE_CARD_HEALTH, ids[i], health.bytes.get(),
                               HkCardHealth::SIZE) != 0) {
            printMessage(MSG_INTERNAL_ERROR);
            return -1;
        }
        showCard(ZprControllerInfo(info.view()), HkCardHealth(health.view()), ids[i], number);
        ++number;
    }
    return 0;
}
