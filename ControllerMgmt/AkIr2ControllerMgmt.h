// The controllers that the integrated-RAID library presents (the devices of the host-cache
// commands), given the same shape as every other controller: the explorer asks the library for
// its controller list, each listed id becomes an AkIr2CtrlId and then an AkIr2Controller whose
// only data provider is the library bridge.
#ifndef AKIR2CONTROLLERMGMT_H
#define AKIR2CONTROLLERMGMT_H

#include "ControllerMgmt/ControllerMgmt.h"

class AkIr2Cddp : public ControllerDetectorDataProvider {
public:
    static AkIr2Cddp* instance();

    // Detect data with all ids 0 (the library tells nothing more); null for a null identifier
    // or when the bridge cannot be had.
    CddpData* getCddpData(ControllerId* id) override;
    // Answers 0 and writes nothing.
    uint8_t getPciLocation(ControllerId* id, ControllerPciInfo* out) override;
    ~AkIr2Cddp() override {}
};

class AkIr2ControllerExplorer : public ControllerExplorer {
public:
    static AkIr2ControllerExplorer* instance();

    // The library's controllers as new AkIr2CtrlIds (at most 16), in the library's order; the
    // first becomes the bridge's current controller. Null when the bridge is missing, the list
    // command fails (message "Internal Error") or the list is empty. The argument is not read.
    ArrayList<ControllerId*>* explore(ArrayList<VoVendorDeviceId*>* supported) override;
    ~AkIr2ControllerExplorer() override {}
};

class AkIr2ControllerMgmt : public ControllerMgmt {
public:
    // The process-wide management; only the first call's flag counts (0: use the library's
    // explorer and detect data).
    static AkIr2ControllerMgmt* instance(int flag = 0);

    ArrayList<ControllerId*>* detect() override;
    Controller* createController(ControllerId* id) override;
    ~AkIr2ControllerMgmt() override {}

    explicit AkIr2ControllerMgmt(int flag) : flag(static_cast<uint8_t>(flag)) {}

private:
    uint8_t flag;
};

#endif
