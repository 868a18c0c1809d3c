// The firmware status texts (data).
#include "CpMgmt/FwErrorDescriptions.h"

#include <array>
#include <cstddef>
#include <utility>

uint8_t useOem2FwErrorDescriptions = 0;

const char* const FW_ERROR_UNKNOWN_TEXT = "\n  Unknown error \n";

const FwErrorDescription* selectedFwErrorDescriptions()
{
    return useOem2FwErrorDescriptions != 0 ? FW_ERROR_DESCRIPTIONS_OEM2 : FW_ERROR_DESCRIPTIONS;
}

const char* findFwErrorDescription(const FwErrorDescription* table, uint32_t status)
{
    if (table == nullptr)
        return FW_ERROR_UNKNOWN_TEXT;
    for (int i = 0; i < FW_ERROR_DESCRIPTION_COUNT; ++i) {
        if (table[i].status == status)
            return table[i].text;
    }
    return FW_ERROR_UNKNOWN_TEXT;
}

namespace {

struct FwStatusTexts {
    uint32_t status;
    const char* plain;
    const char* oem2;
};

// Statuses 0x01 to 0x58 in ascending order, then 0xFF, then 0x59, then 0x5F to 0x68. The text of
// 0x4E holds the byte 0x92 (a right single quotation mark in the Windows-1252 code page).
// One row per status: the status, the plain wording ("disk", "disk group", "passphrase"), then the
// wording for controllers that report OEM identifier 2 ("drive", "drive group", "security key").
constexpr FwStatusTexts FW_STATUS_TEXTS[FW_ERROR_DESCRIPTION_COUNT] = {
    {0x01, "\n The requested command is not supported at this time.  \n",
           "\n  The requested command is not supported at this time.  \n"},
    {0x02, "\n The requested command is invalid.  \n",
           "\n  The requested command is invalid.  \n"},
    {0x03, "\n The requested command has invalid arguments.  \n",
           "\n  The requested command has invalid arguments.  \n"},
    {0x04, "\n Please check the configuration and retry the operation.  \n",
           "\n  Please check the configuration and retry the operation.  \n"},
    {0x05, "\n The requested operation cannot be terminated.  \n",
           "\n  The requested operation cannot be terminated.  \n"},
    {0x06, "\n The pre boot application is not found.  \n",
           "\n  The pre boot application is not found.  \n"},
    {0x07, "\n The pre boot application is already in use. Please try loading it later.  \n",
           "\n  The pre boot application is already in use. Please try loading it later.  \n"},
    {0x08, "\n The pre boot application is not initialized. Please try again later.  \n",
           "\n  The pre boot application is not initialized. Please try again later.  \n"},
    {0x09, "\n Specified array index is not valid. Please provide valid array index and try again.  \n",
           "\n  Specified array index is not valid. Please provide valid array index and try again.  \n"},
    {0x0A, "\n Unable to add a physical disk to the disk group, as a physical disk exists in the specified position in the disk group.  \n",
           "\n  Unable to add a physical drive to the drive group, as a physical drive exists in the specified position in the drive group.  \n"},
    {0x0B, "\n The requested command cannot be completed, as specified resources are already in use.  \n",
           "\n  The requested command cannot be completed, as specified resources are already in use.  \n"},
    {0x0C, "\n The requested command cannot be completed, as the specified device does not exist.  \n",
           "\n  The requested command cannot be completed, as the specified device does not exist.  \n"},
    {0x0D, "\n The specified physical disk doesn't have enough capacity to complete the requested command.  \n",
           "\n  The specified physical drive doesn't have enough capacity to complete the requested command.  \n"},
    {0x0E, "\n There is not enough flash memory to complete the requested command.  \n",
           "\n  There is not enough flash memory to complete the requested command.  \n"},
    {0x0F, "\n Flash is in use. Please retry the command later.  \n",
           "\n  Flash is in use. Please retry the command later.  \n"},
    {0x10, "\n The operation failed due to a flash error.  \n",
           "\n  The operation failed due to a flash error.  \n"},
    {0x11, "\n The requested command cannot be completed as the image is corrupted.  \n",
           "\n  The requested command cannot be completed as the image is corrupted.  \n"},
    {0x12, "\n The image received by controller is incomplete.  \n",
           "\n  The image received by controller is incomplete.  \n"},
    {0x13, "\n Failed to flash firmware image because flash command sequence is incorrect or previous firmware flash operation was terminated.  \n",
           "\n  Failed to flash firmware image because flash command sequence is incorrect or previous firmware flash operation was terminated.  \n"},
    {0x14, "\n The flash operation is not currently in progress.  \n",
           "\n  The flash operation is not currently in progress.  \n"},
    {0x15, "\n The controller cache memory could not be flushed.  \n",
           "\n  The controller cache memory could not be flushed.  \n"},
    {0x16, "\n Pre boot application is not found.  \n",
           "\n  Pre boot application is not found.  \n"},
    {0x17, "\n The requested virtual disk operation cannot be performed because consistency check is in progress.  \n",
           "\n  The requested virtual drive operation cannot be performed because consistency check is in progress.  \n"},
    {0x18, "\n The requested virtual disk operation cannot be performed because initialization is in progress.  \n",
           "\n  The requested virtual drive operation cannot be performed because initialization is in progress.  \n"},
    {0x19, "\n The specified block is beyond the capacity of the virtual disk.  \n",
           "\n  The specified block is beyond the capacity of the virtual drive.  \n"},
    {0x1A, "\n Requested command cannot be completed as maximum supported virtual disks are already configured.  \n",
           "\n  Requested command cannot be completed as maximum supported virtual drives are already configured.  \n"},
    {0x1B, "\n The requested command cannot be completed as the virtual disk is not in an optimal state.  \n",
           "\n  The requested command cannot be completed as the virtual drive is not in an optimal state.  \n"},
    {0x1C, "\n The requested virtual disk operation cannot be performed because rebuild is in progress.  \n",
           "\n  The requested virtual drive operation cannot be performed because rebuild is in progress.  \n"},
    {0x1D, "\n The requested virtual disk operation cannot be performed because reconstruction is in progress.  \n",
           "\n  The requested virtual drive operation cannot be performed because reconstruction is in progress.  \n"},
    {0x1E, "\n The specified operation is not possible for the current RAID level.  \n",
           "\n  The specified operation is not possible for the current RAID level.  \n"},
    {0x1F, "\n The controller cannot support any additional hot spares.  \n",
           "\n  The controller cannot support any additional hot spares.  \n"},
    {0x20, "\n Memory is unavailable to complete the requested command.  Please try again later.  \n",
           "\n  Memory is unavailable to complete the requested command.  Please try again later.  \n"},
    {0x21, "\n Manufacturing data could not be written due to a hardware error.  \n",
           "\n  Manufacturing data could not be written due to a hardware error.  \n"},
    {0x22, "\n The required hardware component is not present.  \n",
           "\n  The required hardware component is not present.  \n"},
    {0x23, "\n The requested command cannot be completed as the specified object does not exist.  \n",
           "\n  The requested command cannot be completed as the specified object does not exist.  \n"},
    {0x24, "\n The device is not part of an enclosure.  \n",
           "\n  The device is not part of an enclosure.  \n"},
    {0x25, "\n The current operation cannot be performed because the physical disk clear is in progress.  \n",
           "\n  The current operation cannot be performed because the physical drive clear is in progress.  \n"},
    {0x26, "\n The specified physical disk does not have the appropriate attributes to complete the requested command.  \n",
           "\n  The specified physical drive does not have the appropriate attributes to complete the requested command.  \n"},
    {0x27, "\n The Patrol Read operation cannot be performed, because it is disabled.  \n",
           "\n  The Patrol Read operation cannot be performed, because it is disabled.  \n"},
    {0x28, "\n Command cannot be completed as the specified position in the disk group in not valid.  \n",
           "\n  Command cannot be completed as the specified position in the drive group in not valid.  \n"},
    {0x29, "\n   \n",
           "\n    \n"},
    {0x2A, "\n   \n",
           "\n    \n"},
    {0x2B, "\n   \n",
           "\n    \n"},
    {0x2C, "\n   \n",
           "\n    \n"},
    {0x2D, "\n The requested operation could not be completed as device is busy or unexpected error occurred.  \n",
           "\n  The requested operation could not be completed as device is busy or unexpected error occurred.   \n"},
    {0x2E, "\n The requested I/O operation failed.  \n",
           "\n  The requested I/O operation failed.  \n"},
    {0x2F, "\n The resource is already in use.  \n",
           "\n  The resource is already in use.  \n"},
    {0x30, "\n The controller shut down command is not successful.  \n",
           "\n  The controller shut down command is not successful.  \n"},
    {0x31, "\n The controller real time is not set.  \n",
           "\n  The controller real time is not set.  \n"},
    {0x32, "\n The specified device is in a state that doesn't support the requested command.  \n",
           "\n  The specified device is in a state that doesn't support the requested command.  \n"},
    {0x33, "\n The requested command cannot be completed as the virtual disk is offline.  \n",
           "\n  The requested command cannot be completed as the virtual drive is offline.  \n"},
    {0x34, "\n  \n",
           "\n    \n"},
    {0x35, "\n   \n",
           "\n    \n"},
    {0x36, "\n   \n",
           "\n    \n"},
    {0x37, "\n The requested operation cannot be completed due to a hardware error (I2C).  \n",
           "\n  The requested operation cannot be completed due to a hardware error (I2C).  \n"},
    {0x38, "\n The requested operation cannot be completed due to a hardware error (PCI).  \n",
           "\n  The requested operation cannot be completed due to a hardware error (PCI).  \n"},
    {0x39, "\n The diagnostic test failed. Please check the event log for more details.  \n",
           "\n  The diagnostic test failed. Please check the event log for more details.  \n"},
    {0x3A, "\n The requested operation is not possible because controller firmware is in boot message pending state.  \n",
           "\n  The requested operation is not possible because controller firmware is in boot message pending state.  \n"},
    {0x3B, "\n Foreign drives cannot be imported, as they do not form a complete configuration.  \n",
           "\n  Foreign drives cannot be imported, as they do not form a complete configuration.  \n"},
    {0x3C, "\n  \n",
           "\n    \n"},
    {0x3D, "\n The requested command is not supported by the hardware.  \n",
           "\n  The requested command is not supported by the hardware.  \n"},
    {0x3E, "\n Consistency check is disabled.  \n",
           "\n  Consistency check is disabled.  \n"},
    {0x3F, "\n The requested operation cannot be initiated for the virtual disk as a copyback operation is in progress.  \n",
           "\n  The requested operation cannot be initiated for the virtual drive as a copyback operation is in progress.  \n"},
    {0x40, "\n  \n",
           "\n    \n"},
    {0x41, "\n Microcode update operation failed.  \n",
           "\n  Microcode update operation failed.  \n"},
    {0x42, "\n The requested operation cannot be completed because the physical disk security feature is not enabled.  \n",
           "\n  The requested operation cannot be completed because the physical drive security feature is not enabled.  \n"},
    {0x43, "\n The requested command cannot be completed as the controller already has a passphrase.  \n",
           "\n  The requested command cannot be completed as the controller already has a security key.  \n"},
    {0x44, "\n The passphrase back up is not supported.  \n",
           "\n  The security key back up is not supported.  \n"},
    {0x45, "\n Verification of the passphrase back up is not supported.  \n",
           "\n  Verification of the security key back up is not supported.  \n"},
    {0x46, "\n The specified passphrase is not valid.  \n",
           "\n  The specified security key is not valid.  \n"},
    {0x47, "\n The requested re-key operation cannot be initiated as the device must be first secured.  \n",
           "\n  The requested re-key operation cannot be initiated as the device must be first secured.  \n"},
    {0x48, "\n Passphrase is not valid, authentication failed.  \n",
           "\n  Security key is not valid, authentication failed.  \n"},
    {0x49, "\n The backup passphrase from escrow cannot be used.  \n",
           "\n  The backup security key from escrow cannot be used.  \n"},
    {0x4A, "\n The passphrase must be backed-up, before the requested operation can be completed.  \n",
           "\n  The security key must be backed-up, before the requested operation can be completed.  \n"},
    {0x4B, "\n The current operation cannot be completed because a secure virtual disk is present.  \n",
           "\n  The current operation cannot be completed because a secure virtual drive is present.  \n"},
    {0x4C, "\n The requested operation cannot be completed as the secure virtual disk is not permitted.  \n",
           "\n  The requested operation cannot be completed as the secure virtual drive is not permitted.  \n"},
    {0x4D, "\n Instant secure erase is not allowed on this physical disk.  \n",
           "\n  Instant secure erase is not allowed on this physical drive.  \n"},
    {0x4E, "\n The physical disk\x92""s security properties are not valid for the requested operation.  \n",
           "\n  The physical drive\x92""s security properties are not valid for the requested operation.  \n"},
    {0x4F, "\n The virtual disk security type is not supported.  \n",
           "\n  The virtual drive security type is not supported.  \n"},
    {0x50, "\n The requested command cannot be completed, as it will result in a mix of FDE and non-FDE physical disk in a disk group, where such a mix is not allowed.  \n",
           "\n  The requested command cannot be completed, as it will result in a mix of FDE and non-FDE physical drive in a drive group, where such a mix is not allowed.  \n"},
    {0x51, "\n Cannot mix secure and non secured virtual disk in the same disk group.  \n",
           "\n  Cannot mix secure and non secured virtual drive in the same drive group.  \n"},
    {0x52, "\n The passphrase is not allowed.  \n",
           "\n  The security key is not allowed.  \n"},
    {0x53, "\n    \n",
           "\n   \n"},
    {0x54, "\n The current operation is not allowed because the controller has data in cache for offline or missing virtual disks.  \n",
           "\n  The current operation is not allowed because the controller has data in cache for offline or missing virtual drives.  \n"},
    {0x55, "\n The requested power state update operation is in progress.  \n",
           "\n  The requested power state update operation is in progress.   \n"},
    {0x56, "\n The requested operation cannot be performed because another power state update operation is in progress.  \n",
           "\n  The requested operation cannot be performed because another power state update operation is in progress.   \n"},
    {0x57, "\n The requested command cannot be completed because the physical disks are not in the expected power state.  \n",
           "\n  The requested command cannot be completed because the physical drives are not in the expected power state.  \n"},
    {0x58, "\n There are no physical disk(s) available to execute a patrol read operation.  \n",
           "\n  There are no physical drive(s) available to execute a patrol read operation.  \n"},
    {0xFF, "\n Invalid error status.  \n",
           "\n  Invalid error status.  \n"},
    {0x59, "\n To complete the requested operation, please reboot the system.  \n",
           "\n  To complete the requested operation, please reboot the system.  \n"},
    {0x5F, "\n The drive cannot be converted from JBOD to unconfigured good because, Maximum allowed drive conversion has been reached. \n",
           "\n The drive cannot be converted from JBOD to unconfigured good because, Maximum allowed drive conversion has been reached. \n"},
    {0x60, "\n  IO metrics are not being collected. \n ",
           "\n  IO metrics are not being collected. \n "},
    {0x61, "\n  AEC capture need to be stopped before proceeding. \n",
           "\n  AEC capture need to be stopped before proceeding. \n"},
    {0x62, "\n  Unsupported level of protection information  \n",
           "\n  Unsupported level of protection information  \n"},
    {0x63, "\n  PDs in LD have incompatible EEDP types\n",
           "\n  PDs in LD have incompatible EEDP types\n"},
    {0x64, "\n Request cannot be completed as protection information is not enabled. \n",
           "\n Request cannot be completed as protection information is not enabled. \n"},
    {0x65, "\n  PDs in LD have different block sizes\n",
           "\n  PDs in LD have different block sizes\n"},
    {0x66, "\n LD Cached data is present on a (this) SSCD\n",
           "\n LD Cached data is present on a (this) SSCD\n"},
    {0x67, "\n  Config sequence number mismatch \n",
           "\n  Config sequence number mismatch \n"},
    {0x68, "\n Flash image is not supported \n",
           "\n Flash image is not supported \n"},
};

// The two lookup tables are the table's columns, made when the program is compiled.
template <size_t... Row>
constexpr std::array<FwErrorDescription, FW_ERROR_DESCRIPTION_COUNT> column(const char* const FwStatusTexts::*wording,
                                                                          std::index_sequence<Row...>)
{
    return {{{FW_STATUS_TEXTS[Row].status, FW_STATUS_TEXTS[Row].*wording}...}};
}

constexpr auto PLAIN_COLUMN = column(&FwStatusTexts::plain, std::make_index_sequence<FW_ERROR_DESCRIPTION_COUNT>());
constexpr auto OEM2_COLUMN = column(&FwStatusTexts::oem2, std::make_index_sequence<FW_ERROR_DESCRIPTION_COUNT>());

} // namespace

const FwErrorDescription* const FW_ERROR_DESCRIPTIONS = PLAIN_COLUMN.data();
const FwErrorDescription* const FW_ERROR_DESCRIPTIONS_OEM2 = OEM2_COLUMN.data();
