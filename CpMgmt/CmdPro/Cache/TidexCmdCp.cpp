// The host-cache commands: the configuration read that opens every sub-command, the
// configuration information, the statistics, the clearing of the configuration, and the adding,
// removing and onlining of devices. The device lists and the flash-card information are in
// TidexCmdCpDisplay.cpp.
//
// They run without the controller check, on the first controller the integrated-RAID library
// reports (they do not talk to a controller's firmware).
#include "CpMgmt/CmdPro/Cache/TidexCmdCp.h"

#include <cstring>
#include <memory>

#include "ControllerMgmt/Controller.h"
#include "CpMgmt/CpController.h"
#include "CpMgmt/CpFactoryRegistry.h"
#include "DataProvider/AkLibCommand.h"
#include "DataProvider/DpParams.h"
#include "Output/VoMessage.h"
#include "Parser/CfgParsedObjects.h"
#include "Parser/TokenIds.h"
#include "PavUtil/Memory.h"
#include "PavUtil/PrintableText.h"
#include "PavUtil/SizeFormat.h"
#include "RaidManager/Zpr/Records/Controller/ZprHostCache.h"

namespace {

// Object kinds of the request.
const uint8_t KIND_CARD_INFO = 10;
const uint8_t KIND_HOST_CACHE = 11;

// Sub-commands (the request's action; also the library command code).
const uint8_t ACTION_CDEV_LIST = 1;
const uint8_t ACTION_VD_LIST = 2;
const uint8_t ACTION_CONFIG_INFO = 3;
const uint8_t ACTION_CLEAR = 5;
const uint8_t ACTION_ADD_CDEV = 6;
const uint8_t ACTION_REMOVE_CDEV = 7;
const uint8_t ACTION_ADD_VD = 8;
const uint8_t ACTION_REMOVE_VD = 9;
const uint8_t ACTION_PERF_STATS = 10;
const uint8_t ACTION_ONLINE_VD = 12;

// Library statuses the commands tell apart.
const int HK_DRIVER_NOT_LOADED = 0x6001;
const int HK_NO_CONFIGURATION = 0x6002;       // also: no cache device configured
const int HK_NO_CONFIGURATION_YET = 0x6003;
const int HK_VD_NOT_CONFIGURED = 0x6007;
const int HK_ALREADY_CONFIGURED = 0x6008;
const int HK_LIMIT_REACHED = 0x6009;
const int HK_BUSY = 0x600b;
const int HK_NOT_CONFIGURED = 0x600e;
const int HK_VDS_CONFIGURED = 0x600f;
const int HK_DRIVER_NOT_LOADED_AT_START = 0x800a;
const int HK_NOT_VALID = 0x8019;

// Content warnings of a cache device that "-force" overrides.
const uint32_t WARNING_DATA_FOUND[] = {2, 4, 8, 16};
const uint32_t WARNING_FOREIGN = 32;

// How an add, remove or online answer is reported: its message (printed with the device name
// when `named`), and whether it ends the operation at once.
struct ChangeOutcome {
    int status;
    unsigned int message;
    bool named;
    bool ends;
};

const ChangeOutcome CACHE_DEVICE_OUTCOMES[] = {
    {HK_DRIVER_NOT_LOADED, MSG_HK_DRIVER_NOT_LOADED, false, true},
    {HK_VDS_CONFIGURED, MSG_HK_LAST_CACHE_DEVICE, true, true},
    {HK_LIMIT_REACHED, MSG_HK_CACHE_LIMIT, false, true},
    {HK_NOT_VALID, MSG_HK_NOT_VALID, true, false},
    {HK_ALREADY_CONFIGURED, MSG_HK_ALREADY_CONFIGURED, true, false},
    {HK_NOT_CONFIGURED, MSG_HK_NOT_CONFIGURED, true, false},
};

const ChangeOutcome VD_OUTCOMES[] = {
    {HK_DRIVER_NOT_LOADED, MSG_HK_DRIVER_NOT_LOADED, false, true},
    {HK_NO_CONFIGURATION, MSG_HK_NO_CACHE_DEVICE, false, true},
    {HK_LIMIT_REACHED, MSG_HK_VD_LIMIT, false, true},
    {HK_NOT_VALID, MSG_HK_NOT_VALID, true, false},
    {HK_BUSY, MSG_HK_BUSY, true, false},
    {HK_ALREADY_CONFIGURED, MSG_HK_ALREADY_CONFIGURED, true, false},
    {HK_NOT_CONFIGURED, MSG_HK_NOT_CONFIGURED, true, false},
};

// An answer not in the table: an internal error, and the next name is tried.
const ChangeOutcome INTERNAL_ERROR_OUTCOME = {0, MSG_INTERNAL_ERROR, false, false};

template <size_t N>
const ChangeOutcome& outcomeOf(const ChangeOutcome (&table)[N], int status)
{
    for (const ChangeOutcome& outcome : table) {
        if (outcome.status == status)
            return outcome;
    }
    return INTERNAL_ERROR_OUTCOME;
}

// A zero-filled buffer of the library's, released with the object.
struct LibraryBuffer {
    explicit LibraryBuffer(size_t size) : bytes(new (noThrowNew) uint8_t[size]()), size(size) {}
    bool ok() const { return bytes != nullptr; }
    LeView view() const { return LeView(bytes.get(), size); }

    std::unique_ptr<uint8_t[]> bytes;
    size_t size;
};

// The driver message for its status, any other failure as an internal error; -1 either way.
int reportLibraryFailure(int status)
{
    printMessage(status == HK_DRIVER_NOT_LOADED ? MSG_HK_DRIVER_NOT_LOADED : MSG_INTERNAL_ERROR);
    return -1;
}

bool isDataWarning(uint32_t warning)
{
    for (uint32_t w : WARNING_DATA_FOUND) {
        if (w == warning)
            return true;
    }
    return false;
}

const char* doneVerb(uint8_t action)
{
    switch (action) {
    case ACTION_ADD_CDEV:
    case ACTION_ADD_VD:
        return "added";
    case ACTION_ONLINE_VD:
        return "Onlined";
    default:
        return "removed";
    }
}

// The adding, removing or onlining of the request's names on the devices of the list `listCode`:
// each name is matched against the SCSI IDs of the list (exactly), and each matching device's
// record is sent with the action's code. 0 when every name succeeded, else -1.
int changeDevices(const TidexCmdParsedObject& request, CpController* cpController, uint8_t listCode, uint8_t action,
                  bool checkContent)
{
    LibraryBuffer list(HkDeviceList::SIZE);
    LibraryBuffer record(HkDeviceRecord::SIZE);
    if (!list.ok() || !record.ok())
        return -1;
    int status = sendLibraryCommand(cpController, KIND_HOST_CACHE, listCode, request.getIndex(), list.bytes.get(),
                                    HkDeviceList::SIZE);
    if (status != 0) {
        printMessage(MSG_INTERNAL_ERROR);
        return -1;
    }
    const HkDeviceList devices(list.view());
    const bool isVd = listCode == ACTION_VD_LIST;
    int result = 0;
    const ArrayList<string*>* names = request.getNameList();
    for (unsigned int n = 0; n < names->count(); ++n) {
        const char* name = names->get(n)->c_str();
        bool matched = false;
        for (uint32_t i = 0; i < devices.count(); ++i) {
            const HkDeviceRecord device = devices.device(i);
            char scsiId[HkDeviceRecord::SCSI_ID_WIDTH + 1];
            device.scsiId(scsiId, sizeof scsiId);
            if (strcmp(scsiId, name) != 0)
                continue;
            matched = true;
            if (checkContent && request.getForce() != 1) {
                const uint32_t warning = device.contentWarning();
                if (isDataWarning(warning) || warning == WARNING_FOREIGN) {
                    if (warning == WARNING_FOREIGN)
                        printMessage(MSG_HK_FOREIGN_CACHE_DEVICE);
                    else
                        printMessage(MSG_HK_DATA_FOUND, name);
                    result = -1;
                    break;
                }
            }
            device.view().readBytes(0, record.bytes.get(), HkDeviceRecord::SIZE);
            status = sendLibraryCommand(cpController, KIND_HOST_CACHE, action, request.getIndex(), record.bytes.get(),
                                        HkDeviceRecord::SIZE);
            if (status == 0) {
                printMessage(MSG_HK_DEVICE_DONE, name, doneVerb(action));
                continue;
            }
            const ChangeOutcome& outcome =
                isVd ? (status == HK_VD_NOT_CONFIGURED && action == ACTION_REMOVE_VD
                            ? outcomeOf(VD_OUTCOMES, HK_NOT_CONFIGURED)
                            : outcomeOf(VD_OUTCOMES, status))
                     : outcomeOf(CACHE_DEVICE_OUTCOMES, status);
            if (outcome.named)
                printMessage(outcome.message, name);
            else
                printMessage(outcome.message);
            if (outcome.ends)
                return -1;
            result = -1;
        }
        if (!matched) {
            printMessage(MSG_HK_NOT_VALID, name);
            result = -1;
        }
    }
    return result;
}

void printConfigInfo(const HkConfigPage& page)
{
    char group[HkConfigPage::GROUP_NAME_WIDTH + 1];
    page.groupName(group, sizeof group);
    makePrintable(group);
    printMessage(MSG_HK_CONFIG_INFO, static_cast<int>(page.versionMajor()), static_cast<int>(page.versionMinor()),
                 group, static_cast<int>(page.configuredCount(HkConfigPage::VD_AREA)),
                 static_cast<int>(page.configuredCount(HkConfigPage::CACHE_DEVICE_AREA)));
}

int clearConfiguration(CpController* cpController, uint8_t index, LibraryBuffer& page)
{
    const int status =
        sendLibraryCommand(cpController, KIND_HOST_CACHE, ACTION_CLEAR, index, page.bytes.get(), HkConfigPage::SIZE);
    if (status != 0)
        return reportLibraryFailure(status);
    printMessage(MSG_HK_CLEARED);
    return 0;
}

int showPerfStats(CpController* cpController, uint8_t index)
{
    LibraryBuffer buffer(HkPerfStats::SIZE);
    if (!buffer.ok())
        return -1;
    const int status =
        sendLibraryCommand(cpController, KIND_HOST_CACHE, ACTION_PERF_STATS, index, buffer.bytes.get(), HkPerfStats::SIZE);
    if (status != 0)
        return reportLibraryFailure(status);
    const HkPerfStats stats(buffer.view());
    char group[HkPerfStats::GROUP_NAME_WIDTH + 1];
    stats.groupName(group, sizeof group);
    makePrintable(group);
    char total[CAPACITY_TEXT_SIZE];
    char used[CAPACITY_TEXT_SIZE];
    formatCapacity(stats.counter(HkPerfStats::TOTAL_CACHE_BLOCKS) / 2, total);
    formatCapacity(stats.counter(HkPerfStats::USED_CACHE_BLOCKS) / 2, used);
    printMessage(MSG_HK_PERF_STATS, group, stats.word(HkPerfStats::VD_COUNT), stats.word(HkPerfStats::CACHE_DEVICE_COUNT),
                 stats.word(HkPerfStats::QUEUE_DEPTH), total, used,
                 static_cast<unsigned long long>(stats.counter(HkPerfStats::CACHE_LINE_BLOCKS)),
                 static_cast<unsigned long long>(stats.counter(HkPerfStats::CACHE_WINDOW_BLOCKS)),
                 static_cast<unsigned long long>(stats.counter(HkPerfStats::READS)),
                 static_cast<unsigned long long>(stats.counter(HkPerfStats::WRITES)),
                 static_cast<unsigned long long>(stats.counter(HkPerfStats::HITS)),
                 static_cast<unsigned long long>(stats.counter(HkPerfStats::MISSES)));
    return 0;
}

}  // namespace

int sendLibraryCommand(CpController* cpController, uint8_t type, uint8_t code, uint32_t controllerId, void* data,
                       uint32_t length)
{
    Controller* controller = cpController != nullptr ? cpController->controller() : nullptr;
    if (controller == nullptr)
        return -1;
    _AK_LIB_CMD_PARAM_T block;
    memset(&block, 0, sizeof block);
    block.cmdType = type;
    block.cmdCode = code;
    block.ctrlId = controllerId;
    block.dataLength = length;
    block.data = data;
    ArraykitIr2DpParams params(&block);
    return controller->execute(&params);
}

int TidexCmdCp::process(CpController* cpController, ParsedObject* parsed)
{
    // The host-cache commands have no adapter to name: a request of another class is refused
    // without a word.
    TidexCmdParsedObject* request = dynamic_cast<TidexCmdParsedObject*>(parsed);
    if (request == nullptr)
        return -1;
    if (request->getObjectKind() == KIND_CARD_INFO)
        return showBlazecardInfo(*request, cpController);

    LibraryBuffer page(HkConfigPage::SIZE);
    if (!page.ok())
        return -1;
    bool configured = true;
    int status = sendLibraryCommand(cpController, request->getObjectKind(), ACTION_CONFIG_INFO, request->getIndex(),
                                    page.bytes.get(), HkConfigPage::SIZE);
    if (status == HK_DRIVER_NOT_LOADED || status == HK_DRIVER_NOT_LOADED_AT_START) {
        printMessage(MSG_HK_DRIVER_NOT_LOADED);
        return -1;
    }
    if (status == HK_NO_CONFIGURATION || status == HK_NO_CONFIGURATION_YET)
        configured = false;
    else if (status != 0)
        return reportLibraryFailure(status);

    const uint8_t action = request->getAction();
    switch (action) {
    case ACTION_CDEV_LIST:
    case ACTION_VD_LIST:
        return showDeviceList(*request, cpController, action, configured, page.view());
    case ACTION_CONFIG_INFO:
        if (configured)
            printConfigInfo(HkConfigPage(page.view()));
        return 0;
    case ACTION_CLEAR:
        return clearConfiguration(cpController, request->getIndex(), page);
    case ACTION_ADD_CDEV:
    case ACTION_REMOVE_CDEV:
        return changeCacheDevices(*request, cpController, action);
    case ACTION_ADD_VD:
    case ACTION_REMOVE_VD:
    case ACTION_ONLINE_VD:
        return changeVirtualDrives(*request, cpController, action);
    case ACTION_PERF_STATS:
        return configured ? showPerfStats(cpController, request->getIndex()) : 0;
    default:
        return 0;
    }
}

int TidexCmdCp::changeCacheDevices(const TidexCmdParsedObject& request, CpController* cpController, uint8_t action)
{
    return changeDevices(request, cpController, ACTION_CDEV_LIST, action, action == ACTION_ADD_CDEV);
}

int TidexCmdCp::changeVirtualDrives(const TidexCmdParsedObject& request, CpController* cpController, uint8_t action)
{
    return changeDevices(request, cpController, ACTION_VD_LIST, action, false);
}

namespace {

const CpRegistration<TidexCmdCp> registration(
    CpTraits().withoutControllerCheck().managedBy(CpManagementKind::HostCacheLibrary));

}  // namespace
