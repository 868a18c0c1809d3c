// Controller management of the Linux drivers: detect data and PCI location of a discovered
// host (LinuxCddp) and the management that turns the explorer's identifiers into controllers.
#ifndef LINUXCONTROLLERMGMT_H
#define LINUXCONTROLLERMGMT_H

#include "ControllerMgmt/ControllerMgmt.h"
#include "ControllerMgmt/LinuxControllerExplorer.h"

class LinuxCddp : public ControllerDetectorDataProvider {
public:
    static LinuxCddp* instance();

    // The controller's PCI ids from its controller-information record, read straight through
    // the driver transport (no Controller exists yet); null for a null identifier or when the
    // read fails.
    CddpData* getCddpData(ControllerId* id) override;
    // The bus, device and function that discovery recorded for the identifier's host: 0 (also
    // when the host is not in the table or the identifier is not of the Linux driver; `out`
    // then stays as it was), 255 for a null identifier or a missing explorer.
    uint8_t getPciLocation(ControllerId* id, ControllerPciInfo* out) override;
    ~LinuxCddp() override {}
};

class LinuxControllerMgmt : public ControllerMgmt {
public:
    // The process-wide management; the argument is ignored.
    static LinuxControllerMgmt* instance(int unused = 0);

    // Null when the supported-device list has been released; else the explorer's identifiers.
    ArrayList<ControllerId*>* detect() override;
    // The controller of a LinuxCtrlId, with the driver transport as its data provider; null
    // when its detect data cannot be read or no class claims it.
    Controller* createController(ControllerId* id) override;
    ~LinuxControllerMgmt() override {}

    LinuxControllerMgmt() {}
};

#endif
