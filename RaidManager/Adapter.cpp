#include "RaidManager/Adapter.h"

#include "PavUtil/Memory.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/VirtualDisk.h"
#include "RaidManager/Zpr/Records/Controller/ZprBiosData.h"

Adapter::Adapter(AdapterData* data, Controller* controller) : RaidElement(data, controller), adapterData(data) {}

Adapter::~Adapter() {}

string Adapter::toString()
{
    return adapterData != nullptr ? adapterData->toString() : string();
}

RaidElement* Adapter::create(RaidElementData* data, Controller* controller)
{
    AdapterData* adapterData = dynamic_cast<AdapterData*>(data);
    if (adapterData == nullptr)
        return nullptr;
    return new (noThrowNew) Adapter(adapterData, controller);
}

int Adapter::getBootVirtualDrive(VirtualDisk** vd)
{
    VdIdZpr* bootId = nullptr;
    int status = adapterData->getBootVirtualDrive(&bootId);
    if (status != 0 || bootId == nullptr)
        return status;
    RaidManager* manager = getRaidManager(getController());
    ArrayList<VirtualDisk*>* vds = nullptr;
    status = manager != nullptr && manager->getVds(&vds) == 0 && vds != nullptr ? 0 : -1;
    for (unsigned char i = 0; status == 0 && vds != nullptr && i < vds->count(); ++i) {
        VirtualDisk* candidate = vds->get(i);
        VdId* id = candidate != nullptr ? dynamic_cast<VdId*>(candidate->getId()) : nullptr;
        if (id == nullptr) {
            status = -1;
        } else if (id->equals(bootId)) {
            if (vd != nullptr)
                *vd = candidate;
            break;
        }
    }
    // The id was made for the search only.
    delete bootId;
    return status;
}

int Adapter::getBootPhysicalDrive(PhysicalDevice** pd)
{
    uint16_t bootId = ZprBiosData::BOOT_DEVICE_READ_NONE;
    int status = adapterData->getBootPhysicalDrive(&bootId);
    if (status != 0 || bootId == ZprBiosData::BOOT_DEVICE_READ_NONE)
        return status;
    RaidManager* manager = getRaidManager(getController());
    if (manager == nullptr)
        return -1;
    // The manager keeps the list (and its drives): the drive found stays valid after the walk.
    ArrayList<PhysicalDevice*>* pds = nullptr;
    if (manager->getAllPds(&pds) != 0 || pds == nullptr)
        return -1;
    for (unsigned char i = 0; i < pds->count(); ++i) {
        uint16_t deviceId = 0;
        PhysicalDevice* candidate = pds->get(i);
        if (candidate != nullptr && candidate->getDeviceId(&deviceId) == 0 && deviceId == bootId) {
            if (pd != nullptr)
                *pd = candidate;
            break;
        }
    }
    return 0;
}
