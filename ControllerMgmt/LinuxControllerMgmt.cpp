#include "ControllerMgmt/LinuxControllerMgmt.h"

#include <cstring>

#include "DataProvider/ControllerId.h"
#include "DataProvider/DcmdOpcodes.h"
#include "DataProvider/DpParams.h"
#include "DataProvider/LinuxZprDataProvider.h"
#include "PavUtil/Memory.h"
#include "RaidManager/Zpr/Records/Controller/ZprControllerInfo.h"

LinuxCddp* LinuxCddp::instance()
{
    static LinuxCddp cddp;
    return &cddp;
}

CddpData* LinuxCddp::getCddpData(ControllerId* id)
{
    if (id == nullptr) {
        return nullptr;
    }
    LinuxZprDataProvider* provider = LinuxZprDataProvider::instance();
    if (provider == nullptr) {
        return nullptr;
    }
    uint8_t* info = new (noThrowNew) uint8_t[ZprControllerInfo::SIZE]();
    if (info == nullptr) {
        return nullptr;
    }
    DcmdZprDpParams* request = new (noThrowNew)
        DcmdZprDpParams(DCMD_ADP_GET_INFO, 0u, 0u, 0u, info, ZprControllerInfo::SIZE, 0, 0);
    if (request == nullptr) {
        delete[] info;
        return nullptr;
    }
    request->setControllerId(id);
    int status = provider->execute(request);
    delete request;
    CddpData* data = nullptr;
    if (status == 0) {
        ZprControllerInfo record(info, ZprControllerInfo::SIZE);
        data = new (noThrowNew) CddpData(record.pciDeviceId(), record.pciSubdeviceId(), record.pciVendorId(),
                                         record.pciSubvendorId());
    }
    delete[] info;
    return data;
}

uint8_t LinuxCddp::getPciLocation(ControllerId* id, ControllerPciInfo* out)
{
    if (id == nullptr || out == nullptr) {
        return 255;
    }
    LinuxControllerExplorer* explorer = LinuxControllerExplorer::instance();
    if (explorer == nullptr) {
        return 255;
    }
    HostRecord table[MAX_HOSTS];
    int status = explorer->getHostTable(table);
    if (status != 0) {
        return static_cast<uint8_t>(status);
    }
    // Only identifiers of the Linux driver carry a host number; any other kind finds no record.
    LinuxCtrlId* linuxId = dynamic_cast<LinuxCtrlId*>(id);
    if (linuxId == nullptr) {
        return 0;
    }
    for (unsigned i = 0; i < MAX_HOSTS; ++i) {
        const HostRecord& record = table[i];
        if (record.pciBus == 0 && record.pciDevice == 0 && record.pciFunction == 0) {
            break;
        }
        if (record.hostNumber == linuxId->getHostNumber()) {
            out->busNumber = record.pciBus;
            out->deviceNumber = record.pciDevice;
            out->functionNumber = record.pciFunction;
        }
    }
    return 0;
}

LinuxControllerMgmt* LinuxControllerMgmt::instance(int)
{
    static LinuxControllerMgmt management;
    return &management;
}

ArrayList<ControllerId*>* LinuxControllerMgmt::detect()
{
    ArrayList<VoVendorDeviceId*>* supported = vendorDeviceIds();
    if (supported == nullptr) {
        return nullptr;
    }
    LinuxControllerExplorer* explorer = LinuxControllerExplorer::instance();
    if (explorer == nullptr) {
        return nullptr;
    }
    return explorer->explore(supported);
}

Controller* LinuxControllerMgmt::createController(ControllerId* id)
{
    LinuxCddp* cddp = LinuxCddp::instance();
    if (cddp == nullptr) {
        return nullptr;
    }
    CddpData* data = cddp->getCddpData(id);
    if (data == nullptr) {
        return nullptr;
    }
    uint16_t type = Controller::detectType(data);
    delete data;
    if (type == CONTROLLER_TYPE_NONE) {
        return nullptr;
    }
    Controller* controller = ControllerFactory::instance()->create(type, id);
    if (controller == nullptr) {
        return nullptr;
    }
    controller->addDataProvider(LinuxZprDataProvider::instance());
    return controller;
}
