// Identifiers of the model's elements: the abstract RaidElementId and one class per kind of
// element that the firmware names (virtual drive, disk group, array, physical drive).
//
// A data object owns its identifier. The identifiers hold plain values; nothing in the system
// prints them, so their texts are only a help when debugging.
#ifndef RAIDELEMENTID_H
#define RAIDELEMENTID_H

#include <cstdint>

#include "PavUtil/apstring.h"

class RaidElementId {
public:
    RaidElementId() {}
    virtual string toString() = 0;
    virtual ~RaidElementId();

    RaidElementId(const RaidElementId&) = delete;
    RaidElementId& operator=(const RaidElementId&) = delete;
};

// A virtual drive, by target id. The 8-bit id is what the command processors show as the
// virtual-drive number; 255 (with sequence number 0xFFFF in VdIdZpr) means not known yet.
class VdId : public RaidElementId {
public:
    static const uint8_t TARGET_ID_UNKNOWN = 255;

    explicit VdId(uint8_t targetId) : targetId(targetId) {}
    ~VdId() override;

    uint8_t getTargetId() const { return targetId; }
    void setTargetId(uint8_t id) { targetId = id; }

    virtual uint16_t getTargetId16() = 0;
    // True when `other` names the same virtual drive.
    virtual bool equals(VdId* other) = 0;

private:
    uint8_t targetId;
};

// A virtual drive of these controllers: 16-bit target id and the sequence number of its
// record. Two identifiers are equal when their 16-bit target ids are; the sequence number is
// not compared.
class VdIdZpr : public VdId {
public:
    static const uint16_t SEQUENCE_UNKNOWN = 0xFFFF;

    // Also sets the 8-bit target id of the base to the low byte of `targetId`.
    VdIdZpr(uint16_t targetId, uint16_t sequenceNumber);
    ~VdIdZpr() override;
    string toString() override;

    uint16_t getTargetId16() override { return targetId16; }
    // True only for another VdIdZpr (never for null) with the same 16-bit target id.
    bool equals(VdId* other) override;

    // Sets the 16-bit id and the base's 8-bit copy.
    void setTargetId(uint16_t id);
    void setSequenceNumber(uint16_t sequence) { sequenceNumber = sequence; }
    uint16_t getSequenceNumber() const { return sequenceNumber; }

private:
    uint16_t targetId16;
    uint16_t sequenceNumber;
};

class DiskGroupId : public RaidElementId {
public:
    explicit DiskGroupId(uint8_t number) : number(number) {}
    ~DiskGroupId() override;
    string toString() override { return string(); }

    uint8_t getNumber() const { return number; }

private:
    uint8_t number;
};

class ArrayId : public RaidElementId {
public:
    ArrayId() {}
    ~ArrayId() override;
};

// An array by the firmware's array number (the reference that span records carry).
class ArrayIdZpr : public ArrayId {
public:
    explicit ArrayIdZpr(uint16_t arrayRef) : arrayRef(arrayRef) {}
    ~ArrayIdZpr() override;
    string toString() override { return string(); }

    uint16_t getArrayRef() const { return arrayRef; }

private:
    uint16_t arrayRef;
};

class PhysicalDeviceId : public RaidElementId {
public:
    PhysicalDeviceId() {}
    ~PhysicalDeviceId() override;
};

// A drive: where it sits (enclosure index and device id, slot) and the device id by which
// the firmware addresses it.
class PdIdZpr : public PhysicalDeviceId {
public:
    PdIdZpr(uint8_t enclosureIndex, uint8_t slotNumber, uint16_t deviceId, uint16_t enclosureDeviceId)
        : enclosureIndex(enclosureIndex), slotNumber(slotNumber), deviceId(deviceId),
          enclosureDeviceId(enclosureDeviceId)
    {
    }
    ~PdIdZpr() override;
    string toString() override;

    uint8_t getEnclosureIndex() const { return enclosureIndex; }
    uint8_t getSlotNumber() const { return slotNumber; }
    uint16_t getDeviceId() const { return deviceId; }
    uint16_t getEnclosureDeviceId() const { return enclosureDeviceId; }

private:
    uint8_t enclosureIndex;
    uint8_t slotNumber;
    uint16_t deviceId;
    uint16_t enclosureDeviceId;
};

#endif
