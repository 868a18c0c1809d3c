// The per-controller access to the controller's configuration: it reads what the controller
// reports and builds the model elements. RaidManager forwards to it; one implementation per
// controller family (RmDataZpr).
#ifndef RMDATA_H
#define RMDATA_H

#include <cstdint>

class Adapter;
class Controller;
class ControllerId;

class RmData {
public:
    explicit RmData(Controller* controller);

    // Forgets every record read so far, so that the next reads ask the controller again.
    virtual int resetCaches() = 0;
    // A new Adapter element of the controller (owned by the caller); -1 when none can be built.
    virtual int getAdapter(Adapter** adapter) = 0;
    // Number of enclosures the controller reports.
    virtual int getEnclosureCount(uint32_t* count) = 0;
    // Enclosure device id of entry `index` of the controller's enclosure list.
    virtual int getEnclosureId(uint32_t index, uint16_t* enclosureId) = 0;
    virtual ~RmData();

    Controller* getController() const { return controller; }

    RmData(const RmData&) = delete;
    RmData& operator=(const RmData&) = delete;

protected:
    Controller* controller;
    ControllerId* controllerId;
};

#endif
