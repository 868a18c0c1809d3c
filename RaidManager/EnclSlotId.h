// One drive address as typed in a bracketed "E:S" list: the enclosure device id and the slot
// within it.
//
// The values are held at their real widths (16-bit enclosure, 8-bit slot) and stored exactly
// as given: the class never masks or narrows anything itself. Whoever reads a typed address
// checks it against these widths (and against the two reserved enclosure values of RaidManager/EnclosureIds.h) before
// building one, so that a command never acts on another drive than the one typed.
#ifndef ENCLSLOTID_H
#define ENCLSLOTID_H

#include "RaidManager/EnclosureIds.h"

class EnclSlotId {
public:
    EnclSlotId(unsigned short enclosureId, unsigned char slotNumber);
    virtual ~EnclSlotId();

    unsigned short getEnclosureId() const { return enclosureId; }
    unsigned char getSlotNumber() const { return slotNumber; }

    // True when a typed enclosure number and slot number can be held without loss and do not
    // collide with ENCLOSURE_ID_NONE or ENCLOSURE_ID_RESOLVE (which only ":S" and "?:S" may
    // produce). Negative values are never valid.
    static bool isTypedAddressValid(long enclosureId, long slotNumber);

private:
    EnclSlotId(const EnclSlotId&) = delete;
    EnclSlotId& operator=(const EnclSlotId&) = delete;

    unsigned short enclosureId;
    unsigned char slotNumber;
};

#endif
