#include "ControllerMgmt/ControllerClasses.h"

#include "PavUtil/Memory.h"

namespace {

// Detect-method lists of the classes that accept sub-classes, made on their first addition.
ControllerDetectMethodList* orvaneDetectList = nullptr;
ControllerDetectMethodList* orvaneSasHwrDetectList = nullptr;
ControllerDetectMethodList* akIr2DetectList = nullptr;

uint16_t detectWith(const ControllerDetectMethodList* list, CddpData* data, uint16_t ownCode)
{
    if (list != nullptr && list->count() > 0) {
        return list->detect(data);
    }
    return ownCode;
}

// PCI vendor id of the controller family and the device ids of its SAS RAID controllers.
const uint32_t QUILL_PCI_VENDOR = 0x1E7A;
const uint32_t SUPPORTED_DEVICE_IDS[] = {
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046,
    0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D,
};
const unsigned SUPPORTED_ID_COUNT = sizeof SUPPORTED_DEVICE_IDS / sizeof SUPPORTED_DEVICE_IDS[0];
static_assert(SUPPORTED_ID_COUNT == 14, "the family has 14 supported vendor/device pairs");

} // namespace

uint16_t OrvaneController::detect(CddpData* data)
{
    return detectWith(orvaneDetectList, data, TYPE_CODE);
}

void OrvaneController::addDetectMethod(const ControllerDetectMethod& method)
{
    ControllerDetectMethodList::addToClassList(orvaneDetectList, method);
}

OrvaneSasHwrController::OrvaneSasHwrController(ControllerId* id) : Controller(id)
{
    pushType(TYPE_CODE);
}

uint16_t OrvaneSasHwrController::matchType(ControllerTypeList* wanted)
{
    if (wanted == nullptr) {
        return CONTROLLER_TYPE_NONE;
    }
    ControllerTypeList* own = typeList();
    for (int i = static_cast<int>(own->count()) - 1; i >= 0; --i) {
        uint16_t code = own->get(static_cast<uint16_t>(i));
        for (uint16_t j = 0; j < wanted->count(); ++j) {
            if (wanted->get(j) == code) {
                return code;
            }
        }
    }
    return CONTROLLER_TYPE_NONE;
}

const string& OrvaneSasHwrController::name() const
{
    static const string displayName("Orvane Sas Controller");
    return displayName;
}

uint16_t OrvaneSasHwrController::detect(CddpData* data)
{
    return detectWith(orvaneSasHwrDetectList, data, TYPE_CODE);
}

void OrvaneSasHwrController::addDetectMethod(const ControllerDetectMethod& method)
{
    ControllerDetectMethodList::addToClassList(orvaneSasHwrDetectList, method);
}

Controller* OrvaneSasHwrController::create(ControllerId* id)
{
    return new (noThrowNew) OrvaneSasHwrController(id);
}

ArrayList<VoVendorDeviceId*>* OrvaneSasHwrController::supportedIds()
{
    ArrayList<VoVendorDeviceId*>* ids = new (noThrowNew) ArrayList<VoVendorDeviceId*>(SUPPORTED_ID_COUNT);
    if (ids == nullptr) {
        return nullptr;
    }
    for (unsigned i = 0; i < SUPPORTED_ID_COUNT; ++i) {
        VoVendorDeviceId* pair = new (noThrowNew) VoVendorDeviceId(QUILL_PCI_VENDOR, SUPPORTED_DEVICE_IDS[i]);
        if (pair != nullptr && ids->add(pair) != 0) {
            delete pair;
        }
    }
    return ids;
}

AkIr2Controller::AkIr2Controller(ControllerId* id) : Controller(id)
{
    pushType(TYPE_CODE);
}

const string& AkIr2Controller::name() const
{
    static const string displayName("Arraykit Ir2 Controller");
    return displayName;
}

uint16_t AkIr2Controller::detect(CddpData* data)
{
    return detectWith(akIr2DetectList, data, TYPE_CODE);
}

void AkIr2Controller::addDetectMethod(const ControllerDetectMethod& method)
{
    ControllerDetectMethodList::addToClassList(akIr2DetectList, method);
}

Controller* AkIr2Controller::create(ControllerId* id)
{
    return new (noThrowNew) AkIr2Controller(id);
}
