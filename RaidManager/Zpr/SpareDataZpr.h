// The spare data of these controllers: answers from the spare's record inside the cached
// configuration buffer, which outlives the elements built from it.
#ifndef SPAREDATAZPR_H
#define SPAREDATAZPR_H

#include "RaidManager/Spare.h"
#include "RaidManager/Zpr/Records/Config/ZprSpareRecord.h"

class SpareDataZpr : public SpareData {
public:
    // Without a record until setRecord.
    SpareDataZpr(Controller* controller, RaidElementId* id) : SpareData(controller, id) {}
    ~SpareDataZpr() override;
    // Empty: the spare's text is the element's.
    string toString() override { return string(); }

    void setRecord(const ZprSpareRecord& spareRecord) { record = spareRecord; }

    // -1 without a record.
    [[nodiscard]] int hasEnclosureAffinity(uint8_t* answer) override;
    [[nodiscard]] int isRevertible(uint8_t* answer) override;

private:
    ZprSpareRecord record;   // a view into the configuration buffer; absent until set
};

#endif
