#include "ControllerMgmt/Controller.h"

#include <cstring>

#include "ControllerMgmt/ControllerDetect.h"
#include "ControllerMgmt/LinuxControllerMgmt.h"
#include "DataProvider/DataProvider.h"
#include "DataProvider/DpParams.h"
#include "PavUtil/Memory.h"

namespace {

// The root of the detect chain, made on the first addition.
ControllerDetectMethodList* rootDetectList = nullptr;

} // namespace

ControllerTypeList::ControllerTypeList(uint16_t capacity)
    : capacity(capacity), used(0), codes(new (noThrowNew) uint16_t[capacity]())
{
    if (codes == nullptr) {
        this->capacity = 0;
    }
}

ControllerTypeList::~ControllerTypeList() { delete[] codes; }

void ControllerTypeList::push(uint16_t code)
{
    if (used >= capacity) {
        return;
    }
    codes[used] = code;
    ++used;
}

uint16_t ControllerTypeList::get(uint16_t index) const
{
    if (index >= used) {
        return CONTROLLER_TYPE_NONE;
    }
    return codes[index];
}

Controller::Controller(ControllerId* id)
    : types(TYPE_LIST_CAPACITY), ctrlId(id), providers(new (noThrowNew) ArrayList<DataProvider*>(4))
{
    memset(&pciInfo, 0, sizeof pciInfo);
    types.push(CONTROLLER_TYPE_CONTROLLER);
}

Controller::~Controller() { delete providers; }

void Controller::release(Controller* controller)
{
    if (controller != nullptr) {
        controller->release();
    }
}

int Controller::execute(DpParams* request)
{
    if (request == nullptr) {
        return -1;
    }
    uint8_t kind = request->type();
    request->setControllerId(ctrlId);
    if (providers == nullptr) {
        return -1;
    }
    for (unsigned char i = 0; i < providers->count(); ++i) {
        DataProvider* provider = providers->get(i);
        if (provider->supports(kind)) {
            return provider->execute(request);
        }
    }
    return -1;
}

void Controller::addDataProvider(DataProvider* provider)
{
    if (provider == nullptr || providers == nullptr) {
        return;
    }
    providers->add(provider);
}

uint8_t Controller::getPciInfo(ControllerPciInfo* out)
{
    // The location is always the one the Linux discovery recorded, whatever the controller's kind.
    LinuxCddp* cddp = LinuxCddp::instance();
    if (cddp == nullptr || out == nullptr) {
        return 255;
    }
    uint8_t status = cddp->getPciLocation(ctrlId, &pciInfo);
    if (status != 0) {
        return status;
    }
    memcpy(out, &pciInfo, sizeof pciInfo);
    return 0;
}

void Controller::addDetectMethod(const ControllerDetectMethod& method)
{
    ControllerDetectMethodList::addToClassList(rootDetectList, method);
}

uint16_t Controller::detectType(CddpData* data)
{
    if (rootDetectList == nullptr) {
        return CONTROLLER_TYPE_NONE;
    }
    return rootDetectList->detect(data);
}

uint8_t getAdapterNumberOffset() { return 0; }
