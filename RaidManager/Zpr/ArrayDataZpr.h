// The array data of the controllers spoken to through DCMD firmware commands: answers from
// the array's record inside the cached configuration buffer, which outlives the elements
// built from it.
#ifndef ARRAYDATAZPR_H
#define ARRAYDATAZPR_H

#include "RaidManager/Array.h"
#include "RaidManager/Zpr/Records/Config/ZprArrayRecord.h"

class ArrayIdZpr;

class ArrayDataZpr : public ArrayData {
public:
    // Takes ownership of the identifier (through the base); without a record until setRecord.
    ArrayDataZpr(Controller* controller, ArrayIdZpr* id);
    ~ArrayDataZpr() override;
    // "Span Reference: 0x%.2x\n" with the identifier's array reference.
    string toString() override;

    // Points the data at its record (an absent record leaves it without one).
    void setRecord(const ZprArrayRecord& arrayRecord) { record = arrayRecord; }

    // -1 without a record.
    [[nodiscard]] int getSize(uint64_t* blocks) override;
    [[nodiscard]] int getArrayRef(uint16_t* arrayRef) override;
    // The controller's limit of virtual drives per array, from the adapter of the controller's
    // RAID manager; -1 when there is no manager or adapter.
    [[nodiscard]] int getMaxVdsPerArray(uint8_t* count) override;
    [[nodiscard]] int hasNoRecord(uint8_t* answer) override;
    // Stores the size in the record and sends the record with DCMD_CFG_SET_ARRAY; -1 without a
    // record (or over a record that cannot be written).
    [[nodiscard]] int setSize(uint64_t blocks) override;

private:
    ZprArrayRecord record;   // a view into the configuration buffer; absent until set
    ArrayIdZpr* arrayId;     // the base's identifier, typed; not deleted separately
};

#endif
