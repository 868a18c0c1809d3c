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

#endif
