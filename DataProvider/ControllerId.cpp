#include "DataProvider/ControllerId.h"

ControllerId::~ControllerId() {}

// The descriptor belongs to discovery, which opened the node; the identifier only carries it.
LinuxCtrlId::LinuxCtrlId(uint32_t kind, int32_t fd, uint32_t hostNumber)
    : ControllerId(CONTROLLER_NUMBER_UNASSIGNED), hostNo(hostNumber), fileDescriptor(fd), driverKind(kind)
{
}

LinuxCtrlId::~LinuxCtrlId() {}

AkIr2CtrlId::AkIr2CtrlId(uint32_t libraryId, uint8_t number)
    : ControllerId(number), libraryControllerId(libraryId)
{
}

AkIr2CtrlId::~AkIr2CtrlId() {}
