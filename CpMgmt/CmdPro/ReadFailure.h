// The lines a processor prints when a read it depends on fails. Unknown is not absent: a drive
// list, a configuration or a drive's information that could not be read never stands for "no
// such drive" or "nothing to do". The processor prints the line that names the read, sends
// nothing more that changes the controller, and ends with the read's status, which each of
// these gives back (-1 when the read gave none, so that the command still ends non-zero). The
// configuration's disk groups have their own step, takeDiskGroups (AdpCpSteps.h).
#ifndef READFAILURE_H
#define READFAILURE_H

#include <cstdint>

class PhysicalDevice;
class RaidManager;
class RmData;

// The configuration (its virtual drives) could not be read: message 0x30025.
int vdListUnreadable(int status);
// The virtual drive's information could not be read: message 0x32105.
int vdUnreadable(uint8_t adapterNumber, uint8_t targetId, int status);
// The drive at the enclosure and slot could not be looked up (the drive list) or its
// information could not be read: message 0x33006.
int driveUnreadable(uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, int status);
// The information of a drive the command holds as a model element could not be read, so the
// drive cannot name its own address: message 0x33006 with the address the drive list gave the
// element; for an element made from the configuration, which knows only the drive's device
// id, message 0x36017 naming the read.
int driveUnreadable(uint8_t adapterNumber, PhysicalDevice* drive, int status);
// The list of the virtual drives an SSD cache serves could not be read: message 0x36017.
int ssdCacheListUnreadable(uint8_t adapterNumber, int status);

// The drive at the enclosure and slot, looked up in the model (through the RAID manager, or
// through its data access as some commands do) before a command acts on it: 0 with `pd` when
// its information can be read; 0 with `pd` null when the drive list that was read has no such
// drive (the caller reports that as it always has); else, after message 0x33006, the status of
// the drive list or of the drive's information, which could not be read (-1 without a model).
// The drive's information is read here only when the model does not hold it yet: every command
// on a drive reads it next anyway, so a healthy controller sees the same commands in the same
// order.
int lookUpDrive(RaidManager* manager, uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, PhysicalDevice** pd);
int lookUpDrive(RmData* rmData, uint8_t adapterNumber, uint16_t enclosureId, uint8_t slot, PhysicalDevice** pd);

#endif
