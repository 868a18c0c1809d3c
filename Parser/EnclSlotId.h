// One drive address as typed in a bracketed "E:S" list: the enclosure device id and the slot
// within it.
//
// The values are held at their real widths (16-bit enclosure, 8-bit slot) and stored exactly
// as given: the class never masks or narrows anything itself. Whoever reads a typed address
// checks it against these widths (and against the two reserved enclosure values below) before
// building one, so that a command never acts on another drive than the one typed.
#ifndef ENCLSLOTID_H
#define ENCLSLOTID_H

// Enclosure id of a drive given without an enclosure (":S").
static const unsigned short ENCLOSURE_ID_NONE = 0xFFFF;
// Enclosure id of a drive whose enclosure is given as "?": the command processor replaces it
// by the adapter's only enclosure when the command runs.
static const unsigned short ENCLOSURE_ID_RESOLVE = 0xCCCC;

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
