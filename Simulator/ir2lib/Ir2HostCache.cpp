// The host-cache driver behind the library stand-in: the configuration page, the device lists,
// the statistics, and the commands that change which devices are configured, from the
// "hostCache" object of the library section. A configuration exists while a cache device is
// configured; without one the configuration read answers "no configuration".
#include <cstring>
#include <vector>

#include "Ir2StandIn.h"

namespace ir2 {

namespace {

const size_t PAGE_SIZE = 426320;
const size_t LIST_SIZE = 213016;
const size_t RECORD_SIZE = 832;
const size_t STATS_SIZE = 368;
const size_t PAGE_CACHE_DEVICES = 270;
const size_t PAGE_VDS = 213286;
const size_t SLOTS = 256;

enum Code : uint8_t {
    CDEV_LIST = 1, VD_LIST = 2, CONFIG_PAGE = 3, CLEAR = 5, ADD_CDEV = 6, REMOVE_CDEV = 7,
    ADD_VD = 8, REMOVE_VD = 9, PERF_STATS = 10, ONLINE_VD = 12
};

const int NO_CONFIGURATION = 0x6002;   // also: no cache device configured
const int VD_NOT_CONFIGURED = 0x6007;
const int ALREADY_CONFIGURED = 0x6008;
const int LIMIT_REACHED = 0x6009;
const int BUSY = 0x600b;
const int NOT_CONFIGURED = 0x600e;
const int VDS_CONFIGURED = 0x600f;
const int NOT_VALID = 0x8019;

Json& devices(Json& cache, const char* kind)
{
    if (!cache.contains(kind) || !cache[kind].is_array())
        cache[kind] = Json::array();
    return cache[kind];
}

size_t configuredCount(const Json& list)
{
    size_t n = 0;
    for (const Json& d : list)
        n += flag(d, "configured") ? 1 : 0;
    return n;
}

uint64_t configuredBlocks(const Json& list)
{
    uint64_t blocks = 0;
    for (const Json& d : list)
        blocks += flag(d, "configured") ? static_cast<uint64_t>(number(d, "blocks", 0)) : 0;
    return blocks;
}

void putRecord(Reply& r, size_t at, const Json& d)
{
    r.putText(at, 256, text(d, "node"));
    r.putText(at + 256, 256, text(d, "mappedPath"));
    r.putText(at + 512, 64, text(d, "secondNode"));
    r.putText(at + 576, 64, text(d, "vendor"));
    r.putText(at + 640, 64, text(d, "model"));
    r.putText(at + 704, 97, text(d, "scsiId"));
    r.put(at + 801, static_cast<uint64_t>(number(d, "state", 0)), 1);
    r.put(at + 803, flag(d, "configured") ? 0 : 1, 1);
    r.put(at + 804, static_cast<uint64_t>(number(d, "contentWarning", 0)), 4);
    r.put(at + 808, static_cast<uint64_t>(number(d, "blocks", 0)), 8);
}

// An area of the configuration page: the count, then the configured devices in list order.
void putArea(Reply& r, size_t area, const Json& list)
{
    size_t slot = 0;
    for (const Json& d : list) {
        if (slot == SLOTS)
            break;
        if (flag(d, "configured"))
            putRecord(r, area + 4 + RECORD_SIZE * slot++, d);
    }
    r.put(area, slot, 4);
}

int configPage(Json& cache, Reply& r)
{
    if (configuredCount(devices(cache, "cacheDevices")) == 0)
        return NO_CONFIGURATION;
    if (r.length() < PAGE_SIZE)
        return 0;
    r.put(13, static_cast<uint64_t>(number(cache, "version", 0x11)), 1);
    r.putText(14, 256, text(cache, "groupName", "cachegroup0"));
    putArea(r, PAGE_CACHE_DEVICES, devices(cache, "cacheDevices"));
    putArea(r, PAGE_VDS, devices(cache, "vds"));
    return 0;
}

int deviceList(Json& cache, const char* kind, Reply& r)
{
    if (r.length() < LIST_SIZE)
        return 0;
    size_t n = 0;
    for (const Json& d : devices(cache, kind)) {
        if (n == SLOTS)
            break;
        putRecord(r, 4 + RECORD_SIZE * n++, d);
    }
    // A list may report a count other than the devices it holds.
    const char* countKey = strcmp(kind, "cacheDevices") == 0 ? "cacheDeviceListCount" : "vdListCount";
    r.put(0, static_cast<uint64_t>(number(cache, countKey, static_cast<int64_t>(n))), 4);
    return 0;
}

int perfStats(Json& cache, Reply& r)
{
    if (r.length() < STATS_SIZE)
        return 0;
    const Json& cdevs = devices(cache, "cacheDevices");
    r.putText(0, 256, text(cache, "groupName", "cachegroup0"));
    r.put(256, configuredCount(devices(cache, "vds")), 4);
    r.put(260, configuredCount(cdevs), 4);
    r.put(264, static_cast<uint64_t>(number(cache, "queueDepth", 64)), 4);
    r.put(268, configuredBlocks(cdevs), 8);
    const char* const counters[] = {"usedBlocks", "cacheLineBlocks", "cacheWindowBlocks", "reads",
                                    "writes", "hits", "misses"};
    const int64_t defaults[] = {0, 128, 2048, 0, 0, 0, 0};
    for (size_t i = 0; i < 7; ++i)
        r.put(276 + 8 * i, static_cast<uint64_t>(number(cache, counters[i], defaults[i])), 8);
    return 0;
}

// The listed device whose SCSI ID the sent record carries; null when none.
Json* deviceOf(Json& list, const Reply& r)
{
    if (r.length() < RECORD_SIZE)
        return nullptr;
    char scsiId[98] = {};
    memcpy(scsiId, r.data() + 704, 97);
    for (Json& d : list) {
        if (text(d, "scsiId") == scsiId)
            return &d;
    }
    return nullptr;
}

int changeCacheDevice(Json& cache, uint8_t code, const Reply& r, bool& changed)
{
    Json& cdevs = devices(cache, "cacheDevices");
    Json* d = deviceOf(cdevs, r);
    if (d == nullptr)
        return NOT_VALID;
    const bool configured = flag(*d, "configured");
    if (code == ADD_CDEV) {
        if (configured)
            return ALREADY_CONFIGURED;
        if (configuredCount(cdevs) >= static_cast<size_t>(number(cache, "maxCacheDevices", 32)))
            return LIMIT_REACHED;
    } else {
        if (!configured)
            return NOT_CONFIGURED;
        if (configuredCount(cdevs) == 1 && configuredCount(devices(cache, "vds")) > 0)
            return VDS_CONFIGURED;
    }
    (*d)["configured"] = code == ADD_CDEV;
    changed = true;
    return 0;
}

int changeVd(Json& cache, uint8_t code, const Reply& r, bool& changed)
{
    Json& vds = devices(cache, "vds");
    Json* d = deviceOf(vds, r);
    if (code == ADD_VD && configuredCount(devices(cache, "cacheDevices")) == 0)
        return NO_CONFIGURATION;
    if (d == nullptr)
        return NOT_VALID;
    if (flag(*d, "busy"))
        return BUSY;
    const bool configured = flag(*d, "configured");
    if (code == ADD_VD) {
        if (configured)
            return ALREADY_CONFIGURED;
        if (configuredCount(vds) >= static_cast<size_t>(number(cache, "maxVds", 32)))
            return LIMIT_REACHED;
        (*d)["configured"] = true;
    } else if (code == REMOVE_VD) {
        if (!configured)
            return VD_NOT_CONFIGURED;
        (*d)["configured"] = false;
    } else {
        if (!configured)
            return NOT_CONFIGURED;
        (*d)["state"] = 0;
    }
    changed = true;
    return 0;
}

void clearAll(Json& cache, bool& changed)
{
    for (const char* kind : {"cacheDevices", "vds"}) {
        for (Json& d : devices(cache, kind))
            d["configured"] = false;
    }
    changed = true;
}

} // namespace

int hostCacheCommand(Json& lib, _AK_LIB_CMD_PARAM_T* block, bool& changed)
{
    if (!lib.contains("hostCache") || !lib["hostCache"].is_object())
        lib["hostCache"] = Json::object();
    Json& cache = lib["hostCache"];
    Reply r(block);
    switch (block->cmdCode) {
    case CONFIG_PAGE:
        return configPage(cache, r);
    case CLEAR:
        clearAll(cache, changed);
        return 0;
    case CDEV_LIST:
        return deviceList(cache, "cacheDevices", r);
    case VD_LIST:
        return deviceList(cache, "vds", r);
    case ADD_CDEV:
    case REMOVE_CDEV:
        return changeCacheDevice(cache, block->cmdCode, r, changed);
    case ADD_VD:
    case REMOVE_VD:
    case ONLINE_VD:
        return changeVd(cache, block->cmdCode, r, changed);
    case PERF_STATS:
        return perfStats(cache, r);
    default:
        return 0;
    }
}

} // namespace ir2
