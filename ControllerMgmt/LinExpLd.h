// Making logical drives visible to the operating system.
//
// After the configuration of a controller changed, the kernel's SCSI layer has to learn of it:
// new logical drives must appear as disks and deleted ones must go. On kernels from 2.5 the
// adapter's SCSI host is rescanned through sysfs and a logical drive is found among the SCSI
// devices by its device-identification page (SCSI VPD page 0x83); on older kernels single
// devices are added and removed through /proc/scsi/scsi, and the disk of a logical drive is the
// sd device whose identification page equals the one the firmware reports for the drive.
//
// Every platform call goes through osBoundary(); the one-second waits between retries are the
// boundary's sleeps. Messages are printed with printf, outside the message printer.
#ifndef LINEXPLD_H
#define LINEXPLD_H

#include <cstddef>
#include <cstdint>

#include "RaidManager/Zpr/Records/LogicalDrive/ZprLdList.h"

class Controller;

// Operations of ExpLd::expose.
const int EXPOSE_ADD_NEW = 0;      // make new logical drives visible (the target id is not used)
const int EXPOSE_REMOVE_ONE = 1;   // remove the disk device of the logical drive with the target id
const int EXPOSE_REMOVE_ALL = 3;   // remove the disk devices of every logical drive of the controller

// Not every logical drive could be matched to an sd device (the matched ones are still handled).
const int EXPOSE_NOT_ALL_MATCHED = 41;

// Modes of LinExpLd::sysfs_find_ld_device.
const int EXPOSE_FIND_COPY_PATH = 1;   // copy the found device's node path to the caller
const int EXPOSE_FIND_ONLY = 2;        // only find

// A device-identification page as compared here.
const size_t VPD83_PAGE_SIZE = 64;
// Every INQUIRY asks for this many bytes, whatever length the caller wants.
const uint32_t INQUIRY_ALLOCATION_LENGTH = 96;
// Number of sd devices walked when matching on old kernels; device names exist up to 701.
const int SD_DEVICE_WALK = 256;
const int SD_NAME_COUNT = 702;
// Size of an sd device node path ("/dev/sdzz" and its NUL fit).
const size_t SD_NODE_PATH_SIZE = 16;
// Size of the path buffers of the sysfs walk.
const size_t EXPOSE_PATH_SIZE = 256;

// The identification pages of a controller's logical drives.
struct LdVpd83Entry {
    uint32_t targetId;
    uint8_t page[VPD83_PAGE_SIZE];
};
struct LdVpd83Table {
    uint32_t count;
    LdVpd83Entry entries[ZprLdList::MAX_ENTRIES];
};

// Which sd device is which logical drive.
const uint32_t LD_DEVICE_MAP_MAX_ENTRIES = 256;
struct LdDeviceMapEntry {
    int32_t targetId;
    int32_t sdIndex;
    int32_t channel;
    int32_t scsiId;
    char nodePath[SD_NODE_PATH_SIZE];
};
struct LdDeviceMap {
    uint32_t count;
    LdDeviceMapEntry entries[LD_DEVICE_MAP_MAX_ENTRIES];
};

// The SCSI address of an sd device as SCSI_IOCTL_GET_IDLUN reports it (bytes 0-3 unused).
const size_t SCSI_IDENTITY_SIZE = 8;
const size_t SCSI_IDENTITY_HOST = 4;
const size_t SCSI_IDENTITY_CHANNEL = 5;
const size_t SCSI_IDENTITY_ID = 6;
const size_t SCSI_IDENTITY_LUN = 7;

class ExpLd {
public:
    // Brings the operating system's view of the controller's logical drives up to date
    // (operation EXPOSE_ADD_NEW, EXPOSE_REMOVE_ONE or EXPOSE_REMOVE_ALL): 0 on success, -1, a
    // firmware status, or EXPOSE_NOT_ALL_MATCHED.
    virtual int expose(Controller* controller, uint16_t targetId, int operation) = 0;
    virtual ~ExpLd() {}
};

// The Linux implementation, for the controllers of the Linux driver. No state of its own.
class LinExpLd : public ExpLd {
public:
    // The process-wide object, made on first use; the adapter number is not used.
    static LinExpLd* instance(uint8_t adapterNumber = 0);

    int expose(Controller* controller, uint16_t targetId, int operation) override;
    ~LinExpLd() override {}

    // Firmware reads (a firmware status passes through unchanged). The list must hold room
    // for ZprLdList::SIZE bytes, the information for ZprLdInfo::SIZE; a count beyond the
    // list's capacity makes it a bad record (-1).
    int get_ld_list(Controller* controller, uint8_t* list);
    int get_ld_info(Controller* controller, uint16_t targetId, uint8_t* info);
    // The identification page (VPD83_PAGE_SIZE bytes) that the firmware reports for a drive;
    // -1 for a target id outside the controller's range of virtual drives.
    int get_ld_vpd83(Controller* controller, int targetId, uint8_t* page);
    // The pages of every logical drive in the list: the status of the last drive read.
    int get_ld_vpd83_table(Controller* controller, uint8_t adapterNumber, LdVpd83Table* table);

    // 1 when the running kernel is at least major.minor, 0 when older, -1 when unknown.
    int is_kernel_at_least(int major, int minor);

    // Kernels from 2.5: the SCSI host number of the n-th host of the controller drivers in
    // the sysfs class directory (-1 when there is none); a rescan of the adapter's host.
    int sysfs_get_host(int index);
    int sysfs_scan_host(uint8_t adapterNumber);
    // Looks up to 10 times (a second apart) for the SCSI device whose identification page is
    // `page`; in mode EXPOSE_FIND_COPY_PATH the node path of the device found is copied to
    // `path` (EXPOSE_PATH_SIZE bytes). The result is the status of the last INQUIRY sent.
    int sysfs_find_ld_device(uint8_t adapterNumber, uint16_t targetId, char* path, const uint8_t* page,
                             int mode);

    // Older kernels: the host number of listing entry n + 2 of the driver's hba_map.
    int proc_get_host(int index);
    int proc_build_ld_device_map(Controller* controller, uint8_t adapterNumber, LdDeviceMap* map);
    int match_sd_devices(const LdVpd83Table* table, LdDeviceMap* map);
    int proc_remove_ld(uint16_t targetId, const LdDeviceMap* map);

    // SCSI devices. `out` receives the first `length` bytes (at most the allocation length
    // of INQUIRY_ALLOCATION_LENGTH; the rest stays zero) of the answer to an INQUIRY of the
    // page (page 0: the standard data).
    int scsi_inquiry(const char* node, uint8_t page, uint32_t length, uint8_t* out);
    int sd_inquiry(const char* node, uint8_t page, uint32_t length, uint8_t* out);
    int get_idlun(const char* node, uint8_t* identity);
    // Device n: its node path (SD_NODE_PATH_SIZE bytes) and its SCSI address.
    int sd_get_idlun(int n, char* node, uint8_t* identity);
    // Device n's identification page when it carries an NAA designator (page zeroed first).
    int sd_get_vpd83(int n, uint8_t* page, char* node, uint8_t* identity);
    // The letters of sd device n ("a" .. "z", "aa" .. "zz"); -1 when n has no name.
    static int sd_name(int n, char* out, size_t size);

    // Two identification pages are equal when their page lengths are, and so are their
    // first page length + 4 bytes, compared over at most VPD83_PAGE_SIZE bytes.
    static bool vpd83_equal(const uint8_t* first, const uint8_t* second);

private:
    LinExpLd() {}
    LinExpLd(const LinExpLd&) = delete;
    LinExpLd& operator=(const LinExpLd&) = delete;

    // The operation once the logical-drive list has been read.
    int exposeListed(Controller* controller, uint16_t targetId, int operation, const uint8_t* list);
    int removeAllOnNewKernel(Controller* controller, uint8_t adapterNumber, const uint8_t* list);
    // Removes the sd devices of the given logical drives through /proc/scsi/scsi: the result of
    // the last removal, or the status of the matching when that failed.
    int removeOnOldKernel(Controller* controller, uint8_t adapterNumber, const uint16_t* targets,
                          uint32_t count);
};

// Older kernels: writes one add-single-device line to /proc/scsi/scsi per logical drive (targets
// 0 .. count - 1, channel 2, lun 0) for the adapter's SCSI host. 0 when at least one line was
// written, else -1.
int proc_add_new_ld(uint8_t adapterNumber, uint32_t ldCount);

#endif
