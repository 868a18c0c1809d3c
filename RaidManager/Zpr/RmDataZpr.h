// The RmData of every controller of the system (spoken to through DCMD firmware commands).
#ifndef RMDATAZPR_H
#define RMDATAZPR_H

#include "RaidManager/RmData.h"

class ZprData;

class RmDataZpr : public RmData {
public:
    explicit RmDataZpr(Controller* controller);
    ~RmDataZpr() override;

    // The creator registered in RmDataFactory: a new RmDataZpr for any controller; null only
    // when memory runs out.
    static RmData* create(Controller* controller);

    int resetCaches() override;
    int getAdapter(Adapter** adapter) override;
    int getEnclosureCount(uint32_t* count) override;
    int getEnclosureId(uint32_t index, uint16_t* enclosureId) override;

private:
    // Reads the enclosure list on first use; a failed read is tried again next time.
    int loadEnclosureList();

    // The controller's data cache, released by controller when this object dies; null when the
    // process already holds as many caches as it can (every read is then refused with -1).
    ZprData* zprData;
    uint8_t* enclosureList;  // ZprEnclosureList::SIZE bytes, or null; kept until this object dies
};

#endif
