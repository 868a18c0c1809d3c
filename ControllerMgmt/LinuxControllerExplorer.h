// Discovery of the controllers of the Linux drivers.
//
// Two drivers are served: the hardware-RAID driver (kind 0: ioctl node quillraid_sas_ioctl,
// SCSI host name quillraid_sas) and the software-RAID driver (kind 1: ioctl node
// quillraid_swr_ioctl, SCSI host name quillsr). The explorer opens each driver's ioctl node
// (making it from the major number in /proc/devices when needed), lists the drivers' SCSI
// hosts (through sysfs from kernel 2.5 on, through /proc/scsi/<driver>/hba_map before), sorts
// them by host number and PCI location and makes one LinuxCtrlId per host. Adapter numbers
// follow that order. Nothing here prints on failure except the sysfs routines.
#ifndef LINUXCONTROLLEREXPLORER_H
#define LINUXCONTROLLEREXPLORER_H

#include <cstdint>

#include "ControllerMgmt/ControllerDetect.h"

// One SCSI host of the drivers, copied as a block.
#pragma pack(push, 1)
struct HostRecord {
    uint16_t hostNumber;
    uint16_t pciBus;
    uint8_t pciDevice;
    uint8_t pciFunction;
};
#pragma pack(pop)
static_assert(sizeof(HostRecord) == 6, "a host record is 6 bytes");

// The most hosts discovery records.
const unsigned MAX_HOSTS = 32;
const unsigned HOST_TABLE_SIZE = MAX_HOSTS * sizeof(HostRecord);

// Device nodes and names of the two drivers.
extern const char* const HWR_IOCTL_NAME;       // "quillraid_sas_ioctl"
extern const char* const HWR_IOCTL_NODE;       // "/dev/quillraid_sas_ioctl_node"
extern const char* const SWR_IOCTL_NAME;       // "quillraid_swr_ioctl"
extern const char* const SWR_IOCTL_NODE;       // "/dev/quillraid_swr_ioctl_node"
extern const char* const HWR_SCSI_HOST_NAME;   // "quillraid_sas"
extern const char* const SWR_SCSI_HOST_NAME;   // "quillsr"

class LinuxControllerExplorer : public ControllerExplorer {
public:
    // The process-wide explorer, made on first use.
    static LinuxControllerExplorer* instance();

    // A fresh explorer; the process uses instance().
    LinuxControllerExplorer();
    // Closes both node descriptors.
    ~LinuxControllerExplorer() override;

    // A new list of LinuxCtrlIds in ascending (host, bus, device, function) order; null for a
    // null supported-device list or when no host is found.
    ArrayList<ControllerId*>* explore(ArrayList<VoVendorDeviceId*>* supported) override;

    // Opens the nodes and scans the hosts: the number of hosts found, 0 when none.
    unsigned findHosts();
    // Opens (making it first when needed) the ioctl node of a driver kind; the kind's
    // descriptor, -1 when the driver is not listed or the node cannot be made or opened. A
    // node that is already open is kept.
    int openDriverNode(uint32_t kind);
    // Copies the sorted host table (HOST_TABLE_SIZE bytes); -1 for a null buffer, else 0.
    int getHostTable(void* buffer) const;

    int descriptor(uint32_t kind) const;

private:
    LinuxControllerExplorer(const LinuxControllerExplorer&) = delete;
    LinuxControllerExplorer& operator=(const LinuxControllerExplorer&) = delete;

    void sortHosts(unsigned count);

    int32_t hwrFd;
    int32_t swrFd;
    uint32_t hostCount;
    int32_t hostKinds[MAX_HOSTS];
    HostRecord hosts[MAX_HOSTS];
    HostRecord savedHosts[MAX_HOSTS];
};

// 1 when the running kernel's release is at least major.minor, 0 when lower, -1 when the
// release cannot be read or has no '.'.
int isKernelAtLeast(int wantedMajor, int wantedMinor);

// The drivers' SCSI hosts from sysfs's scsi_host class, in directory order: 0 with at least
// one host (count stored), 1 with none, -1 when the class directory cannot be opened. A class
// entry may be a directory of its own or a link into the device tree; the PCI location is read
// from where the entry really is.
int scanSysfsHosts(uint32_t* count, HostRecord* table, int32_t* kinds);

// The drivers' SCSI hosts from /proc/scsi/<driver>/hba_map (older kernels): 0 with at least
// one host (count stored), 1 with none.
int scanProcHbaMap(uint32_t* count, HostRecord* table, int32_t* kinds);

// The driver kind whose SCSI host name a proc_name text names, or -1.
int scsiHostKind(const char* procName);

#endif
