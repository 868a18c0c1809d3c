// What a virtual drive asks of its member drives: the sector layout, from the first member
// that answers.
#include "PavUtil/IgnoreStatus.h"
#include "RaidManager/PhysicalDevice.h"
#include "RaidManager/RaidElementId.h"
#include "RaidManager/RaidManager.h"
#include "RaidManager/RmData.h"
#include "RaidManager/Zpr/VdDataZpr.h"

namespace {

// A drive list holds at most this many member drives of one virtual drive.
const unsigned char MEMBER_LIST_CAPACITY = 32;

}  // namespace

template <class Answer>
int VdDataZpr::askMembers(uint16_t* value, Answer answer)
{
    if (value == nullptr)
        return -1;
    *value = 0;
    RaidManager* manager = controller != nullptr ? getRaidManager(controller) : nullptr;
    RmData* rmData = manager != nullptr ? manager->getRmData() : nullptr;
    if (rmData == nullptr || vdId == nullptr)
        return 0;
    // The list container is ours; the drives stay the model's.
    ArrayList<PhysicalDevice*> members(MEMBER_LIST_CAPACITY);
    ignoreStatus(rmData->getVdPds(&members, static_cast<uint8_t>(vdId->getTargetId16() & 0xFF)),
                 "without the list no member answers: the value stays 0");
    for (unsigned char i = 0; i < members.count(); ++i) {
        PhysicalDevice* pd = members.get(i);
        if (pd != nullptr && answer(pd, value))
            break;
    }
    return 0;
}

int VdDataZpr::getMemberSectorSize(uint16_t* bytes)
{
    return askMembers(bytes, [](PhysicalDevice* pd, uint16_t* out) {
        uint8_t unavailable = 1;
        ignoreStatus(pd->isInfoUnavailable(&unavailable),
                     "always 0; the answer says whether the information was read");
        if (unavailable == 1)
            return false;
        ignoreStatus(pd->getLogicalSectorSize(out), "the information was read just above: always 0");
        return true;
    });
}

int VdDataZpr::getMemberPhysicalSectorExponent(uint16_t* exponent)
{
    return askMembers(exponent, [](PhysicalDevice* pd, uint16_t* out) {
        uint16_t value = 0;
        ignoreStatus(pd->getPhysicalSectorSizeExponent(&value),
                     "an unread exponent keeps 0: the next member is asked");
        *out = value;
        return value != 0;
    });
}
