// The library controllers' own records: the controller information (the firmware's 2048-byte
// layout, with the fields a flash accelerator card shows) and the card's health record, from the
// "controllerInfo" entries of the library section. A controller without an entry answers zeros:
// it is no card.
#include <cstring>

#include "Ir2StandIn.h"

namespace ir2 {

namespace {

const size_t INFO_SIZE = 2048;
const size_t HEALTH_SIZE = 22;
const uint16_t CARD_DEVICE_ID = 0xb0;

const Json* entryOf(const Json& lib, uint32_t id)
{
    if (!lib.contains("controllerInfo") || !lib["controllerInfo"].is_array())
        return nullptr;
    for (const Json& entry : lib["controllerInfo"]) {
        if (number(entry, "id", -1) == static_cast<int64_t>(id))
            return &entry;
    }
    return nullptr;
}

void putImages(Reply& r, const Json& entry)
{
    if (!entry.contains("images") || !entry["images"].is_array())
        return;
    uint32_t count = 0;
    for (const Json& image : entry["images"]) {
        if (count == 8)
            break;
        const size_t at = 0xb8 + 72 * count;
        r.putText(at, 8, text(image, "name"));
        r.putText(at + 8, 32, text(image, "version"));
        r.putText(at + 40, 32, text(image, "buildTime"));
        ++count;
    }
    r.put(0xb4, count, 4);
}

void putBackendPorts(Reply& r, const Json& entry)
{
    uint32_t count = 0;
    if (entry.contains("backendAddresses") && entry["backendAddresses"].is_array()) {
        for (const Json& address : entry["backendAddresses"]) {
            if (count == 16)
                break;
            uint64_t value = 0;
            if (address.is_number_unsigned() || address.is_number_integer())
                value = address.get<uint64_t>();
            else if (address.is_string())
                value = strtoull(address.get<std::string>().c_str(), nullptr, 0);
            r.put(count < 8 ? 0x70 + 8 * count : 0x6a0 + 8 * (count - 8), value, 8);
            ++count;
        }
    }
    r.put(0x6f, static_cast<uint64_t>(number(entry, "portCount", count)), 1);
}

} // namespace

int controllerInfoCommand(const Json& lib, _AK_LIB_CMD_PARAM_T* block)
{
    Reply r(block);
    const Json* entry = entryOf(lib, block->ctrlId);
    if (entry == nullptr || r.length() < INFO_SIZE)
        return 0;
    const Json& e = *entry;
    r.put(0x00, static_cast<uint64_t>(number(e, "vendorId", 0x1e7a)), 2);
    r.put(0x02, static_cast<uint64_t>(number(e, "deviceId", CARD_DEVICE_ID)), 2);
    r.put(0x04, static_cast<uint64_t>(number(e, "subVendorId", 0x1e7a)), 2);
    r.put(0x20, static_cast<uint64_t>(number(e, "hostInterface", 0x2)), 1);
    r.put(0x28, static_cast<uint64_t>(number(e, "sasAddress", 0)), 8);
    putBackendPorts(r, e);
    putImages(r, e);
    r.putText(0x540, 80, text(e, "productName", "QuillRAID Flash 400"));
    r.putText(0x590, 32, text(e, "serialNumber"));
    r.put(0x5b0, static_cast<uint64_t>(number(e, "devicesPresent", 0)), 1);
    r.put(0x5d9, flag(e, "clusterActive") ? 1 : 0, 1);
    r.put(0x5e3, flag(e, "securityCapable") ? 0x04 : 0, 1);
    r.put(0x610, flag(e, "clusterEnable") ? 1 : 0, 1);
    r.put(0x611, static_cast<uint64_t>(number(e, "coercion", 0)), 1);
    r.put(0x620, static_cast<uint64_t>(number(e, "driveFlags", 0)), 1);
    r.putText(0x640, 96, text(e, "packageVersion"));
    r.put(0x786, static_cast<uint64_t>(number(e, "metadataMB", 512)), 2);
    r.put(0x7a4, static_cast<uint64_t>(number(e, "piFeatures", 0)), 1);
    return 0;
}

int cardHealthCommand(const Json& lib, _AK_LIB_CMD_PARAM_T* block)
{
    Reply r(block);
    const Json* entry = entryOf(lib, block->ctrlId);
    if (entry == nullptr || r.length() < HEALTH_SIZE)
        return 0;
    const Json& e = *entry;
    r.put(0, static_cast<uint64_t>(number(e, "auxiliaryPower", 1)), 2);
    r.put(2, static_cast<uint64_t>(number(e, "lifeCurveStatus", 0)), 2);
    r.put(4, static_cast<uint64_t>(number(e, "lifeLeftPercent", 100)), 4);
    r.put(8, static_cast<uint64_t>(number(e, "controllerStatus", 0)), 4);
    return 0;
}

} // namespace ir2
