#include "ControllerMgmt/LinExpLd.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <scsi/scsi.h>
#include <scsi/scsi_ioctl.h>
#include <scsi/sg.h>
#include <sys/utsname.h>

#include "ControllerMgmt/Controller.h"
#include "ControllerMgmt/LinuxControllerExplorer.h"
#include "ControllerMgmt/SysfsAccess.h"
#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/IgnoreStatus.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"
#include "RaidManager/Zpr/Records/ZprFrameLayout.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdInfo.h"
#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"
#include "System/OsBoundary.h"

namespace {

const char PROC_SCSI_SCSI[] = "/proc/scsi/scsi";
const char HWR_PROC_DIR[] = "/proc/scsi/quillraid_sas";
const char SWR_PROC_DIR[] = "/proc/scsi/quillsr";
const char HBA_MAP[] = "hba_map";
const char HWR_HBA_MAP_DIR[] = "/proc/scsi/quillraid_sas/hba_map/";
const char SWR_HBA_MAP_DIR[] = "/proc/scsi/quillsr/hba_map/";

// Logical drives sit on this SCSI channel of the controller's host.
const int LD_SCSI_CHANNEL = 2;

// Kernels from this release on have sysfs and the SCSI generic interface.
const int NEW_KERNEL_MAJOR = 2;
const int NEW_KERNEL_MINOR = 5;

const int MAX_PASSES = 10;
const unsigned int RETRY_SLEEP_SECONDS = 1;

const uint8_t SCSI_INQUIRY = 0x12;
const uint8_t VPD_DEVICE_IDENTIFICATION = 0x83;
const uint8_t DESIGNATOR_TYPE_NAA = 3;
const int SG_MIN_VERSION = 30000;
const unsigned int SG_TIMEOUT_MS = 20000;
// SCSI_IOCTL_SEND_COMMAND block: input length, output length, then the command; the answer
// overwrites the block from the command on.
const size_t SEND_COMMAND_HEADER = 8;

// Text that a proc_name attribute is read into: at most 32 bytes and a NUL.
const size_t PROC_NAME_READ = 32;
const size_t HOST_NAME_SIZE = 64;

// The identification pages compared here are the ones the logical-drive information carries.
static_assert(VPD83_PAGE_SIZE == ZprLdInfo::DEVICE_ID_PAGE_SIZE, "a page as compared is a page as reported");

// The logical-drive list as read by get_ld_list.
ZprLdList ldListOf(const uint8_t* list)
{
    return ZprLdList(list, ZprLdList::SIZE);
}

bool isDotEntry(const char* name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

// Opens the sysfs class directory of the SCSI hosts, whose path goes to classDir
// (SYSFS_PATH_SIZE bytes); null when there is none.
DIR* openScsiHostClass(char* classDir)
{
    if (cli_get_class_path(classDir, "scsi_host") != 0) {
        return nullptr;
    }
    return osBoundary().opendir(classDir);
}

// The path of a class entry into hostDir (SYSFS_PATH_SIZE bytes); false unless it fits and is a
// directory or a link.
bool hostDirPath(char* hostDir, const char* classDir, const char* entryName)
{
    return sysfsFormatPath(hostDir, SYSFS_PATH_SIZE, "%s/%s", classDir, entryName) &&
           (cli_is_path_dir(hostDir) == 0 || cli_is_path_link(hostDir) == 0);
}

void releaseListing(struct dirent** names, int count)
{
    if (names == nullptr) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        free(names[i]);
    }
    free(names);
}

// The hba_map listing of the hardware-RAID driver, else of the software-RAID driver, in
// alphabetical order; -1 when neither can be read.
int listHbaMap(const char* hwrDir, const char* swrDir, struct dirent*** names)
{
    *names = nullptr;
    int count = osBoundary().scandir(hwrDir, names, nullptr, alphasort);
    if (count < 0) {
        *names = nullptr;
        count = osBoundary().scandir(swrDir, names, nullptr, alphasort);
    }
    if (count < 0) {
        *names = nullptr;
    }
    return count;
}

// Writes one line to /proc/scsi/scsi through its own open; false when it cannot be opened. The
// kernel's answer to the write is not examined: a line written counts.
bool writeProcScsi(const char* line)
{
    int fd = osBoundary().open(PROC_SCSI_SCSI, O_RDWR);
    if (fd < 0) {
        return false;
    }
    ignoreStatus(osBoundary().write(fd, line, strlen(line)), "the kernel's answer is not examined: a line written counts");
    osBoundary().close(fd);
    return true;
}

} // namespace

LinExpLd* LinExpLd::instance(uint8_t)
{
    static LinExpLd exposer;
    return &exposer;
}

// ---------------------------------------------------------------------------------------------
// Firmware reads

int LinExpLd::get_ld_list(Controller* controller, uint8_t* list)
{
    if (controller == nullptr || list == nullptr) {
        return -1;
    }
    memset(list, 0, ZprLdList::SIZE);
    DcmdZprDpParams request(DCMD_LD_GET_LIST, 0u, 0u, 0u, list, ZprLdList::SIZE, 0, 0);
    int status = controller->execute(&request);
    if (status != 0) {
        return status;
    }
    // The list holds at most ZprLdList::MAX_ENTRIES entries; a larger count cannot be walked.
    if (ldListOf(list).count() > ZprLdList::MAX_ENTRIES) {
        return -1;
    }
    return 0;
}

int LinExpLd::get_ld_info(Controller* controller, uint16_t targetId, uint8_t* info)
{
    if (controller == nullptr || info == nullptr) {
        return -1;
    }
    DcmdZprDpParams request(DCMD_LD_GET_INFO, static_cast<uint32_t>(targetId), 0u, 0u, info, ZprLdInfo::SIZE, 0, 0);
    return controller->execute(&request);
}

int LinExpLd::get_ld_vpd83(Controller* controller, int targetId, uint8_t* page)
{
    if (controller == nullptr || page == nullptr) {
        return -1;
    }
    uint8_t controllerInfo[ZprControllerInfo::SIZE];
    memset(controllerInfo, 0, sizeof controllerInfo);
    DcmdZprDpParams request(DCMD_ADP_GET_INFO, 0u, 0u, 0u, controllerInfo, sizeof controllerInfo, 0, 0);
    int status = controller->execute(&request);
    if (status != 0) {
        return status;
    }
    if (targetId < 0 || targetId >= ZprControllerInfo(controllerInfo, sizeof controllerInfo).maxVirtualDrives()) {
        return -1;
    }
    uint8_t info[ZprLdInfo::SIZE];
    memset(info, 0, sizeof info);
    status = get_ld_info(controller, static_cast<uint16_t>(targetId), info);
    if (status != 0) {
        return status;
    }
    ZprLdInfo(info, sizeof info).copyDeviceIdPage(page);
    return 0;
}

int LinExpLd::get_ld_vpd83_table(Controller* controller, uint8_t, LdVpd83Table* table)
{
    if (table == nullptr) {
        return -1;
    }
    memset(table, 0, sizeof *table);
    uint8_t* list = new (noThrowNew) uint8_t[ZprLdList::SIZE];
    if (list == nullptr) {
        return -1;
    }
    int status = get_ld_list(controller, list);
    if (status == 0) {
        const ZprLdList ldList = ldListOf(list);
        const uint32_t count = ldList.entryCount();
        for (uint32_t i = 0; i < count; ++i) {
            uint8_t targetId = ldList.targetId(i);
            LdVpd83Entry& entry = table->entries[table->count];
            status = get_ld_vpd83(controller, targetId, entry.page);
            if (status == 0) {
                entry.targetId = targetId;
                ++table->count;
            }
        }
    }
    delete[] list;
    return status;
}

// ---------------------------------------------------------------------------------------------
// The kernel

int LinExpLd::is_kernel_at_least(int major, int minor)
{
    return isKernelAtLeast(major, minor);
}

// ---------------------------------------------------------------------------------------------
// Kernels from 2.5: sysfs

int LinExpLd::sysfs_get_host(int index)
{
    char classDir[SYSFS_PATH_SIZE];
    DIR* dir = openScsiHostClass(classDir);
    if (dir == nullptr) {
        return -1;
    }
    int found = -1;
    int hosts = 0;
    while (struct dirent* entry = osBoundary().readdir(dir)) {
        if (isDotEntry(entry->d_name)) {
            continue;
        }
        char hostDir[SYSFS_PATH_SIZE];
        if (!hostDirPath(hostDir, classDir, entry->d_name)) {
            continue;
        }
        char attribute[SYSFS_PATH_SIZE];
        if (!sysfsFormatPath(attribute, sizeof attribute, "%s/proc_name", hostDir) ||
            (cli_is_path_file(attribute) != 0 && cli_is_path_link(attribute) != 0)) {
            continue;
        }
        char procName[PROC_NAME_READ + 1];
        memset(procName, 0, sizeof procName);
        if (cli_read_attribute(attribute, procName, PROC_NAME_READ) < 0 || scsiHostKind(procName) < 0) {
            continue;
        }
        char deviceLink[SYSFS_PATH_SIZE];
        if (!sysfsFormatPath(deviceLink, sizeof deviceLink, "%s/device", hostDir) || cli_is_path_link(deviceLink) != 0) {
            continue;
        }
        char resolved[SYSFS_PATH_SIZE];
        memset(resolved, 0, sizeof resolved);
        if (cli_resolve_link(deviceLink, resolved, sizeof resolved) != 0) {
            continue;
        }
        char hostName[HOST_NAME_SIZE];
        memset(hostName, 0, sizeof hostName);
        unsigned int hostNumber = 0;
        if (cli_get_path_name(resolved, hostName, sizeof hostName) != 0 || sscanf(hostName, "host%u", &hostNumber) != 1) {
            continue;
        }
        if (hosts == index) {
            found = static_cast<int>(hostNumber);
            break;
        }
        ++hosts;
    }
    osBoundary().closedir(dir);
    return found;
}

int LinExpLd::sysfs_scan_host(uint8_t adapterNumber)
{
    int host = sysfs_get_host(adapterNumber);
    if (host < 0) {
        return -1;
    }
    char classDir[SYSFS_PATH_SIZE];
    DIR* dir = openScsiHostClass(classDir);
    if (dir == nullptr) {
        return -1;
    }
    int result = -1;
    while (struct dirent* entry = osBoundary().readdir(dir)) {
        unsigned int hostNumber = 0;
        if (sscanf(entry->d_name, "host%u", &hostNumber) != 1 || hostNumber != static_cast<unsigned int>(host)) {
            continue;
        }
        char hostDir[SYSFS_PATH_SIZE];
        char scan[SYSFS_PATH_SIZE];
        if (!hostDirPath(hostDir, classDir, entry->d_name) ||
            !sysfsFormatPath(scan, sizeof scan, "%s/scan", hostDir) || cli_is_path_file(scan) != 0) {
            continue;
        }
        // Every channel, target and lun of the host.
        static const char RESCAN_ALL[] = "- - -";
        result = cli_write_attribute(scan, RESCAN_ALL, sizeof RESCAN_ALL - 1) == static_cast<int>(sizeof RESCAN_ALL - 1)
                     ? 0
                     : -1;
        break;
    }
    osBoundary().closedir(dir);
    return result;
}

int LinExpLd::sysfs_find_ld_device(uint8_t, uint16_t, char* path, const uint8_t* page, int mode)
{
    if (page == nullptr) {
        return -1;
    }
    int status = -1;
    for (int pass = 0; pass < MAX_PASSES; ++pass) {
        char devicesDir[SYSFS_PATH_SIZE];
        char busDir[SYSFS_PATH_SIZE];
        int lookup = cli_get_bus_path(busDir, "scsi");
        if (lookup != 0) {
            return lookup;
        }
        if (!sysfsFormatPath(devicesDir, sizeof devicesDir, "%s/devices", busDir)) {
            return -1;
        }
        DIR* dir = osBoundary().opendir(devicesDir);
        if (dir == nullptr) {
            return -1;
        }
        status = lookup;
        while (struct dirent* entry = osBoundary().readdir(dir)) {
            if (isDotEntry(entry->d_name)) {
                continue;
            }
            char deviceLink[SYSFS_PATH_SIZE];
            if (!sysfsFormatPath(deviceLink, sizeof deviceLink, "%s/%s", devicesDir, entry->d_name) ||
                cli_is_path_link(deviceLink) != 0) {
                continue;
            }
            char deviceDir[SYSFS_PATH_SIZE];
            memset(deviceDir, 0, sizeof deviceDir);
            if (cli_resolve_link(deviceLink, deviceDir, sizeof deviceDir) != 0) {
                continue;
            }
            char node[SYSFS_PATH_SIZE];
            memset(node, 0, sizeof node);
            if (cli_find_block_node(deviceDir, node, "block") != 0) {
                continue;
            }
            uint8_t answer[VPD83_PAGE_SIZE];
            status = scsi_inquiry(node, VPD_DEVICE_IDENTIFICATION, VPD83_PAGE_SIZE, answer);
            if (status != 0) {
                continue;
            }
            if (vpd83_equal(answer, page)) {
                if (mode == EXPOSE_FIND_COPY_PATH && path != nullptr) {
                    snprintf(path, EXPOSE_PATH_SIZE, "%s", node);
                }
                break;
            }
        }
        osBoundary().closedir(dir);
        if (status == 0) {
            return 0;
        }
        osBoundary().sleep(RETRY_SLEEP_SECONDS);
    }
    return status;
}

// ---------------------------------------------------------------------------------------------
// Older kernels: /proc

int LinExpLd::proc_get_host(int index)
{
    struct dirent** names = nullptr;
    int count = listHbaMap(HWR_HBA_MAP_DIR, SWR_HBA_MAP_DIR, &names);
    if (count < 0) {
        return -1;
    }
    // The listing begins with "." and "..".
    int host = -1;
    if (index >= 0 && index < count - 2) {
        host = atoi(names[index + 2]->d_name);
    }
    releaseListing(names, count);
    return host;
}

int proc_add_new_ld(uint8_t adapterNumber, uint32_t ldCount)
{
    char hwrDir[EXPOSE_PATH_SIZE];
    char swrDir[EXPOSE_PATH_SIZE];
    snprintf(hwrDir, sizeof hwrDir, "%s/%s", HWR_PROC_DIR, HBA_MAP);
    snprintf(swrDir, sizeof swrDir, "%s/%s", SWR_PROC_DIR, HBA_MAP);
    struct dirent** names = nullptr;
    int count = listHbaMap(hwrDir, swrDir, &names);
    if (count < 0) {
        printf("proc_add_new_ld: scandir failed\n");
        return -1;
    }
    int host = LinExpLd::instance()->proc_get_host(adapterNumber);
    bool written = false;
    for (int e = 0; e < count && !written; ++e) {
        int entryHost = 0;
        if (sscanf(names[e]->d_name, "%d", &entryHost) != 1 || entryHost != host) {
            continue;
        }
        for (uint32_t target = 0; target < ldCount; ++target) {
            char line[96];
            snprintf(line, sizeof line, "scsi add-single-device %d %d %d %d\n", host, LD_SCSI_CHANNEL,
                     static_cast<int>(target), 0);
            if (!writeProcScsi(line)) {
                printf("proc_add_new_ld: Failed to open handle to /proc/scsi/scsi\n");
                continue;
            }
            written = true;
        }
    }
    releaseListing(names, count);
    return written ? 0 : -1;
}

int LinExpLd::match_sd_devices(const LdVpd83Table* table, LdDeviceMap* map)
{
    if (table == nullptr || map == nullptr) {
        return -1;
    }
    memset(map, 0, sizeof *map);
    uint32_t wanted = table->count < ZprLdList::MAX_ENTRIES ? table->count : ZprLdList::MAX_ENTRIES;
    for (int n = 0; n < SD_DEVICE_WALK; ++n) {
        uint8_t page[VPD83_PAGE_SIZE];
        char node[SD_NODE_PATH_SIZE];
        uint8_t identity[SCSI_IDENTITY_SIZE];
        if (sd_get_vpd83(n, page, node, identity) != 0) {
            continue;
        }
        for (uint32_t t = 0; t < wanted; ++t) {
            if (!vpd83_equal(table->entries[t].page, page)) {
                continue;
            }
            LdDeviceMapEntry& entry = map->entries[map->count];
            entry.targetId = static_cast<int32_t>(table->entries[t].targetId);
            entry.sdIndex = n;
            entry.channel = identity[SCSI_IDENTITY_CHANNEL];
            entry.scsiId = identity[SCSI_IDENTITY_ID];
            snprintf(entry.nodePath, sizeof entry.nodePath, "%s", node);
            ++map->count;
            if (map->count == wanted) {
                return 0;
            }
            break;
        }
    }
    return map->count < wanted ? EXPOSE_NOT_ALL_MATCHED : 0;
}

int LinExpLd::proc_build_ld_device_map(Controller* controller, uint8_t adapterNumber, LdDeviceMap* map)
{
    if (map == nullptr) {
        return -1;
    }
    memset(map, 0, sizeof *map);
    LdVpd83Table table;
    int status = get_ld_vpd83_table(controller, adapterNumber, &table);
    if (status != 0 || table.count == 0) {
        return status;
    }
    // A device the kernel has just added may need a moment before it answers.
    for (int attempt = 0; attempt < MAX_PASSES; ++attempt) {
        status = match_sd_devices(&table, map);
        if (status != EXPOSE_NOT_ALL_MATCHED) {
            break;
        }
        if (attempt + 1 < MAX_PASSES) {
            osBoundary().sleep(RETRY_SLEEP_SECONDS);
        }
    }
    return status;
}

int LinExpLd::proc_remove_ld(uint16_t targetId, const LdDeviceMap* map)
{
    if (map == nullptr) {
        return -1;
    }
    uint32_t count = map->count < LD_DEVICE_MAP_MAX_ENTRIES ? map->count : LD_DEVICE_MAP_MAX_ENTRIES;
    for (uint32_t i = 0; i < count; ++i) {
        if (map->entries[i].targetId != static_cast<int32_t>(targetId)) {
            continue;
        }
        char node[SD_NODE_PATH_SIZE];
        uint8_t identity[SCSI_IDENTITY_SIZE];
        int status = sd_get_idlun(map->entries[i].sdIndex, node, identity);
        if (status != 0) {
            return status;
        }
        char line[96];
        snprintf(line, sizeof line, "scsi remove-single-device %d %d %d %d\n", identity[SCSI_IDENTITY_HOST],
                 identity[SCSI_IDENTITY_CHANNEL], identity[SCSI_IDENTITY_ID], identity[SCSI_IDENTITY_LUN]);
        return writeProcScsi(line) ? 0 : -1;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// SCSI devices

int LinExpLd::scsi_inquiry(const char* node, uint8_t page, uint32_t length, uint8_t* out)
{
    if (node == nullptr || out == nullptr) {
        return -1;
    }
    memset(out, 0, length);
    int kernel = is_kernel_at_least(NEW_KERNEL_MAJOR, NEW_KERNEL_MINOR);
    if (kernel < 0) {
        return -1;
    }
    uint8_t cdb[6] = {SCSI_INQUIRY, static_cast<uint8_t>(page != 0 ? 1 : 0), page, 0,
                      static_cast<uint8_t>(INQUIRY_ALLOCATION_LENGTH), 0};
    // Only what the device was asked for can be handed on; a longer request keeps its zeros.
    uint32_t copy = length < INQUIRY_ALLOCATION_LENGTH ? length : INQUIRY_ALLOCATION_LENGTH;

    if (kernel == 1) {
        int fd = osBoundary().open(node, O_RDONLY);
        if (fd < 0) {
            return -1;
        }
        int version = 0;
        if (osBoundary().ioctl(fd, SG_GET_VERSION_NUM, &version) < 0 || version < SG_MIN_VERSION) {
            osBoundary().close(fd);
            return -1;
        }
        uint8_t data[INQUIRY_ALLOCATION_LENGTH];
        uint8_t sense[zprframe::SENSE_SIZE];
        memset(data, 0, sizeof data);
        memset(sense, 0, sizeof sense);
        sg_io_hdr_t header;
        memset(&header, 0, sizeof header);
        header.interface_id = 'S';
        header.dxfer_direction = SG_DXFER_FROM_DEV;
        header.cmd_len = sizeof cdb;
        header.mx_sb_len = zprframe::SENSE_SIZE;
        header.dxfer_len = INQUIRY_ALLOCATION_LENGTH;
        header.dxferp = data;
        header.cmdp = cdb;
        header.sbp = sense;
        header.timeout = SG_TIMEOUT_MS;
        int rc = osBoundary().ioctl(fd, SG_IO, &header);
        osBoundary().close(fd);
        // A device that rejected the command (check condition, transport or driver error)
        // answered nothing usable.
        if (rc < 0 || (header.info & SG_INFO_OK_MASK) != SG_INFO_OK) {
            return -1;
        }
        memcpy(out, data, copy);
        return 0;
    }

    uint8_t block[SEND_COMMAND_HEADER + INQUIRY_ALLOCATION_LENGTH];
    memset(block, 0, sizeof block);
    uint32_t inLength = 0;
    uint32_t outLength = INQUIRY_ALLOCATION_LENGTH;
    memcpy(block, &inLength, sizeof inLength);
    memcpy(block + 4, &outLength, sizeof outLength);
    memcpy(block + SEND_COMMAND_HEADER, cdb, sizeof cdb);
    int fd = osBoundary().open(node, O_RDONLY);
    if (fd < 0) {
        return -1;
    }
    // A positive answer is the SCSI status of a command that failed.
    int rc = osBoundary().ioctl(fd, SCSI_IOCTL_SEND_COMMAND, block);
    osBoundary().close(fd);
    if (rc != 0) {
        return -1;
    }
    memcpy(out, block + SEND_COMMAND_HEADER, copy);
    return 0;
}

int LinExpLd::sd_inquiry(const char* node, uint8_t page, uint32_t length, uint8_t* out)
{
    return scsi_inquiry(node, page, length, out);
}

int LinExpLd::get_idlun(const char* node, uint8_t* identity)
{
    if (node == nullptr || identity == nullptr) {
        return -1;
    }
    memset(identity, 0, SCSI_IDENTITY_SIZE);
    int fd = osBoundary().open(node, O_RDONLY);
    if (fd < 0) {
        return -1;
    }
    // dev_id, then host_unique_id.
    uint32_t idlun[2] = {0, 0};
    int rc = osBoundary().ioctl(fd, SCSI_IOCTL_GET_IDLUN, idlun);
    osBoundary().close(fd);
    if (rc < 0) {
        return -1;
    }
    identity[SCSI_IDENTITY_ID] = static_cast<uint8_t>(idlun[0] & 0xFF);
    identity[SCSI_IDENTITY_LUN] = static_cast<uint8_t>((idlun[0] >> 8) & 0xFF);
    identity[SCSI_IDENTITY_CHANNEL] = static_cast<uint8_t>((idlun[0] >> 16) & 0xFF);
    identity[SCSI_IDENTITY_HOST] = static_cast<uint8_t>((idlun[0] >> 24) & 0xFF);
    return 0;
}

int LinExpLd::sd_get_idlun(int n, char* node, uint8_t* identity)
{
    char letters[4];
    if (node == nullptr || identity == nullptr || sd_name(n, letters, sizeof letters) != 0) {
        return -1;
    }
    snprintf(node, SD_NODE_PATH_SIZE, "/dev/sd%s", letters);
    return get_idlun(node, identity);
}

int LinExpLd::sd_get_vpd83(int n, uint8_t* page, char* node, uint8_t* identity)
{
    if (page == nullptr) {
        return -1;
    }
    memset(page, 0, VPD83_PAGE_SIZE);
    int status = sd_get_idlun(n, node, identity);
    if (status != 0) {
        return status;
    }
    uint8_t answer[INQUIRY_ALLOCATION_LENGTH];
    status = sd_inquiry(node, VPD_DEVICE_IDENTIFICATION, sizeof answer, answer);
    if (status != 0) {
        return status;
    }
    // Only a device-identification page whose first designator is an NAA name identifies a
    // logical drive.
    if (answer[1] != VPD_DEVICE_IDENTIFICATION || (answer[5] & 0x0F) != DESIGNATOR_TYPE_NAA) {
        return -1;
    }
    size_t length = static_cast<size_t>(answer[3]) + 4;
    memcpy(page, answer, length < VPD83_PAGE_SIZE ? length : VPD83_PAGE_SIZE);
    return 0;
}

int LinExpLd::sd_name(int n, char* out, size_t size)
{
    if (out == nullptr || size < 3 || n < 0 || n >= SD_NAME_COUNT) {
        return -1;
    }
    if (n < 26) {
        out[0] = static_cast<char>('a' + n);
        out[1] = '\0';
    } else {
        out[0] = static_cast<char>('a' + n / 26 - 1);
        out[1] = static_cast<char>('a' + n % 26);
        out[2] = '\0';
    }
    return 0;
}

bool LinExpLd::vpd83_equal(const uint8_t* first, const uint8_t* second)
{
    if (first[3] != second[3]) {
        return false;
    }
    size_t length = static_cast<size_t>(first[3]) + 4;
    return memcmp(first, second, length < VPD83_PAGE_SIZE ? length : VPD83_PAGE_SIZE) == 0;
}

// ---------------------------------------------------------------------------------------------
// The operations

int LinExpLd::removeAllOnNewKernel(Controller* controller, uint8_t adapterNumber, const uint8_t* list)
{
    int result = 0;
    const ZprLdList ldList = ldListOf(list);
    const uint32_t count = ldList.entryCount();
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t targetId = ldList.targetId(i);
        uint8_t info[ZprLdInfo::SIZE];
        memset(info, 0, sizeof info);
        get_ld_info(controller, targetId, info);
        // SSD caches and offline drives present no disk.
        const ZprLdParameters parameters = ZprLdInfo(info, sizeof info).parameters();
        if (parameters.isSsdCache() || parameters.state() == ZprLdParameters::STATE_OFFLINE) {
            continue;
        }
        uint8_t page[VPD83_PAGE_SIZE];
        int status = get_ld_vpd83(controller, targetId, page);
        if (status != 0) {
            result = status;
            continue;
        }
        result = sysfs_find_ld_device(adapterNumber, targetId, nullptr, page, EXPOSE_FIND_ONLY);
    }
    return result;
}

int LinExpLd::expose(Controller* controller, uint16_t targetId, int operation)
{
    if (controller == nullptr || controller->controllerId() == nullptr) {
        return -1;
    }
    uint8_t* list = new (noThrowNew) uint8_t[ZprLdList::SIZE];
    if (list == nullptr) {
        return -1;
    }
    int result = get_ld_list(controller, list);
    if (result == 0) {
        result = exposeListed(controller, targetId, operation, list);
    }
    delete[] list;
    return result;
}

int LinExpLd::exposeListed(Controller* controller, uint16_t targetId, int operation, const uint8_t* list)
{
    const uint8_t adapterNumber = controller->controllerId()->getNumber();
    const ZprLdList ldList = ldListOf(list);
    const uint32_t count = ldList.entryCount();
    if (count == 0) {
        // Nothing to remove is success; nothing to add is not.
        return operation == EXPOSE_REMOVE_ALL ? 0 : -1;
    }
    const int kernel = is_kernel_at_least(NEW_KERNEL_MAJOR, NEW_KERNEL_MINOR);
    if (kernel < 0) {
        return -1;
    }
    const bool newKernel = kernel == 1;

    if (operation == EXPOSE_ADD_NEW) {
        return newKernel ? sysfs_scan_host(adapterNumber) : proc_add_new_ld(adapterNumber, count);
    }
    if (operation == EXPOSE_REMOVE_ONE) {
        uint8_t info[ZprLdInfo::SIZE];
        memset(info, 0, sizeof info);
        get_ld_info(controller, targetId, info);
        // An offline drive (or one whose information cannot be read) has no disk to remove.
        if (ZprLdInfo(info, sizeof info).parameters().state() == ZprLdParameters::STATE_OFFLINE) {
            return 0;
        }
        if (newKernel) {
            uint8_t page[VPD83_PAGE_SIZE];
            int status = get_ld_vpd83(controller, targetId, page);
            if (status != 0) {
                return status;
            }
            return sysfs_find_ld_device(adapterNumber, targetId, nullptr, page, EXPOSE_FIND_ONLY);
        }
        return removeOnOldKernel(controller, adapterNumber, &targetId, 1);
    }
    if (operation == EXPOSE_REMOVE_ALL) {
        if (newKernel) {
            return removeAllOnNewKernel(controller, adapterNumber, list);
        }
        uint16_t targets[ZprLdList::MAX_ENTRIES];
        for (uint32_t i = 0; i < count; ++i) {
            targets[i] = ldList.targetId(i);
        }
        return removeOnOldKernel(controller, adapterNumber, targets, count);
    }
    return 0;
}

int LinExpLd::removeOnOldKernel(Controller* controller, uint8_t adapterNumber, const uint16_t* targets,
                                uint32_t count)
{
    LdDeviceMap* map = new (noThrowNew) LdDeviceMap;
    if (map == nullptr) {
        return -1;
    }
    int result = proc_build_ld_device_map(controller, adapterNumber, map);
    // The drives that were matched are removed even when some were not.
    if (result == 0 || result == EXPOSE_NOT_ALL_MATCHED) {
        for (uint32_t i = 0; i < count; ++i) {
            result = proc_remove_ld(targets[i], map);
        }
    }
    delete map;
    return result;
}
